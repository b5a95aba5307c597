#include "StartUp.h"
#include "TFrmMain.h"
#include "VantrelApplication.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/SingleInstance.h"
#include "widgets/TTrayIcon.h"

#include <QSystemTrayIcon>

int main(int argc, char* argv[])
{
    VantrelApplication::preparePlatform();
    VantrelApplication app(argc, argv);
    app.installPlatform();
    app.loadTranslations();

    SingleInstance& instance = app.singleInstance();
    if (!instance.tryAcquire()) {
        Services::dialogs().messageBox(nullptr, QStringLiteral("Vantrel程序已经运行!"), QStringLiteral("提示"),
                                       MsgIcon::Information, MsgButtons::Ok);
        // Without a notification area a hidden copy could not be reached at all; the user who starts the program
        // again gets the running one back.
        instance.activateRunningCopy();
        return 0;
    }

    StartUp windows;
    TFrmMain& mainWindow = windows.window<TFrmMain>();
    app.setMainWindow(&mainWindow);
    QObject::connect(&mainWindow, &TFrmMain::exitRequested, &app, [] { QCoreApplication::exit(0); });
    instance.listenForActivation([&mainWindow] { mainWindow.TrayIcon1->RestoreMainWindow(); });
    // Without a notification area a hidden start would leave no way to reach the program.
    if (mainWindow.showMainForm() || !QSystemTrayIcon::isSystemTrayAvailable())
        mainWindow.show();
    return app.exec();
}
