#include "VantrelApplication.h"

#include "platform/PlatformLayer.h"
#include "platform/Services.h"
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
    Services::uninstall();
}

void VantrelApplication::preparePlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // With shared-memory images, Qt waits for the X server (a synchronous round trip) before it paints a window
    // again after a flush. The windows here are small, and the tray icon repaints its animation several times a
    // second, hidden or not; sending the pixels over the connection costs less than waking up for each wait.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

void VantrelApplication::installPlatform()
{
    m_platform = std::make_unique<PlatformLayer>(makePlatformLayer());
    Services::install(*m_platform);
}

SingleInstance& VantrelApplication::singleInstance()
{
    return *m_platform->singleInstance;
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
