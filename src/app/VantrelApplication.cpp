#include "VantrelApplication.h"

#include "platform/AppError.h"
#include "platform/Services.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxDialogs.h"
#include "platform/linux/LinuxPower.h"
#include "platform/linux/LinuxProcessStarter.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/LinuxSoundPlayer.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/XdgAutostart.h"
#include "storage/TableQuery.h"
#include "widgets/ModalityPolicy.h"

#include <QDebug>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

VantrelApplication::VantrelApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Vantrel"));
    setApplicationDisplayName(QStringLiteral("Vantrel"));
    setApplicationVersion(QStringLiteral("2.3"));
    // The main window only hides; the program ends through its confirmed exit command.
    setQuitOnLastWindowClosed(false);
    Services::setErrorSink([this](const QString& text) { showError(text); });
    // Windows that come up while a dialog is open (pop-ups, the update wizard, the tray menu) take input.
    m_modality = new ModalityPolicy(this);
    installEventFilter(m_modality);
    // A save that waits for a table another program holds locked shows that the program is busy, not hung.
    TableQuery::setLockWaitIndicator([](bool waiting) {
        if (waiting)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    });
}

VantrelApplication::~VantrelApplication()
{
    Services::setErrorSink({});
    TableQuery::setLockWaitIndicator({});
    Services::setClock(nullptr);
    Services::setDialogs(nullptr);
    Services::setShell(nullptr);
    Services::setDesktop(nullptr);
    Services::setSoundPlayers(nullptr);
    Services::setPower(nullptr);
    Services::setAutostart(nullptr);
    Services::setProcessStarter(nullptr);
}

void VantrelApplication::preparePlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void VantrelApplication::installPlatform()
{
    m_clock = std::make_unique<SystemClock>();
    m_dialogs = std::make_unique<LinuxDialogs>();
    m_shell = std::make_unique<LinuxShell>();
    m_desktop = std::make_unique<LinuxDesktop>();
    m_soundPlayers = std::make_unique<LinuxSoundPlayerFactory>();
    m_power = std::make_unique<LinuxPower>();
    m_autostart = std::make_unique<XdgAutostart>();
    m_processStarter = std::make_unique<LinuxProcessStarter>();
    Services::setClock(m_clock.get());
    Services::setDialogs(m_dialogs.get());
    Services::setShell(m_shell.get());
    Services::setDesktop(m_desktop.get());
    Services::setSoundPlayers(m_soundPlayers.get());
    Services::setPower(m_power.get());
    Services::setAutostart(m_autostart.get());
    Services::setProcessStarter(m_processStarter.get());
}

bool VantrelApplication::installQtTranslation(QCoreApplication* app)
{
    // The interface is Chinese whatever the desktop's language.
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : { "qtbase_zh_CN", "qt_zh_CN" }) {
        auto* translator = new QTranslator(app);
        if (translator->load(QString::fromLatin1(name), dir)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
        delete translator;
    }
    return false;
}

bool VantrelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError& error) {
        showError(error.text());
    } catch (const std::exception& error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void VantrelApplication::setMainWindow(QWidget* window)
{
    m_modality->setMainWindow(window);
}

void VantrelApplication::showError(const QString& text)
{
    if (m_pendingErrors.contains(text))
        return;
    // Also on the standard error stream, where a user starting the program from a terminal sees it.
    qWarning().noquote() << "Vantrel:" << text;
    m_pendingErrors.append(text);
    // The box is shown from the event loop, never inside the handler that failed.
    if (!m_showingError)
        QTimer::singleShot(0, this, &VantrelApplication::showNextError);
}

void VantrelApplication::showNextError()
{
    if (m_showingError || m_pendingErrors.isEmpty())
        return;
    m_showingError = true;
    const QString text = m_pendingErrors.constFirst();
    Services::dialogs().messageBox(activeModalWidget(), text, applicationDisplayName(), MsgIcon::Error, MsgButtons::Ok);
    m_pendingErrors.removeFirst();
    m_showingError = false;
    if (!m_pendingErrors.isEmpty())
        QTimer::singleShot(0, this, &VantrelApplication::showNextError);
}
