// A whole signed upgrade: the update window checks a loopback server, the question and the wizard are answered, the
// files download into a temporary program folder, the real replacement helper installs them over the stand-in program
// from its private folder and starts it again with the restart argument.

#include "UpdateScenario.h"

#include "FakeProcessStarter.h"
#include "TestEnvironment.h"
#include "platform/Services.h"
#include "update/TAppUpdater.h"
#include "update/TAppUpdaterQuestionForm.h"
#include "update/TAppUpdaterWizardForm.h"
#include "update/TFrmUpdate.h"
#include "update/UpdateHandOver.h"

#include <QApplication>
#include <QCryptographicHash>
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
    QString m_runtime; ///< this process's $XDG_RUNTIME_DIR, where helper folders are made
    FakeProcessStarter m_starter;
    TestSigningKey m_key;

private slots:
    void initTestCase()
    {
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        m_runtime = m_temp.filePath(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(m_runtime));
        QVERIFY(
            QFile::setPermissions(m_runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime));
        qputenv("VANTREL_UPDATE_PUBLIC_KEY", m_key.publicKey().toLatin1());
        m_starter.startForReal = true;
        Services::setProcessStarter(&m_starter);
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));
    }
    void cleanupTestCase() { Services::setProcessStarter(nullptr); }

    void upgradesAndRestartsTheProgram()
    {
        TestEnvironment env;
        const QString program = env.path(QStringLiteral("vantrel"));
        QVERIFY(installStandIn(program));
        env.writeFile(QStringLiteral("readme.txt"), "old readme");
        UpdateHandOver::setProgramPathForTesting(program);

        // A download that an earlier upgrade left cut off, arriving after the component cleaned up at its start:
        // it is not on this upgrade's list, so the helper leaves it alone.
        TFrmUpdate form;
        env.writeFile(QStringLiteral("content.dat"), "phrases");
        env.writeFile(QStringLiteral("content.dat.uTMP"), "cut off");
        env.writeFile(QStringLiteral("notes.exe.uTMP"), "#!/bin/sh\n");

        // Links planted where the helper once lived are never written through.
        QTemporaryDir victim;
        const QString notes = victim.filePath(QStringLiteral("notes.txt"));
        QVERIFY(writeAll(notes, "my notes"));
        for (const QString& base : { m_temp.path(), m_runtime })
            QVERIFY(QFile::link(notes, base + QStringLiteral("/UpdateHelper")));

        // The information file, its signature and the program each sit behind redirects, as on a mirror.
        LoopbackHttpServer server;
        LoopbackHttpServer mirror;
        const QByteArray info = infoFile({ { server.url(QStringLiteral("/update/vantrel")), standInImage("new") },
                                           { server.url(QStringLiteral("/update/readme.txt")), "new readme" } },
                                         "new skins");
        serveSigned(mirror, "/files/helper.inf", info, m_key);
        const auto redirect = [](const QString& to) {
            return LoopbackHttpServer::response(302, "", true, "Location: " + to.toLatin1() + "\r\n");
        };
        server.route(InfoPath, redirect(mirror.url(QStringLiteral("/files/helper.inf"))));
        server.route(InfoPath + ".minisig", redirect(mirror.url(QStringLiteral("/files/helper.inf.minisig"))));
        server.route("/update/vantrel", redirect(mirror.url(QStringLiteral("/files/v/vantrel"))));
        mirror.route("/files/v/vantrel", redirect(QStringLiteral("/files/vantrel-2.4")));
        mirror.route("/files/vantrel-2.4", LoopbackHttpServer::response(200, standInImage("new")));
        server.route(
            "/update/readme.txt",
            LoopbackHttpServer::response(200, "new readme", true, "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT\r\n"));

        form.AppUpdater1->setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        QString folder;
        QByteArray helperImage;
        QByteArray installList;
        QFileDevice::Permissions folderPermissions;
        m_starter.onStart = [&](const FakeProcessStarter::Start& start) {
            folder = start.workingDirectory;
            helperImage = readAll(start.program);
            installList = readAll(folder + QStringLiteral("/install.list"));
            folderPermissions = QFileInfo(folder).permissions();
        };
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

        // The helper was written byte for byte into a new folder of this user alone, with the list of exactly
        // this upgrade's files and their hashes, and started from there.
        QCOMPARE(m_starter.starts.size(), 1);
        QCOMPARE(QFileInfo(folder).absolutePath(), m_runtime);
        QVERIFY(QFileInfo(folder).fileName().startsWith(QLatin1String("vantrel-update-")));
        QCOMPARE(m_starter.starts.first().program, folder + QStringLiteral("/UpdateHelper"));
        QCOMPARE(m_starter.starts.first().arguments, (QStringList{ program, QStringLiteral("+/afterupgrade0") }));
        QCOMPARE(folderPermissions,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadUser
                     | QFileDevice::WriteUser | QFileDevice::ExeUser);
        QCOMPARE(helperImage, readAll(QStringLiteral(UPDATE_HELPER_PATH)));
        QCOMPARE(installList,
                 QCryptographicHash::hash(standInImage("new"), QCryptographicHash::Sha256).toHex() + " vantrel\n"
                     + QCryptographicHash::hash("new readme", QCryptographicHash::Sha256).toHex() + " readme.txt\n");

        QCOMPARE(waitForStarts(env.appDir(), 1), QStringList{ QStringLiteral("vantrel|/afterupgrade") });
        QCOMPARE(readAll(program), standInImage("new"));
        QVERIFY(QFileInfo(program).isExecutable());
        // Last-Modified became the access time (Linux keeps no creation time a program could set); checked before
        // anything reads the file.
        QCOMPARE(QFileInfo(env.path(QStringLiteral("readme.txt"))).lastRead().toUTC(),
                 QDateTime(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC));
        QCOMPARE(env.readFile(QStringLiteral("readme.txt")), QByteArray("new readme"));
        QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("notes.exe"))));
        QCOMPARE(env.readFile(QStringLiteral("content.dat")), QByteArray("phrases"));
        QCOMPARE(leftovers(env.appDir()),
                 (QStringList{ QStringLiteral("content.dat.uTMP"), QStringLiteral("notes.exe.uTMP") }));
        // The helper clears its folder when it is done.
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(folder), 10000);

        // The restarted program's update component removes stale downloads and the helper folders of earlier
        // upgrades, but never follows a link planted among them.
        QVERIFY(QDir().mkpath(m_runtime + QStringLiteral("/vantrel-update-old1")));
        QVERIFY(writeAll(victim.filePath(QStringLiteral("keep.txt")), "keep"));
        QVERIFY(QFile::link(victim.path(), m_runtime + QStringLiteral("/vantrel-update-link")));
        TAppUpdater restarted;
        QCOMPARE(leftovers(env.appDir()), QStringList());
        QVERIFY(!QFileInfo::exists(m_runtime + QStringLiteral("/vantrel-update-old1")));
        QCOMPARE(readAll(victim.filePath(QStringLiteral("keep.txt"))), QByteArray("keep"));
        QCOMPARE(readAll(notes), QByteArray("my notes"));
        UpdateHandOver::setProgramPathForTesting(QString());
    }
};

QTEST_MAIN(TestUpdateEndToEnd)
#include "TestUpdateEndToEnd.moc"
