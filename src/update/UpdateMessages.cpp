#include "UpdateMessages.h"

#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "text/TextLines.h"

#include <array>

namespace {

using Block = std::array<const char16_t*, UpdateMessages::MessageCount>;

// One block per catalogue language, in the order of TAppUpdaterLanguage. Every block keeps the placeholders of the
// English one in the same order, because the callers fill them by position.
const std::array<Block, UpdateMessages::LanguageCount> Blocks = { {
    // wlEnglish
    { u"Application update wizard",
      u"Downloading files...",
      u"Upgrade completed!",
      u"Current file",
      u"All files",
      u"Downloading file from",
      u"File size: %.1f Kb",
      u"Transfer rate: %.1f Kb/s",
      u"Estimated time left: %d:%.2d:%.2d",
      u"Downloading %d of %d",
      u"The update of %s has been successfully completed.\r\rPress the OK button to restart program.",
      u"Enter password",
      u"User Name",
      u"Password",
      u"&Yes",
      u"&No",
      u"&OK",
      u"&Cancel",
      u"&Next >",
      u"&Later",
      u"Warning",
      u"Error",
      u"Preparing. . .",
      u"A newer version of %s was released.\n%s\nDo you want to update your version with the latest one?",
      u"Newer version not found. You actually are\rusing most recent version of this program.",
      u"File which contains upgrade information was not found on developer's site.",
      u"Host %s unreachable.\r\rPlease check your Internet connection and\rtry to upgrade this software again later.",
      u"The update is not completed.\rWould you like to abort upgrading?",
      u"File %s not found or inaccessible.\r\rTry to skip this file and continue upgrade?",
      u"Access to the remote file \"%s\" is password protected.\r\rPlease enter your user name and password to "
      u"continue the upgrade.",
      u"Connection with remote server lost.\r\rPlease restore connection and try to\rupgrade this software again "
      u"later." },
    // wlRussian
    { u"Мастер обновления программы",
      u"Загрузка файлов...",
      u"Обновление завершено!",
      u"Текущий файл",
      u"Все файлы",
      u"Загрузка файла с",
      u"Размер файла: %.1f Кб",
      u"Скорость передачи: %.1f Кб/с",
      u"Осталось времени: %d:%.2d:%.2d",
      u"Загрузка %d из %d",
      u"Обновление %s успешно завершено.\r\rНажмите кнопку OK, чтобы перезапустить программу.",
      u"Введите пароль",
      u"Имя пользователя",
      u"Пароль",
      u"&Да",
      u"&Нет",
      u"&OK",
      u"&Отмена",
      u"&Далее >",
      u"&Позже",
      u"Предупреждение",
      u"Ошибка",
      u"Подготовка. . .",
      u"Вышла новая версия %s.\n%s\nХотите обновить вашу версию до последней?",
      u"Новая версия не найдена. Вы уже\rиспользуете самую последнюю версию этой программы.",
      u"Файл с информацией об обновлении не найден на сайте разработчика.",
      u"Сервер %s недоступен.\r\rПроверьте подключение к Интернету и\rпопробуйте обновить программу позже.",
      u"Обновление не завершено.\rПрервать обновление?",
      u"Файл %s не найден или недоступен.\r\rПропустить этот файл и продолжить обновление?",
      u"Доступ к удалённому файлу \"%s\" защищён паролем.\r\rВведите имя пользователя и пароль, чтобы продолжить "
      u"обновление.",
      u"Соединение с удалённым сервером потеряно.\r\rВосстановите соединение и попробуйте\rобновить программу "
      u"позже." },
    // wlGerman
    { u"Assistent für Programmaktualisierung",
      u"Dateien werden heruntergeladen...",
      u"Aktualisierung abgeschlossen!",
      u"Aktuelle Datei",
      u"Alle Dateien",
      u"Datei wird heruntergeladen von",
      u"Dateigröße: %.1f KB",
      u"Übertragungsrate: %.1f KB/s",
      u"Geschätzte Restzeit: %d:%.2d:%.2d",
      u"Datei %d von %d wird heruntergeladen",
      u"Die Aktualisierung von %s wurde erfolgreich abgeschlossen.\r\rKlicken Sie auf OK, um das Programm neu zu "
      u"starten.",
      u"Kennwort eingeben",
      u"Benutzername",
      u"Kennwort",
      u"&Ja",
      u"&Nein",
      u"&OK",
      u"&Abbrechen",
      u"&Weiter >",
      u"&Später",
      u"Warnung",
      u"Fehler",
      u"Vorbereitung. . .",
      u"Eine neuere Version von %s ist erschienen.\n%s\nMöchten Sie Ihre Version auf die neueste aktualisieren?",
      u"Keine neuere Version gefunden. Sie verwenden bereits\rdie neueste Version dieses Programms.",
      u"Die Datei mit den Aktualisierungsinformationen wurde auf der Website des Herstellers nicht gefunden.",
      u"Server %s nicht erreichbar.\r\rBitte prüfen Sie Ihre Internetverbindung und\rversuchen Sie die "
      u"Aktualisierung später erneut.",
      u"Die Aktualisierung ist nicht abgeschlossen.\rMöchten Sie die Aktualisierung abbrechen?",
      u"Datei %s nicht gefunden oder nicht zugänglich.\r\rDiese Datei überspringen und die Aktualisierung "
      u"fortsetzen?",
      u"Der Zugriff auf die entfernte Datei \"%s\" ist kennwortgeschützt.\r\rBitte geben Sie Benutzername und "
      u"Kennwort ein, um die Aktualisierung fortzusetzen.",
      u"Die Verbindung zum entfernten Server wurde unterbrochen.\r\rBitte stellen Sie die Verbindung wieder her "
      u"und\rversuchen Sie die Aktualisierung später erneut." },
    // wlFrench
    { u"Assistant de mise à jour de l'application",
      u"Téléchargement des fichiers...",
      u"Mise à jour terminée !",
      u"Fichier en cours",
      u"Tous les fichiers",
      u"Téléchargement du fichier depuis",
      u"Taille du fichier : %.1f Ko",
      u"Débit : %.1f Ko/s",
      u"Temps restant estimé : %d:%.2d:%.2d",
      u"Téléchargement %d sur %d",
      u"La mise à jour de %s s'est terminée avec succès.\r\rCliquez sur OK pour redémarrer le programme.",
      u"Saisir le mot de passe",
      u"Nom d'utilisateur",
      u"Mot de passe",
      u"&Oui",
      u"&Non",
      u"&OK",
      u"&Annuler",
      u"&Suivant >",
      u"&Plus tard",
      u"Avertissement",
      u"Erreur",
      u"Préparation. . .",
      u"Une nouvelle version de %s est disponible.\n%s\nVoulez-vous mettre à jour votre version avec la plus "
      u"récente ?",
      u"Aucune version plus récente trouvée. Vous utilisez déjà\rla version la plus récente de ce programme.",
      u"Le fichier contenant les informations de mise à jour est introuvable sur le site du développeur.",
      u"Hôte %s inaccessible.\r\rVeuillez vérifier votre connexion Internet et\rréessayer la mise à jour de ce "
      u"logiciel plus tard.",
      u"La mise à jour n'est pas terminée.\rVoulez-vous abandonner la mise à jour ?",
      u"Fichier %s introuvable ou inaccessible.\r\rIgnorer ce fichier et poursuivre la mise à jour ?",
      u"L'accès au fichier distant \"%s\" est protégé par un mot de passe.\r\rVeuillez saisir votre nom "
      u"d'utilisateur et votre mot de passe pour poursuivre la mise à jour.",
      u"La connexion avec le serveur distant a été perdue.\r\rVeuillez rétablir la connexion et réessayer\rla mise "
      u"à jour de ce logiciel plus tard." },
    // wlSpanish
    { u"Asistente de actualización de la aplicación",
      u"Descargando archivos...",
      u"¡Actualización completada!",
      u"Archivo actual",
      u"Todos los archivos",
      u"Descargando archivo desde",
      u"Tamaño del archivo: %.1f Kb",
      u"Velocidad de transferencia: %.1f Kb/s",
      u"Tiempo restante estimado: %d:%.2d:%.2d",
      u"Descargando %d de %d",
      u"La actualización de %s se ha completado correctamente.\r\rPulse el botón Aceptar para reiniciar el "
      u"programa.",
      u"Introduzca la contraseña",
      u"Nombre de usuario",
      u"Contraseña",
      u"&Sí",
      u"&No",
      u"&Aceptar",
      u"&Cancelar",
      u"&Siguiente >",
      u"&Más tarde",
      u"Advertencia",
      u"Error",
      u"Preparando. . .",
      u"Se ha publicado una versión más reciente de %s.\n%s\n¿Desea actualizar su versión a la más reciente?",
      u"No se encontró ninguna versión más reciente. Ya está\rusando la versión más reciente de este programa.",
      u"No se encontró en el sitio del desarrollador el archivo con la información de actualización.",
      u"No se puede acceder al servidor %s.\r\rCompruebe su conexión a Internet e\rintente actualizar este "
      u"programa más tarde.",
      u"La actualización no ha finalizado.\r¿Desea cancelar la actualización?",
      u"El archivo %s no se encontró o no es accesible.\r\r¿Desea omitir este archivo y continuar la "
      u"actualización?",
      u"El acceso al archivo remoto \"%s\" está protegido con contraseña.\r\rIntroduzca su nombre de usuario y "
      u"contraseña para continuar la actualización.",
      u"Se perdió la conexión con el servidor remoto.\r\rRestablezca la conexión e intente\ractualizar este "
      u"programa más tarde." },
    // wlPortuguese
    { u"Assistente de atualização da aplicação",
      u"A transferir ficheiros...",
      u"Atualização concluída!",
      u"Ficheiro atual",
      u"Todos os ficheiros",
      u"A transferir ficheiro de",
      u"Tamanho do ficheiro: %.1f Kb",
      u"Taxa de transferência: %.1f Kb/s",
      u"Tempo restante estimado: %d:%.2d:%.2d",
      u"A transferir %d de %d",
      u"A atualização de %s foi concluída com êxito.\r\rPrima o botão OK para reiniciar o programa.",
      u"Introduza a palavra-passe",
      u"Nome de utilizador",
      u"Palavra-passe",
      u"&Sim",
      u"&Não",
      u"&OK",
      u"&Cancelar",
      u"&Seguinte >",
      u"&Mais tarde",
      u"Aviso",
      u"Erro",
      u"A preparar. . .",
      u"Foi lançada uma nova versão de %s.\n%s\nDeseja atualizar a sua versão para a mais recente?",
      u"Não foi encontrada uma versão mais recente. Já está a\rutilizar a versão mais recente deste programa.",
      u"O ficheiro com as informações de atualização não foi encontrado no site do programador.",
      u"Servidor %s inacessível.\r\rVerifique a sua ligação à Internet e\rtente atualizar este programa mais "
      u"tarde.",
      u"A atualização não está concluída.\rDeseja cancelar a atualização?",
      u"Ficheiro %s não encontrado ou inacessível.\r\rIgnorar este ficheiro e continuar a atualização?",
      u"O acesso ao ficheiro remoto \"%s\" está protegido por palavra-passe.\r\rIntroduza o nome de utilizador e a "
      u"palavra-passe para continuar a atualização.",
      u"A ligação ao servidor remoto foi perdida.\r\rRestabeleça a ligação e tente\ratualizar este programa mais "
      u"tarde." },
    // wlPortugueseBrazilian
    { u"Assistente de atualização do aplicativo",
      u"Baixando arquivos...",
      u"Atualização concluída!",
      u"Arquivo atual",
      u"Todos os arquivos",
      u"Baixando arquivo de",
      u"Tamanho do arquivo: %.1f Kb",
      u"Taxa de transferência: %.1f Kb/s",
      u"Tempo restante estimado: %d:%.2d:%.2d",
      u"Baixando %d de %d",
      u"A atualização de %s foi concluída com sucesso.\r\rClique no botão OK para reiniciar o programa.",
      u"Digite a senha",
      u"Nome de usuário",
      u"Senha",
      u"&Sim",
      u"&Não",
      u"&OK",
      u"&Cancelar",
      u"&Próximo >",
      u"&Mais tarde",
      u"Aviso",
      u"Erro",
      u"Preparando. . .",
      u"Uma nova versão de %s foi lançada.\n%s\nDeseja atualizar sua versão para a mais recente?",
      u"Nenhuma versão mais recente foi encontrada. Você já está\rusando a versão mais recente deste programa.",
      u"O arquivo com as informações de atualização não foi encontrado no site do desenvolvedor.",
      u"Servidor %s inacessível.\r\rVerifique sua conexão com a Internet e\rtente atualizar este programa mais "
      u"tarde.",
      u"A atualização não foi concluída.\rDeseja cancelar a atualização?",
      u"Arquivo %s não encontrado ou inacessível.\r\rIgnorar este arquivo e continuar a atualização?",
      u"O acesso ao arquivo remoto \"%s\" é protegido por senha.\r\rDigite o nome de usuário e a senha para "
      u"continuar a atualização.",
      u"A conexão com o servidor remoto foi perdida.\r\rRestabeleça a conexão e tente\ratualizar este programa "
      u"mais tarde." },
    // wlItalian
    { u"Procedura guidata di aggiornamento",
      u"Download dei file in corso...",
      u"Aggiornamento completato!",
      u"File corrente",
      u"Tutti i file",
      u"Download del file da",
      u"Dimensione del file: %.1f Kb",
      u"Velocità di trasferimento: %.1f Kb/s",
      u"Tempo residuo stimato: %d:%.2d:%.2d",
      u"Download %d di %d",
      u"L'aggiornamento di %s è stato completato correttamente.\r\rPremere il pulsante OK per riavviare il "
      u"programma.",
      u"Inserire la password",
      u"Nome utente",
      u"Password",
      u"&Sì",
      u"&No",
      u"&OK",
      u"&Annulla",
      u"&Avanti >",
      u"&Più tardi",
      u"Attenzione",
      u"Errore",
      u"Preparazione. . .",
      u"È stata rilasciata una nuova versione di %s.\n%s\nAggiornare la versione in uso alla più recente?",
      u"Nessuna versione più recente trovata. State già\rusando la versione più recente di questo programma.",
      u"Il file con le informazioni di aggiornamento non è stato trovato sul sito dello sviluppatore.",
      u"Host %s non raggiungibile.\r\rControllare la connessione a Internet e\rriprovare ad aggiornare il "
      u"programma più tardi.",
      u"L'aggiornamento non è completato.\rInterrompere l'aggiornamento?",
      u"File %s non trovato o non accessibile.\r\rSaltare questo file e continuare l'aggiornamento?",
      u"L'accesso al file remoto \"%s\" è protetto da password.\r\rInserire nome utente e password per continuare "
      u"l'aggiornamento.",
      u"Connessione con il server remoto interrotta.\r\rRipristinare la connessione e riprovare\rad aggiornare il "
      u"programma più tardi." },
    // wlDutch
    { u"Wizard voor programma-update",
      u"Bestanden downloaden...",
      u"Update voltooid!",
      u"Huidig bestand",
      u"Alle bestanden",
      u"Bestand downloaden van",
      u"Bestandsgrootte: %.1f Kb",
      u"Overdrachtssnelheid: %.1f Kb/s",
      u"Geschatte resterende tijd: %d:%.2d:%.2d",
      u"Downloaden %d van %d",
      u"De update van %s is met succes voltooid.\r\rKlik op OK om het programma opnieuw te starten.",
      u"Wachtwoord invoeren",
      u"Gebruikersnaam",
      u"Wachtwoord",
      u"&Ja",
      u"&Nee",
      u"&OK",
      u"&Annuleren",
      u"&Volgende >",
      u"&Later",
      u"Waarschuwing",
      u"Fout",
      u"Voorbereiden. . .",
      u"Er is een nieuwere versie van %s uitgebracht.\n%s\nWilt u uw versie bijwerken naar de nieuwste?",
      u"Geen nieuwere versie gevonden. U gebruikt al\rde nieuwste versie van dit programma.",
      u"Het bestand met de update-informatie is niet gevonden op de site van de ontwikkelaar.",
      u"Host %s onbereikbaar.\r\rControleer uw internetverbinding en\rprobeer dit programma later opnieuw bij te "
      u"werken.",
      u"De update is niet voltooid.\rWilt u het bijwerken afbreken?",
      u"Bestand %s niet gevonden of niet toegankelijk.\r\rDit bestand overslaan en doorgaan met bijwerken?",
      u"De toegang tot het externe bestand \"%s\" is met een wachtwoord beveiligd.\r\rVoer uw gebruikersnaam en "
      u"wachtwoord in om door te gaan met bijwerken.",
      u"De verbinding met de externe server is verbroken.\r\rHerstel de verbinding en probeer\rdit programma "
      u"later opnieuw bij te werken." },
    // wlDanish
    { u"Guide til programopdatering",
      u"Henter filer...",
      u"Opdatering fuldført!",
      u"Aktuel fil",
      u"Alle filer",
      u"Henter fil fra",
      u"Filstørrelse: %.1f Kb",
      u"Overførselshastighed: %.1f Kb/s",
      u"Anslået resterende tid: %d:%.2d:%.2d",
      u"Henter %d af %d",
      u"Opdateringen af %s er fuldført.\r\rTryk på OK for at genstarte programmet.",
      u"Indtast adgangskode",
      u"Brugernavn",
      u"Adgangskode",
      u"&Ja",
      u"&Nej",
      u"&OK",
      u"&Annuller",
      u"&Næste >",
      u"&Senere",
      u"Advarsel",
      u"Fejl",
      u"Forbereder. . .",
      u"En nyere version af %s er udgivet.\n%s\nVil du opdatere din version til den nyeste?",
      u"Der blev ikke fundet en nyere version. Du bruger allerede\rden nyeste version af dette program.",
      u"Filen med opdateringsoplysningerne blev ikke fundet på udviklerens websted.",
      u"Serveren %s kan ikke nås.\r\rKontroller din internetforbindelse og\rprøv at opdatere programmet igen "
      u"senere.",
      u"Opdateringen er ikke fuldført.\rVil du afbryde opdateringen?",
      u"Filen %s blev ikke fundet eller er utilgængelig.\r\rVil du springe filen over og fortsætte opdateringen?",
      u"Adgangen til fjernfilen \"%s\" er beskyttet med adgangskode.\r\rIndtast brugernavn og adgangskode for at "
      u"fortsætte opdateringen.",
      u"Forbindelsen til fjernserveren blev afbrudt.\r\rGenopret forbindelsen og prøv\rat opdatere programmet igen "
      u"senere." },
    // wlSwedish
    { u"Guide för programuppdatering",
      u"Hämtar filer...",
      u"Uppdateringen är klar!",
      u"Aktuell fil",
      u"Alla filer",
      u"Hämtar fil från",
      u"Filstorlek: %.1f Kb",
      u"Överföringshastighet: %.1f Kb/s",
      u"Beräknad återstående tid: %d:%.2d:%.2d",
      u"Hämtar %d av %d",
      u"Uppdateringen av %s har slutförts.\r\rTryck på OK för att starta om programmet.",
      u"Ange lösenord",
      u"Användarnamn",
      u"Lösenord",
      u"&Ja",
      u"&Nej",
      u"&OK",
      u"&Avbryt",
      u"&Nästa >",
      u"&Senare",
      u"Varning",
      u"Fel",
      u"Förbereder. . .",
      u"En nyare version av %s har släppts.\n%s\nVill du uppdatera din version till den senaste?",
      u"Ingen nyare version hittades. Du använder redan\rden senaste versionen av det här programmet.",
      u"Filen med uppdateringsinformation hittades inte på utvecklarens webbplats.",
      u"Värden %s kan inte nås.\r\rKontrollera din Internetanslutning och\rförsök uppdatera programmet igen "
      u"senare.",
      u"Uppdateringen är inte klar.\rVill du avbryta uppdateringen?",
      u"Filen %s hittades inte eller är inte tillgänglig.\r\rVill du hoppa över filen och fortsätta "
      u"uppdateringen?",
      u"Åtkomsten till fjärrfilen \"%s\" är lösenordsskyddad.\r\rAnge användarnamn och lösenord för att fortsätta "
      u"uppdateringen.",
      u"Anslutningen till fjärrservern bröts.\r\rÅterställ anslutningen och försök\ruppdatera programmet igen "
      u"senare." },
    // wlFinnish
    { u"Ohjelman päivitysohjattu",
      u"Ladataan tiedostoja...",
      u"Päivitys valmis!",
      u"Nykyinen tiedosto",
      u"Kaikki tiedostot",
      u"Ladataan tiedostoa osoitteesta",
      u"Tiedoston koko: %.1f Kt",
      u"Siirtonopeus: %.1f Kt/s",
      u"Arvioitu jäljellä oleva aika: %d:%.2d:%.2d",
      u"Ladataan %d / %d",
      u"Ohjelman %s päivitys on suoritettu onnistuneesti.\r\rKäynnistä ohjelma uudelleen painamalla OK.",
      u"Anna salasana",
      u"Käyttäjätunnus",
      u"Salasana",
      u"&Kyllä",
      u"&Ei",
      u"&OK",
      u"&Peruuta",
      u"&Seuraava >",
      u"&Myöhemmin",
      u"Varoitus",
      u"Virhe",
      u"Valmistellaan. . .",
      u"Ohjelmasta %s on julkaistu uudempi versio.\n%s\nHaluatko päivittää versiosi uusimpaan?",
      u"Uudempaa versiota ei löytynyt. Käytät jo\rtämän ohjelman uusinta versiota.",
      u"Päivitystiedot sisältävää tiedostoa ei löytynyt kehittäjän sivustolta.",
      u"Palvelimeen %s ei saada yhteyttä.\r\rTarkista Internet-yhteytesi ja\ryritä päivittää ohjelma myöhemmin "
      u"uudelleen.",
      u"Päivitys on kesken.\rHaluatko keskeyttää päivityksen?",
      u"Tiedostoa %s ei löytynyt tai siihen ei päästy.\r\rOhitetaanko tiedosto ja jatketaan päivitystä?",
      u"Pääsy etätiedostoon \"%s\" on suojattu salasanalla.\r\rAnna käyttäjätunnus ja salasana jatkaaksesi "
      u"päivitystä.",
      u"Yhteys etäpalvelimeen katkesi.\r\rPalauta yhteys ja yritä\rpäivittää ohjelma myöhemmin uudelleen." },
    // wlEstonian
    { u"Rakenduse uuendamise viisard",
      u"Failide allalaadimine...",
      u"Uuendamine lõpetatud!",
      u"Praegune fail",
      u"Kõik failid",
      u"Faili allalaadimine asukohast",
      u"Faili suurus: %.1f Kb",
      u"Edastuskiirus: %.1f Kb/s",
      u"Hinnanguline järelejäänud aeg: %d:%.2d:%.2d",
      u"Allalaadimine %d / %d",
      u"Programmi %s uuendamine õnnestus.\r\rProgrammi taaskäivitamiseks vajutage nuppu OK.",
      u"Sisestage parool",
      u"Kasutajanimi",
      u"Parool",
      u"&Jah",
      u"&Ei",
      u"&OK",
      u"&Loobu",
      u"&Edasi >",
      u"&Hiljem",
      u"Hoiatus",
      u"Viga",
      u"Ettevalmistus. . .",
      u"Programmist %s on ilmunud uuem versioon.\n%s\nKas soovite oma versiooni uusimaks uuendada?",
      u"Uuemat versiooni ei leitud. Te juba kasutate\rselle programmi uusimat versiooni.",
      u"Uuendusteabega faili ei leitud arendaja saidilt.",
      u"Server %s ei ole kättesaadav.\r\rKontrollige Interneti-ühendust ja\rproovige programmi hiljem uuesti "
      u"uuendada.",
      u"Uuendamine ei ole lõpetatud.\rKas soovite uuendamise katkestada?",
      u"Faili %s ei leitud või see pole kättesaadav.\r\rKas jätta see fail vahele ja jätkata uuendamist?",
      u"Juurdepääs kaugfailile \"%s\" on parooliga kaitstud.\r\rUuendamise jätkamiseks sisestage kasutajanimi ja "
      u"parool.",
      u"Ühendus kaugserveriga katkes.\r\rTaastage ühendus ja proovige\rprogrammi hiljem uuesti uuendada." },
    // wlUkrainian
    { u"Майстер оновлення програми",
      u"Завантаження файлів...",
      u"Оновлення завершено!",
      u"Поточний файл",
      u"Усі файли",
      u"Завантаження файлу з",
      u"Розмір файлу: %.1f Кб",
      u"Швидкість передачі: %.1f Кб/с",
      u"Залишилось часу: %d:%.2d:%.2d",
      u"Завантаження %d з %d",
      u"Оновлення %s успішно завершено.\r\rНатисніть кнопку OK, щоб перезапустити програму.",
      u"Введіть пароль",
      u"Ім'я користувача",
      u"Пароль",
      u"&Так",
      u"&Ні",
      u"&OK",
      u"&Скасувати",
      u"&Далі >",
      u"&Пізніше",
      u"Попередження",
      u"Помилка",
      u"Підготовка. . .",
      u"Вийшла нова версія %s.\n%s\nБажаєте оновити вашу версію до останньої?",
      u"Нову версію не знайдено. Ви вже\rвикористовуєте найновішу версію цієї програми.",
      u"Файл з інформацією про оновлення не знайдено на сайті розробника.",
      u"Сервер %s недоступний.\r\rПеревірте підключення до Інтернету і\rспробуйте оновити програму пізніше.",
      u"Оновлення не завершено.\rПерервати оновлення?",
      u"Файл %s не знайдено або він недоступний.\r\rПропустити цей файл і продовжити оновлення?",
      u"Доступ до віддаленого файлу \"%s\" захищено паролем.\r\rВведіть ім'я користувача та пароль, щоб "
      u"продовжити оновлення.",
      u"З'єднання з віддаленим сервером втрачено.\r\rВідновіть з'єднання і спробуйте\rоновити програму пізніше." },
    // wlCzech
    { u"Průvodce aktualizací aplikace",
      u"Stahování souborů...",
      u"Aktualizace dokončena!",
      u"Aktuální soubor",
      u"Všechny soubory",
      u"Stahování souboru z",
      u"Velikost souboru: %.1f Kb",
      u"Přenosová rychlost: %.1f Kb/s",
      u"Odhadovaný zbývající čas: %d:%.2d:%.2d",
      u"Stahování %d z %d",
      u"Aktualizace %s byla úspěšně dokončena.\r\rStiskněte tlačítko OK pro restart programu.",
      u"Zadejte heslo",
      u"Uživatelské jméno",
      u"Heslo",
      u"&Ano",
      u"&Ne",
      u"&OK",
      u"&Storno",
      u"&Další >",
      u"&Později",
      u"Upozornění",
      u"Chyba",
      u"Příprava. . .",
      u"Byla vydána novější verze %s.\n%s\nChcete aktualizovat svou verzi na nejnovější?",
      u"Novější verze nebyla nalezena. Již používáte\rnejnovější verzi tohoto programu.",
      u"Soubor s informacemi o aktualizaci nebyl na stránkách vývojáře nalezen.",
      u"Server %s je nedostupný.\r\rZkontrolujte připojení k Internetu a\rzkuste aktualizovat program později.",
      u"Aktualizace není dokončena.\rChcete aktualizaci přerušit?",
      u"Soubor %s nebyl nalezen nebo je nepřístupný.\r\rPřeskočit tento soubor a pokračovat v aktualizaci?",
      u"Přístup ke vzdálenému souboru \"%s\" je chráněn heslem.\r\rZadejte uživatelské jméno a heslo pro "
      u"pokračování aktualizace.",
      u"Spojení se vzdáleným serverem bylo přerušeno.\r\rObnovte spojení a zkuste\raktualizovat program později." },
    // wlHungarian
    { u"Programfrissítő varázsló",
      u"Fájlok letöltése...",
      u"A frissítés befejeződött!",
      u"Aktuális fájl",
      u"Összes fájl",
      u"Fájl letöltése innen:",
      u"Fájlméret: %.1f Kb",
      u"Átviteli sebesség: %.1f Kb/s",
      u"Becsült hátralévő idő: %d:%.2d:%.2d",
      u"Letöltés: %d / %d",
      u"A(z) %s frissítése sikeresen befejeződött.\r\rA program újraindításához nyomja meg az OK gombot.",
      u"Jelszó megadása",
      u"Felhasználónév",
      u"Jelszó",
      u"&Igen",
      u"&Nem",
      u"&OK",
      u"&Mégse",
      u"&Tovább >",
      u"&Később",
      u"Figyelmeztetés",
      u"Hiba",
      u"Előkészítés. . .",
      u"Megjelent a(z) %s újabb verziója.\n%s\nSzeretné frissíteni a verzióját a legújabbra?",
      u"Nem található újabb verzió. Már a program\rlegújabb verzióját használja.",
      u"A frissítési információkat tartalmazó fájl nem található a fejlesztő webhelyén.",
      u"A(z) %s kiszolgáló nem érhető el.\r\rEllenőrizze az internetkapcsolatot, és\rpróbálja meg később "
      u"frissíteni a programot.",
      u"A frissítés nem fejeződött be.\rMegszakítja a frissítést?",
      u"A(z) %s fájl nem található vagy nem érhető el.\r\rKihagyja ezt a fájlt, és folytatja a frissítést?",
      u"A(z) \"%s\" távoli fájl elérése jelszóval védett.\r\rA frissítés folytatásához adja meg a felhasználónevet "
      u"és a jelszót.",
      u"Megszakadt a kapcsolat a távoli kiszolgálóval.\r\rÁllítsa helyre a kapcsolatot, és próbálja meg\rkésőbb "
      u"frissíteni a programot." },
    // wlRomanian
    { u"Asistent de actualizare a aplicației",
      u"Se descarcă fișierele...",
      u"Actualizare finalizată!",
      u"Fișierul curent",
      u"Toate fișierele",
      u"Se descarcă fișierul de la",
      u"Dimensiune fișier: %.1f Kb",
      u"Rată de transfer: %.1f Kb/s",
      u"Timp rămas estimat: %d:%.2d:%.2d",
      u"Se descarcă %d din %d",
      u"Actualizarea %s s-a încheiat cu succes.\r\rApăsați butonul OK pentru a reporni programul.",
      u"Introduceți parola",
      u"Nume utilizator",
      u"Parolă",
      u"&Da",
      u"&Nu",
      u"&OK",
      u"&Anulare",
      u"&Înainte >",
      u"Mai &târziu",
      u"Avertisment",
      u"Eroare",
      u"Pregătire. . .",
      u"A fost lansată o versiune mai nouă a %s.\n%s\nDoriți să actualizați versiunea dumneavoastră la cea mai "
      u"recentă?",
      u"Nu s-a găsit o versiune mai nouă. Folosiți deja\rcea mai recentă versiune a acestui program.",
      u"Fișierul cu informațiile de actualizare nu a fost găsit pe site-ul dezvoltatorului.",
      u"Serverul %s nu poate fi accesat.\r\rVerificați conexiunea la Internet și\rîncercați să actualizați "
      u"programul mai târziu.",
      u"Actualizarea nu este finalizată.\rDoriți să abandonați actualizarea?",
      u"Fișierul %s nu a fost găsit sau nu este accesibil.\r\rOmiteți acest fișier și continuați actualizarea?",
      u"Accesul la fișierul la distanță \"%s\" este protejat prin parolă.\r\rIntroduceți numele de utilizator și "
      u"parola pentru a continua actualizarea.",
      u"Conexiunea cu serverul la distanță s-a întrerupt.\r\rRestabiliți conexiunea și încercați\rsă actualizați "
      u"programul mai târziu." },
    // wlCatalan
    { u"Assistent d'actualització de l'aplicació",
      u"S'estan baixant els fitxers...",
      u"Actualització completada!",
      u"Fitxer actual",
      u"Tots els fitxers",
      u"S'està baixant el fitxer des de",
      u"Mida del fitxer: %.1f Kb",
      u"Velocitat de transferència: %.1f Kb/s",
      u"Temps restant estimat: %d:%.2d:%.2d",
      u"S'està baixant %d de %d",
      u"L'actualització de %s s'ha completat correctament.\r\rPremeu el botó D'acord per reiniciar el programa.",
      u"Introduïu la contrasenya",
      u"Nom d'usuari",
      u"Contrasenya",
      u"&Sí",
      u"&No",
      u"&D'acord",
      u"&Cancel·la",
      u"&Següent >",
      u"&Més tard",
      u"Avís",
      u"Error",
      u"S'està preparant. . .",
      u"S'ha publicat una versió més nova de %s.\n%s\nVoleu actualitzar la vostra versió a la més recent?",
      u"No s'ha trobat cap versió més nova. Ja esteu\rfent servir la versió més recent d'aquest programa.",
      u"No s'ha trobat al lloc del desenvolupador el fitxer amb la informació d'actualització.",
      u"No es pot accedir al servidor %s.\r\rComproveu la connexió a Internet i\rproveu d'actualitzar aquest "
      u"programa més tard.",
      u"L'actualització no s'ha completat.\rVoleu cancel·lar l'actualització?",
      u"No s'ha trobat el fitxer %s o no és accessible.\r\rVoleu ometre aquest fitxer i continuar l'actualització?",
      u"L'accés al fitxer remot \"%s\" està protegit amb contrasenya.\r\rIntroduïu el nom d'usuari i la "
      u"contrasenya per continuar l'actualització.",
      u"S'ha perdut la connexió amb el servidor remot.\r\rRestabliu la connexió i proveu\rd'actualitzar aquest "
      u"programa més tard." },
    // wlBasque
    { u"Aplikazioa eguneratzeko morroia",
      u"Fitxategiak deskargatzen...",
      u"Eguneratzea osatuta!",
      u"Uneko fitxategia",
      u"Fitxategi guztiak",
      u"Fitxategia deskargatzen hemendik:",
      u"Fitxategiaren tamaina: %.1f Kb",
      u"Transferentzia-abiadura: %.1f Kb/s",
      u"Geratzen den denbora, gutxi gorabehera: %d:%.2d:%.2d",
      u"Deskargatzen: %d / %d",
      u"%s programaren eguneratzea behar bezala osatu da.\r\rSakatu Ados botoia programa berrabiarazteko.",
      u"Idatzi pasahitza",
      u"Erabiltzaile-izena",
      u"Pasahitza",
      u"&Bai",
      u"&Ez",
      u"&Ados",
      u"&Utzi",
      u"&Hurrengoa >",
      u"&Geroago",
      u"Abisua",
      u"Errorea",
      u"Prestatzen. . .",
      u"%s programaren bertsio berriagoa argitaratu da.\n%s\nZure bertsioa azkenera eguneratu nahi duzu?",
      u"Ez da bertsio berriagorik aurkitu. Dagoeneko\rprograma honen azken bertsioa erabiltzen ari zara.",
      u"Ez da eguneratze-informazioa duen fitxategia aurkitu garatzailearen gunean.",
      u"Ezin da %s ostalarira iritsi.\r\rEgiaztatu Interneteko konexioa eta\rsaiatu programa hau geroago "
      u"eguneratzen.",
      u"Eguneratzea ez da osatu.\rEguneratzea bertan behera utzi nahi duzu?",
      u"Ez da %s fitxategia aurkitu edo ezin da atzitu.\r\rFitxategi hau saltatu eta eguneratzearekin jarraitu?",
      u"\"%s\" urruneko fitxategia pasahitzez babestuta dago.\r\rIdatzi erabiltzaile-izena eta pasahitza "
      u"eguneratzearekin jarraitzeko.",
      u"Urruneko zerbitzariarekiko konexioa galdu da.\r\rBerrezarri konexioa eta saiatu\rprograma hau geroago "
      u"eguneratzen." },
    // wlAfrikaans
    { u"Toepassing-bywerkingsassistent",
      u"Lêers word afgelaai...",
      u"Bywerking voltooi!",
      u"Huidige lêer",
      u"Alle lêers",
      u"Lêer word afgelaai vanaf",
      u"Lêergrootte: %.1f Kb",
      u"Oordragspoed: %.1f Kb/s",
      u"Geskatte oorblywende tyd: %d:%.2d:%.2d",
      u"Laai %d van %d af",
      u"Die bywerking van %s is suksesvol voltooi.\r\rDruk die OK-knoppie om die program te herbegin.",
      u"Voer wagwoord in",
      u"Gebruikersnaam",
      u"Wagwoord",
      u"&Ja",
      u"&Nee",
      u"&OK",
      u"&Kanselleer",
      u"&Volgende >",
      u"&Later",
      u"Waarskuwing",
      u"Fout",
      u"Berei voor. . .",
      u"'n Nuwer weergawe van %s is vrygestel.\n%s\nWil u u weergawe na die nuutste bywerk?",
      u"Geen nuwer weergawe gevind nie. U gebruik reeds\rdie nuutste weergawe van hierdie program.",
      u"Die lêer met die bywerkingsinligting is nie op die ontwikkelaar se webwerf gevind nie.",
      u"Gasheer %s is onbereikbaar.\r\rGaan u internetverbinding na en\rprobeer later weer om hierdie program by "
      u"te werk.",
      u"Die bywerking is nie voltooi nie.\rWil u die bywerking staak?",
      u"Lêer %s nie gevind nie of ontoeganklik.\r\rHierdie lêer oorslaan en met die bywerking voortgaan?",
      u"Toegang tot die afgeleë lêer \"%s\" is met 'n wagwoord beskerm.\r\rVoer u gebruikersnaam en wagwoord in "
      u"om met die bywerking voort te gaan.",
      u"Verbinding met die afgeleë bediener is verbreek.\r\rHerstel die verbinding en probeer\rlater weer om "
      u"hierdie program by te werk." },
    // wlChineseTraditional
    { u"軟體升級精靈",
      u"檔案下載中",
      u"升級完成！",
      u"目前的檔案",
      u"全部的檔案",
      u"檔案下載來源",
      u"檔案大小:%.1f Kb",
      u"傳輸速率:%.1f Kb/s",
      u"估計剩餘時間: %d:%.2d:%.2d",
      u"目前正在下載:%d of %d",
      u"%s 已經升級完成，\r\r請按[確定]鍵重新啟動程式",
      u"請輸入密碼",
      u"帳號",
      u"密碼",
      u"[&Y]是",
      u"[&N]否",
      u"[&O]確定",
      u"[&C]取消",
      u"[&N]下一個>",
      u"[&L]稍等一下",
      u"警告",
      u"錯誤",
      u"準備中",
      u"%s已經有新版本推出，\n%s\n您要升級到新版本嗎？",
      u"沒有發現新的版本，您目前已經是最新版本。",
      u"在伺服器中無法找到升級的相關資訊。",
      u"無法與伺服器%s連線。\r\r請檢查您的網際網路設定之後再進行升級操作。",
      u"升級操作尚未完成，\r您確定要放棄升級嗎？",
      u"檔案%s找不到或者發生錯誤，\r\r您要略過這個檔案並且繼續升級操作嗎？",
      u"遠端檔案\"%s\"受密碼保護，\r\r請輸入帳號和密碼以繼續升級操作。",
      u"與遠端伺服器的連線中斷，\r\r請重新連線後再進行升級操作。" },
    // wlChineseSimplified
    { u"软件升级精灵",
      u"文档下载中",
      u"升级完成！",
      u"当前的文档",
      u"全部的文档",
      u"文档下载源",
      u"文档大小:%.1f Kb",
      u"传输速率:%.1f Kb/s",
      u"估计剩余时间: %d:%.2d:%.2d",
      u"当前正在下载:%d of %d",
      u"%s 已经升级完成，\r\r请按[确定]键重新启动程序",
      u"请输入密码",
      u"帐号",
      u"密码",
      u"[&Y]是",
      u"[&N]否",
      u"[&O]确定",
      u"[&C]取消",
      u"[&N]下一个>",
      u"[&L]稍等一下",
      u"警告",
      u"错误",
      u"准备中",
      u"%s已经有新版本推出，\n%s\n您要升级到新版本吗？",
      u"没有发现新的版本，您目前已经是最新版本。",
      u"在服务器中无法找到升级的相关信息。",
      u"无法与服务器%s连接。\r\r请检查您的internet设定之后再进行升级操作。",
      u"升级操作尚未完成，\r您确定要放弃升级吗？",
      u"文档%s找不到或者发生错误，\r\r您要忽略这个文档并且继续升级操作吗？",
      u"远端文档\"%s\"受密码保护，\r\r请输入帐号和密码以继续升级操作。",
      u"与远端服务器的连接中断，\r\r请重新连接后再进行升级操作。" },
    // wlIndonesian
    { u"Wisaya pembaruan aplikasi",
      u"Mengunduh berkas...",
      u"Pembaruan selesai!",
      u"Berkas saat ini",
      u"Semua berkas",
      u"Mengunduh berkas dari",
      u"Ukuran berkas: %.1f Kb",
      u"Kecepatan transfer: %.1f Kb/s",
      u"Perkiraan sisa waktu: %d:%.2d:%.2d",
      u"Mengunduh %d dari %d",
      u"Pembaruan %s telah berhasil diselesaikan.\r\rTekan tombol OK untuk memulai ulang program.",
      u"Masukkan kata sandi",
      u"Nama Pengguna",
      u"Kata Sandi",
      u"&Ya",
      u"&Tidak",
      u"&OK",
      u"&Batal",
      u"&Berikutnya >",
      u"&Nanti",
      u"Peringatan",
      u"Kesalahan",
      u"Menyiapkan. . .",
      u"Versi lebih baru dari %s telah dirilis.\n%s\nApakah Anda ingin memperbarui versi Anda ke yang terbaru?",
      u"Versi lebih baru tidak ditemukan. Anda sudah\rmenggunakan versi terbaru program ini.",
      u"Berkas yang berisi informasi pembaruan tidak ditemukan di situs pengembang.",
      u"Host %s tidak dapat dijangkau.\r\rPeriksa sambungan Internet Anda dan\rcoba perbarui perangkat lunak ini "
      u"lagi nanti.",
      u"Pembaruan belum selesai.\rApakah Anda ingin membatalkan pembaruan?",
      u"Berkas %s tidak ditemukan atau tidak dapat diakses.\r\rLewati berkas ini dan lanjutkan pembaruan?",
      u"Akses ke berkas jarak jauh \"%s\" dilindungi kata sandi.\r\rMasukkan nama pengguna dan kata sandi untuk "
      u"melanjutkan pembaruan.",
      u"Sambungan dengan server jarak jauh terputus.\r\rPulihkan sambungan dan coba\rperbarui perangkat lunak ini "
      u"lagi nanti." },
    // wlMalay
    { u"Wizard kemas kini aplikasi",
      u"Memuat turun fail...",
      u"Kemas kini selesai!",
      u"Fail semasa",
      u"Semua fail",
      u"Memuat turun fail dari",
      u"Saiz fail: %.1f Kb",
      u"Kadar pemindahan: %.1f Kb/s",
      u"Anggaran masa yang tinggal: %d:%.2d:%.2d",
      u"Memuat turun %d daripada %d",
      u"Kemas kini %s telah berjaya diselesaikan.\r\rTekan butang OK untuk memulakan semula program.",
      u"Masukkan kata laluan",
      u"Nama Pengguna",
      u"Kata Laluan",
      u"&Ya",
      u"&Tidak",
      u"&OK",
      u"&Batal",
      u"&Seterusnya >",
      u"&Kemudian",
      u"Amaran",
      u"Ralat",
      u"Menyediakan. . .",
      u"Versi lebih baharu bagi %s telah dikeluarkan.\n%s\nAdakah anda mahu mengemas kini versi anda kepada yang "
      u"terkini?",
      u"Versi lebih baharu tidak ditemui. Anda sudah\rmenggunakan versi terkini program ini.",
      u"Fail yang mengandungi maklumat kemas kini tidak ditemui di laman pembangun.",
      u"Hos %s tidak dapat dicapai.\r\rSila semak sambungan Internet anda dan\rcuba kemas kini perisian ini "
      u"sekali lagi kemudian.",
      u"Kemas kini belum selesai.\rAdakah anda mahu membatalkan kemas kini?",
      u"Fail %s tidak ditemui atau tidak dapat dicapai.\r\rLangkau fail ini dan teruskan kemas kini?",
      u"Akses ke fail jauh \"%s\" dilindungi kata laluan.\r\rSila masukkan nama pengguna dan kata laluan untuk "
      u"meneruskan kemas kini.",
      u"Sambungan dengan pelayan jauh terputus.\r\rSila pulihkan sambungan dan cuba\rkemas kini perisian ini "
      u"sekali lagi kemudian." },
    // wlIcelandic
    { u"Uppfærsluálfur forrits",
      u"Sæki skrár...",
      u"Uppfærslu lokið!",
      u"Núverandi skrá",
      u"Allar skrár",
      u"Sæki skrá frá",
      u"Skráarstærð: %.1f Kb",
      u"Flutningshraði: %.1f Kb/s",
      u"Áætlaður tími eftir: %d:%.2d:%.2d",
      u"Sæki %d af %d",
      u"Uppfærslu %s er lokið.\r\rSmelltu á Í lagi til að endurræsa forritið.",
      u"Sláðu inn lykilorð",
      u"Notandanafn",
      u"Lykilorð",
      u"&Já",
      u"&Nei",
      u"&Í lagi",
      u"&Hætta við",
      u"&Áfram >",
      u"&Síðar",
      u"Viðvörun",
      u"Villa",
      u"Undirbý. . .",
      u"Ný útgáfa af %s er komin út.\n%s\nViltu uppfæra útgáfuna þína í þá nýjustu?",
      u"Engin nýrri útgáfa fannst. Þú ert nú þegar\rað nota nýjustu útgáfu þessa forrits.",
      u"Skráin með uppfærsluupplýsingunum fannst ekki á vefsvæði framleiðandans.",
      u"Ekki næst samband við %s.\r\rAthugaðu nettenginguna og\rreyndu að uppfæra forritið aftur síðar.",
      u"Uppfærslunni er ekki lokið.\rViltu hætta við uppfærsluna?",
      u"Skráin %s fannst ekki eða er óaðgengileg.\r\rSleppa þessari skrá og halda uppfærslunni áfram?",
      u"Aðgangur að fjartengdu skránni \"%s\" er varinn með lykilorði.\r\rSláðu inn notandanafn og lykilorð til að "
      u"halda uppfærslunni áfram.",
      u"Tengingin við fjartengda þjóninn rofnaði.\r\rKomdu tengingunni á aftur og reyndu\rað uppfæra forritið "
      u"aftur síðar." },
} };

using RefusalBlock = std::array<const char16_t*, UpdateMessages::MsgRefusalEnd - UpdateMessages::MsgNoPublicKey>;

// English, Traditional and Simplified Chinese texts of the refusal messages, in RefusalMessage order.
const RefusalBlock RefusalEnglish = {
    u"This copy of the program has no update key built in, so no update can be checked.\r\rUpdates are refused.",
    u"The upgrade information is not signed: its signature file %s was not found.\r\rNothing was downloaded.",
    u"The signature of the upgrade information is malformed.\r\rNothing was downloaded.",
    u"The upgrade information was signed with a key this program does not trust.\r\rNothing was downloaded.",
    u"The upgrade information does not match its signature: it was altered or damaged.\r\rNothing was "
    u"downloaded.",
    u"The upgrade information file is too large and was refused.\r\rNothing was downloaded.",
    u"The upgrade information gives no valid size and SHA-256 checksum for %s.\r\rNothing was downloaded.",
    u"The upgrade information names the local file %s; only files from the server are accepted.\r\rNothing "
    u"was downloaded.",
    u"File %s does not match the upgrade information (size or SHA-256 checksum).\r\rIt was deleted and the "
    u"upgrade was cancelled; nothing was installed.",
};
const RefusalBlock RefusalChineseTraditional = {
    u"本程式沒有內建升級金鑰，無法驗證任何升級。\r\r升級已被拒絕。",
    u"升級資訊沒有簽章：找不到簽章檔%s。\r\r沒有下載任何文件。",
    u"升級資訊的簽章格式錯誤。\r\r沒有下載任何文件。",
    u"升級資訊的簽章金鑰不受本程式信任。\r\r沒有下載任何文件。",
    u"升級資訊與其簽章不符，可能已被竄改或損壞。\r\r沒有下載任何文件。",
    u"升級資訊檔案過大，已被拒絕。\r\r沒有下載任何文件。",
    u"升級資訊沒有為%s提供有效的大小和SHA-256校驗值。\r\r沒有下載任何文件。",
    u"升級資訊指向本機文件%s，只接受來自伺服器的文件。\r\r沒有下載任何文件。",
    u"文件%s與升級資訊不符（大小或SHA-256校驗值）。\r\r該文件已被刪除，升級已取消，沒有安裝任何文件。",
};
const RefusalBlock RefusalChineseSimplified = {
    u"本程序没有内置升级密钥，无法验证任何升级。\r\r升级已被拒绝。",
    u"升级信息没有签名：找不到签名文档%s。\r\r没有下载任何文档。",
    u"升级信息的签名格式错误。\r\r没有下载任何文档。",
    u"升级信息的签名密钥不受本程序信任。\r\r没有下载任何文档。",
    u"升级信息与其签名不符，可能已被篡改或损坏。\r\r没有下载任何文档。",
    u"升级信息文档过大，已被拒绝。\r\r没有下载任何文档。",
    u"升级信息没有为%s提供有效的大小和SHA-256校验值。\r\r没有下载任何文档。",
    u"升级信息指向本机文档%s，只接受来自服务器的文档。\r\r没有下载任何文档。",
    u"文档%s与升级信息不符（大小或SHA-256校验值）。\r\r该文档已被删除，升级已取消，没有安装任何文档。",
};

// The Windows primary language identifier of each block, in block order. Portuguese and Chinese share a primary
// identifier between two blocks; their sublanguage decides (see LanguageForLangId).
constexpr std::array<int, UpdateMessages::LanguageCount> PrimaryIds
    = { 9, 25, 7, 12, 10, 22, 22, 16, 19, 6, 29, 11, 37, 34, 5, 14, 24, 3, 45, 54, 4, 4, 33, 62, 15 };

int g_messageBase = UpdateMessages::FirstBlockId;

std::optional<QLocale>& localeOverride()
{
    static std::optional<QLocale> locale;
    return locale;
}

int langId(int primary, int sub)
{
    return primary | (sub << 10);
}

} // namespace

QString LoadMessage(int k)
{
    return UpdateMessages::LoadString(UpdateMessages::MessageBase() + k);
}

void ShowUpgradeError(const QString& text)
{
    Services::dialogs().messageBox(nullptr, withLineFeeds(text), LoadMessage(0), MsgIcon::Error, MsgButtons::Ok);
}

namespace UpdateMessages {

QString LoadString(int identifier)
{
    switch (identifier) {
    case AppTitleId:
        return QStringLiteral("<AppTitle>");
    case UnusableTitleId:
        // The title an unnamed project carries: a title holding it names no program a user would recognise.
        return QStringLiteral("Project1");
    case AboutId:
        return QStringLiteral("AppUpdater");
    default:
        break;
    }
    const int offset = identifier - FirstBlockId;
    if (offset < 0 || offset >= LanguageCount * BlockSize)
        return QString();
    const int k = offset % BlockSize;
    const auto language = TAppUpdaterLanguage(offset / BlockSize + 1);
    if (k >= MsgNoPublicKey && k < MsgRefusalEnd) {
        const RefusalBlock& block = language == wlChineseSimplified ? RefusalChineseSimplified
            : language == wlChineseTraditional                      ? RefusalChineseTraditional
                                                                    : RefusalEnglish;
        return QString::fromUtf16(block[k - MsgNoPublicKey]);
    }
    if (k >= MessageCount)
        return QString();
    return QString::fromUtf16(Blocks[offset / BlockSize][k]);
}

int MessageBase()
{
    return g_messageBase;
}

TAppUpdaterLanguage LanguageForLangId(int id)
{
    const int primary = id & 0x3FF;
    const int sub = id >> 10;
    if (primary == 22)
        return sub == 1 ? wlPortugueseBrazilian : wlPortuguese;
    if (primary == 4)
        return sub == 2 ? wlChineseSimplified : wlChineseTraditional;
    for (int i = 0; i < LanguageCount; ++i) {
        if (PrimaryIds[i] == primary)
            return TAppUpdaterLanguage(i + 1);
    }
    return wlEnglish;
}

int LangIdForLocale(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::English:
        return langId(9, 1);
    case QLocale::Russian:
        return langId(25, 1);
    case QLocale::German:
        return langId(7, 1);
    case QLocale::French:
        return langId(12, 1);
    case QLocale::Spanish:
        return langId(10, 1);
    case QLocale::Portuguese:
        return langId(22, locale.territory() == QLocale::Brazil ? 1 : 2);
    case QLocale::Italian:
        return langId(16, 1);
    case QLocale::Dutch:
        return langId(19, 1);
    case QLocale::Danish:
        return langId(6, 1);
    case QLocale::Swedish:
        return langId(29, 1);
    case QLocale::Finnish:
        return langId(11, 1);
    case QLocale::Estonian:
        return langId(37, 1);
    case QLocale::Ukrainian:
        return langId(34, 1);
    case QLocale::Czech:
        return langId(5, 1);
    case QLocale::Hungarian:
        return langId(14, 1);
    case QLocale::Romanian:
        return langId(24, 1);
    case QLocale::Catalan:
        return langId(3, 1);
    case QLocale::Basque:
        return langId(45, 1);
    case QLocale::Afrikaans:
        return langId(54, 1);
    case QLocale::Chinese:
        // Sublanguage 2 is Simplified Chinese (PRC). Singapore writes Simplified Chinese too, so every locale in
        // the simplified script is reported as such; Taiwan (1), Hong Kong (3) and Macau (5) stay traditional.
        if (locale.script() == QLocale::SimplifiedHanScript)
            return langId(4, 2);
        switch (locale.territory()) {
        case QLocale::HongKong:
            return langId(4, 3);
        case QLocale::Macao:
            return langId(4, 5);
        default:
            return langId(4, 1);
        }
    case QLocale::Indonesian:
        return langId(33, 1);
    case QLocale::Malay:
        return langId(62, 1);
    case QLocale::Icelandic:
        return langId(15, 1);
    default:
        return 0;
    }
}

QLocale SystemLocale()
{
    return localeOverride().value_or(QLocale::system());
}

void setSystemLocaleForTesting(std::optional<QLocale> locale)
{
    localeOverride() = std::move(locale);
}

TAppUpdaterLanguage SelectLanguage(TAppUpdaterLanguage assigned)
{
    TAppUpdaterLanguage language = assigned;
    if (language < wlEnglish || language > wlIcelandic)
        language = LanguageForLangId(LangIdForLocale(SystemLocale()));
    g_messageBase = FirstBlockId + BlockSize * (language - 1);
    return language;
}

QString Format(const QString& format, const QVariantList& args)
{
    QString result;
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            result += c;
            continue;
        }
        qsizetype j = i + 1;
        if (format.at(j) == QLatin1Char('%')) {
            result += QLatin1Char('%');
            i = j;
            continue;
        }
        int precision = -1;
        if (format.at(j) == QLatin1Char('.')) {
            precision = 0;
            ++j;
            while (j < format.size() && format.at(j).isDigit())
                precision = precision * 10 + format.at(j++).digitValue();
        }
        if (j >= format.size()) {
            result += format.mid(i);
            break;
        }
        const QChar type = format.at(j);
        const QVariant arg = next < args.size() ? args.at(next) : QVariant();
        if (type == QLatin1Char('s')) {
            result += arg.toString();
        } else if (type == QLatin1Char('d')) {
            const qlonglong value = arg.toLongLong();
            QString digits = QString::number(value < 0 ? -value : value);
            if (precision > digits.size())
                digits = QString(precision - digits.size(), QLatin1Char('0')) + digits;
            result += (value < 0 ? QStringLiteral("-") : QString()) + digits;
        } else if (type == QLatin1Char('f')) {
            result += QString::number(arg.toDouble(), 'f', precision < 0 ? 6 : precision);
        } else {
            // Not a placeholder this catalogue uses: keep it as written.
            result += format.mid(i, j - i + 1);
            i = j;
            continue;
        }
        ++next;
        i = j;
    }
    return result;
}

} // namespace UpdateMessages
