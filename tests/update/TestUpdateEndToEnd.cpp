// A whole upgrade: the update window checks a loopback server, the question and the wizard are answered, the files
// download into a temporary program folder, the real replacement helper installs them over the stand-in program
// and starts it again with the restart argument.

#include "UpdateScenario.h"

#include "TestEnvironment.h"
#include "update/TAppUpdater.h"
#include "update/TAppUpdaterQuestionForm.h"
#include "update/TAppUpdaterWizardForm.h"
#include "update/TFrmUpdate.h"
#include "update/UpdateHandOver.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace UpdateTestSupport;

class TestUpdateEndToEnd : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_temp;

private slots:
    void initTestCase()
    {
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));
    }

    void upgradesAndRestartsTheProgram()
    {
        TestEnvironment env;
        const QString program = env.path(QStringLiteral("vantrel"));
        QVERIFY(installStandIn(program));
        env.writeFile(QStringLiteral("readme.txt"), "old readme");
        UpdateHandOver::setProgramPathForTesting(program);

        LoopbackHttpServer server;
        server.route(InfoPath,
                     LoopbackHttpServer::response(200,
                                                  infoFile({ server.url(QStringLiteral("/update/vantrel")),
                                                             server.url(QStringLiteral("/update/readme.txt")) },
                                                           "new skins")));
        server.route("/update/vantrel", LoopbackHttpServer::response(200, standInImage("new")));
        server.route(
            "/update/readme.txt",
            LoopbackHttpServer::response(200, "new readme", true, "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT\r\n"));

        TFrmUpdate form;
        form.AppUpdater1->setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        bool handedOver = false;
        form.AppUpdater1->OnDoOwnCloseAppMethod = [&] { handedOver = true; };
        QStringList filesDone;
        form.AppUpdater1->OnFileDone = [&](const QString& name) { filesDone << name; };
        Autopilot pilot([] {
            if (TAppUpdaterQuestionForm* question = TAppUpdaterQuestionForm::instance();
                question && question->isVisible())
                question->YesBtn->click();
            if (TAppUpdaterWizardForm* wizard = TAppUpdaterWizardForm::instance(); wizard && wizard->IsFinished())
                wizard->FinishBtn->click();
        });
        form.Button1->click();
        QTRY_VERIFY_WITH_TIMEOUT(handedOver, 20000);

        QCOMPARE(filesDone,
                 (QStringList{ program + QStringLiteral(".uTMP"), env.path(QStringLiteral("readme.txt.uTMP")) }));
        QCOMPARE(form.ProgressBar1->value(), 100);
        QCOMPARE(env.dialogs.boxes.size(), 0);

        // The helper was written byte for byte, executable, and restarts the upgraded program.
        const QString helper = UpdateHandOver::HelperPath();
        QCOMPARE(readAll(helper), readAll(QStringLiteral(UPDATE_HELPER_PATH)));
        QVERIFY(QFileInfo(helper).isExecutable());
        QCOMPARE(waitForStarts(env.appDir(), 1), QStringList{ QStringLiteral("vantrel|/afterupgrade") });
        QCOMPARE(readAll(program), standInImage("new"));
        QVERIFY(QFileInfo(program).isExecutable());
        // Last-Modified became the access time (Linux keeps no creation time a program could set); checked before
        // anything reads the file.
        QCOMPARE(QFileInfo(env.path(QStringLiteral("readme.txt"))).lastRead().toUTC(),
                 QDateTime(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC));
        QCOMPARE(env.readFile(QStringLiteral("readme.txt")), QByteArray("new readme"));
        QCOMPARE(leftovers(env.appDir()), QStringList());

        // The restarted program's update component removes the helper left behind.
        TAppUpdater restarted;
        QVERIFY(!QFileInfo::exists(helper));
        UpdateHandOver::setProgramPathForTesting(QString());
    }
};

QTEST_MAIN(TestUpdateEndToEnd)
#include "TestUpdateEndToEnd.moc"
