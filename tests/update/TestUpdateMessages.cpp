// The update message catalogue: its blocks, the tabled texts and the choice of language.

#include "update/UpdateMessages.h"

#include <QRegularExpression>
#include <QTest>

class TestUpdateMessages : public QObject
{
    Q_OBJECT

private:
    static QStringList placeholders(const QString& text)
    {
        static const QRegularExpression pattern(QStringLiteral("%(\\.\\d+)?[sdf]"));
        QStringList found;
        for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
            found << match.captured();
        return found;
    }

private slots:
    void cleanup()
    {
        UpdateMessages::setSystemLocaleForTesting(std::nullopt);
        UpdateMessages::SelectLanguage(wlAuto);
    }

    void everyBlockIsCompleteAndFillsLikeEnglish()
    {
        using namespace UpdateMessages;
        for (int language = 1; language <= LanguageCount; ++language) {
            const int base = FirstBlockId + BlockSize * (language - 1);
            for (int k = 0; k < BlockSize; ++k) {
                const QString text = LoadString(base + k);
                if (k >= MessageCount && k < MsgRefusalEnd) {
                    // The refusal messages: every language has one, filled like the English one.
                    QVERIFY2(!text.isEmpty(), qPrintable(QString::number(base + k)));
                    QCOMPARE(placeholders(text), placeholders(LoadString(FirstBlockId + k)));
                    continue;
                }
                if (k >= MessageCount) {
                    QVERIFY2(text.isEmpty(), qPrintable(QString::number(base + k)));
                    continue;
                }
                QVERIFY2(!text.isEmpty(), qPrintable(QString::number(base + k)));
                QCOMPARE(placeholders(text), placeholders(LoadString(FirstBlockId + k)));
            }
        }
        QVERIFY(LoadString(FirstBlockId + BlockSize * LanguageCount).isEmpty());
    }

    void tabledTexts_data()
    {
        QTest::addColumn<int>("identifier");
        QTest::addColumn<QString>("text");
        QTest::newRow("en 0") << 41000 << "Application update wizard";
        QTest::newRow("en 24") << 41024
                               << "Newer version not found. You actually are\rusing most recent version of this "
                                  "program.";
        QTest::newRow("zh 8") << 42058 << "估计剩余时间: %d:%.2d:%.2d";
        QTest::newRow("zh 14") << 42064 << "[&Y]是";
        QTest::newRow("zh 23") << 42073 << "%s已经有新版本推出，\n%s\n您要升级到新版本吗？";
        QTest::newRow("zh 24") << 42074 << "没有发现新的版本，您目前已经是最新版本。";
        QTest::newRow("zh 28") << 42078 << "文档%s找不到或者发生错误，\r\r您要忽略这个文档并且继续升级操作吗？";
        QTest::newRow("title stand-in") << 40997 << "<AppTitle>";
        QTest::newRow("zh tampered") << 42085 << "升级信息与其签名不符，可能已被篡改或损坏。\r\r没有下载任何文档。";
        QTest::newRow("zh-Hant no key") << 42031 << "本程式沒有內建升級金鑰，無法驗證任何升級。\r\r升級已被拒絕。";
        QTest::newRow("en mismatch") << 41039
                                     << "File %s does not match the upgrade information (size or SHA-256 checksum).\r\r"
                                        "It was deleted and the upgrade was cancelled; nothing was installed.";
        QTest::newRow("de falls back to English") << 41133
                                                  << "The signature of the upgrade information is malformed.\r\r"
                                                     "Nothing was downloaded.";
        QTest::newRow("about") << 40999 << "AppUpdater";
    }
    void tabledTexts()
    {
        QFETCH(int, identifier);
        QFETCH(QString, text);
        QCOMPARE(UpdateMessages::LoadString(identifier), text);
    }

    void languageFollowsTheSystem_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("messageBase");
        QTest::newRow("zh_CN") << "zh_CN" << 42050;
        QTest::newRow("zh_SG writes simplified") << "zh_SG" << 42050;
        QTest::newRow("zh_TW") << "zh_TW" << 42000;
        QTest::newRow("zh_HK") << "zh_HK" << 42000;
        QTest::newRow("pt_BR") << "pt_BR" << 41300;
        QTest::newRow("pt_PT") << "pt_PT" << 41250;
        QTest::newRow("pt_AO") << "pt_AO" << 41250;
        QTest::newRow("de_DE") << "de_DE" << 41100;
        QTest::newRow("sv_SE") << "sv_SE" << 41500;
        QTest::newRow("is_IS") << "is_IS" << 42200;
        QTest::newRow("en_US") << "en_US" << 41000;
        QTest::newRow("ja_JP unknown") << "ja_JP" << 41000;
        QTest::newRow("C") << "C" << 41000;
    }
    void languageFollowsTheSystem()
    {
        QFETCH(QString, locale);
        QFETCH(int, messageBase);
        UpdateMessages::setSystemLocaleForTesting(QLocale(locale));
        UpdateMessages::SelectLanguage(wlAuto);
        QCOMPARE(UpdateMessages::MessageBase(), messageBase);
    }

    void sublanguagesDecide_data()
    {
        QTest::addColumn<int>("langId");
        QTest::addColumn<int>("language");
        QTest::newRow("Chinese, PRC") << 0x0804 << int(wlChineseSimplified);
        QTest::newRow("Chinese, Taiwan") << 0x0404 << int(wlChineseTraditional);
        QTest::newRow("Chinese, Singapore id") << 0x1004 << int(wlChineseTraditional);
        QTest::newRow("Portuguese, Brazil") << 0x0416 << int(wlPortugueseBrazilian);
        QTest::newRow("Portuguese, Portugal") << 0x0816 << int(wlPortuguese);
        QTest::newRow("Swedish") << 0x041D << int(wlSwedish);
        QTest::newRow("Japanese") << 0x0411 << int(wlEnglish);
    }
    void sublanguagesDecide()
    {
        QFETCH(int, langId);
        QFETCH(int, language);
        QCOMPARE(int(UpdateMessages::LanguageForLangId(langId)), language);
    }

    void assignedLanguageWinsOverTheSystem()
    {
        UpdateMessages::setSystemLocaleForTesting(QLocale(QStringLiteral("zh_CN")));
        QCOMPARE(UpdateMessages::SelectLanguage(wlGerman), wlGerman);
        QCOMPARE(LoadMessage(21), QStringLiteral("Fehler"));
        QCOMPARE(UpdateMessages::SelectLanguage(wlAuto), wlChineseSimplified);
        QCOMPARE(LoadMessage(24), QStringLiteral("没有发现新的版本，您目前已经是最新版本。"));
    }

    void formats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("text");
        QTest::newRow("size") << "文档大小:%.1f Kb" << QVariantList{ 1536 / 1024.0 } << "文档大小:1.5 Kb";
        QTest::newRow("time") << "%d:%.2d:%.2d" << QVariantList{ 1, 2, 3 } << "1:02:03";
        QTest::newRow("count") << "Downloading %d of %d" << QVariantList{ 2, 3 } << "Downloading 2 of 3";
        QTest::newRow("texts") << "%s已经有新版本推出，\n%s\n"
                               << QVariantList{ QStringLiteral("Vantrel"), QString() }
                               << "Vantrel已经有新版本推出，\n\n";
        QTest::newRow("percent sign") << "100%%" << QVariantList{} << "100%";
    }
    void formats()
    {
        QFETCH(QString, format);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, text);
        QCOMPARE(UpdateMessages::Format(format, arguments), text);
    }
};

QTEST_GUILESS_MAIN(TestUpdateMessages)
#include "TestUpdateMessages.moc"
