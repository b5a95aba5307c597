#include "Forms.h"
#include "StartUp.h"
#include "TFrmMain.h"
#include "VantrelApplication.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/linux/LinuxSingleInstance.h"

#include <QSystemTrayIcon>

int main(int argc, char* argv[])
{
    VantrelApplication::preparePlatform();
    VantrelApplication app(argc, argv);
    app.installPlatform();
    app.loadTranslations();

    LinuxSingleInstance guard;
    if (!guard.tryAcquire()) {
        Services::dialogs().messageBox(nullptr, QStringLiteral("Vantrel程序已经运行!"), QStringLiteral("提示"),
                                       MsgIcon::Information, MsgButtons::Ok);
        return 0;
    }

    StartUp windows;
    QObject::connect(Forms::FrmMain, &TFrmMain::exitRequested, &app, [] { QCoreApplication::exit(0); });
    // Without a notification area a hidden start would leave no way to reach the program.
    if (Forms::FrmMain->showMainForm() || !QSystemTrayIcon::isSystemTrayAvailable())
        Forms::FrmMain->show();
    return app.exec();
}
