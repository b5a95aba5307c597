// The download sequence and the update windows, against a loopback server in a temporary program folder. Where an
// upgrade runs to its end, the real replacement helper installs the files and restarts the stand-in program.

#include "UpdateScenario.h"

#include "FakeProcessStarter.h"
#include "TestEnvironment.h"
#include "platform/Services.h"
#include "text/TextLines.h"
#include "update/TAppUpdater.h"
#include "update/TAppUpdaterPasswordForm.h"
#include "update/TAppUpdaterQuestionForm.h"
#include "update/TAppUpdaterWizardForm.h"
#include "update/TFrmUpdate.h"
#include "update/UpdateHandOver.h"
#include "update/UpdateWindows.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace UpdateTestSupport;

class TestUpdateDownload : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_temp; ///< the temporary folder of this test process, where the helper folders are made
    FakeProcessStarter m_starter; ///< starts the real helper, and shows what was started
    TestSigningKey m_key;

    /// An updater of the program folder that asks nothing but the missing-file question and shows no wizard.
    void configureQuiet(TAppUpdater& updater, const LoopbackHttpServer& server)
    {
        updater.setUpdatePublicKey(m_key.publicKey());
        updater.setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        updater.setVersionControl(byNumber);
        updater.setVersionNumber(QStringLiteral("2.3"));
        TAppUpdaterShowMessagesSet messages = TAppUpdaterShowMessagesSet::all();
        messages.exclude(mAskUpgrade);
        updater.setShowMessages(messages);
        updater.Wizard().Enabled = false;
    }

private slots:
    void initTestCase()
    {
        // Each test process writes its helper folders into its own temporary folder.
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("VANTREL_UPDATE_PUBLIC_KEY", m_key.publicKey().toLatin1());
        m_starter.startForReal = true;
        Services::setProcessStarter(&m_starter);
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));
        UpdateMessages::setSystemLocaleForTesting(QLocale(QStringLiteral("zh_CN")));
        UpdateWindows::installOnce();
    }

    void init() { m_starter.starts.clear(); }
    void cleanupTestCase() { Services::setProcessStarter(nullptr); }

    void names_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("tempName");
        QTest::newRow("file") << "http://host/update/helper.exe"
                              << "helper.exe.uTMP";
        QTest::newRow("backslashes") << "http://host/a\\b\\notes.txt"
                                     << "notes.txt.uTMP";
        QTest::newRow("no path") << "http://host:8080"
                                 << "8080.uTMP";
        QTest::newRow("folder address") << "http://host/files/"
                                        << ".uTMP";
    }
    void names()
    {
        QFETCH(QString, url);
        QFETCH(QString, tempName);
        TestEnvironment env;
        QCOMPARE(UpdateHandOver::TempFileName(url), env.appDir() + tempName);
    }

    void totalPercents_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("percents");
        QTest::addColumn<int>("total");
        QTest::newRow("second of two, starting") << 1 << 2 << 0 << 50;
        QTest::newRow("second of two, halfway") << 1 << 2 << 50 << 75;
        QTest::newRow("12.5 rounds to even 12") << 1 << 8 << 0 << 12;
        QTest::newRow("37.5 rounds to even 38") << 3 << 8 << 0 << 38;
        QTest::newRow("percentage divided") << 0 << 3 << 100 << 33;
    }
    void totalPercents()
    {
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(int, percents);
        QFETCH(int, total);
        QCOMPARE(int(UpdateHandOver::TotalPercentsDone(index, count, quint8(percents))), total);
    }

    void missingFileQuestion_data()
    {
        QTest::addColumn<bool>("skip");
        QTest::newRow("Yes installs the others") << true;
        QTest::newRow("No aborts and leaves nothing") << false;
    }
    void missingFileQuestion()
    {
        QFETCH(bool, skip);
        TestEnvironment env;
        const QString program = env.path(QStringLiteral("vantrel"));
        QVERIFY(installStandIn(program));
        UpdateHandOver::setProgramPathForTesting(program);
        LoopbackHttpServer server;
        serveSigned(server, InfoPath,
                    infoFile({ { server.url(QStringLiteral("/f/one.txt")), "one" },
                               { server.url(QStringLiteral("/f/two.txt")), "two" },
                               { server.url(QStringLiteral("/f/three.txt")), "three" } }),
                    m_key);
        server.route("/f/one.txt", LoopbackHttpServer::response(200, "one"));
        server.route("/f/three.txt", LoopbackHttpServer::response(200, "three"));

        TAppUpdater updater;
        configureQuiet(updater, server);
        bool ended = false;
        bool aborted = false;
        updater.OnDoOwnCloseAppMethod = [&] { ended = true; };
        updater.OnAborted = [&] { aborted = true; };
        env.dialogs.setNextAnswer(skip ? MsgAnswer::Yes : MsgAnswer::No);
        updater.StartUpdateCheck();
        QTRY_VERIFY_WITH_TIMEOUT(ended || aborted, 15000);

        QCOMPARE(env.dialogs.boxes.size(), 1);
        QCOMPARE(env.dialogs.boxes.first().caption, QStringLiteral("错误 #404"));
        QCOMPARE(env.dialogs.boxes.first().text,
                 QStringLiteral("文档two.txt找不到或者发生错误，\n\n您要忽略这个文档并且继续升级操作吗？"));
        QCOMPARE(env.dialogs.boxes.first().buttons, MsgButtons::YesNo);
        if (skip) {
            QCOMPARE(waitForStarts(env.appDir(), 1), QStringList{ QStringLiteral("vantrel|/afterupgrade") });
            QCOMPARE(env.readFile(QStringLiteral("one.txt")), QByteArray("one"));
            QCOMPARE(env.readFile(QStringLiteral("three.txt")), QByteArray("three"));
            QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("two.txt"))));
        } else {
            QVERIFY(!ended);
            QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("one.txt"))));
            QVERIFY(m_starter.starts.isEmpty());
        }
        QCOMPARE(leftovers(env.appDir()), QStringList());
        UpdateHandOver::setProgramPathForTesting(QString());
    }

    void downloadsThatFailTheirCheck_data()
    {
        QTest::addColumn<QByteArray>("answer"); // what the server sends for the program file
        QTest::addColumn<bool>("endless"); // the server keeps the connection open after the answer
        QTest::addColumn<int>("message");

        const QByteArray program = "PROGRAM 2.4"; // what the signed information file describes
        const int mismatch = UpdateMessages::MsgFileMismatch;
        QTest::newRow("tampered download") << LoopbackHttpServer::response(200, "PROGRAM 6.6") << false << mismatch;
        QTest::newRow("short download") << LoopbackHttpServer::response(200, "PROGRAM") << false << mismatch;
        QTest::newRow("oversized file") << LoopbackHttpServer::response(200, program + QByteArray(500000, 'x')) << false
                                        << mismatch;
        QTest::newRow("endless body") << QByteArray("HTTP/1.1 200 OK\r\n\r\n" + program + QByteArray(500000, 'x'))
                                      << true << mismatch;
        QTest::newRow("malformed chunking")
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n7\r\nPROGRAM\r\nq\r\n 2.4\r\n0\r\n\r\n")
            << true << 30;
    }

    void downloadsThatFailTheirCheck()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, endless);
        QFETCH(int, message);
        TestEnvironment env;
        const QString program = env.path(QStringLiteral("vantrel"));
        QVERIFY(installStandIn(program));
        UpdateHandOver::setProgramPathForTesting(program);
        LoopbackHttpServer server;
        serveSigned(server, InfoPath,
                    infoFile({ { server.url(QStringLiteral("/f/lib.dat")), "library" },
                               { server.url(QStringLiteral("/f/vantrel")), "PROGRAM 2.4" } }),
                    m_key);
        server.route("/f/lib.dat", LoopbackHttpServer::response(200, "library"));
        server.route("/f/vantrel", [&](const LoopbackHttpServer::Request&) {
            return LoopbackHttpServer::Answer{ answer, !endless };
        });

        TAppUpdater updater;
        configureQuiet(updater, server);
        bool handedOver = false;
        updater.OnDoOwnCloseAppMethod = [&] { handedOver = true; };
        updater.StartUpdateCheck();
        QTRY_VERIFY_WITH_TIMEOUT(!env.dialogs.boxes.isEmpty(), 15000);
        QTest::qWait(100);

        QCOMPARE(
            env.dialogs.texts(),
            QStringList{ withLineFeeds(UpdateMessages::Format(LoadMessage(message), { QStringLiteral("vantrel") })) });
        QVERIFY(!updater.IsBusy());
        QVERIFY(!handedOver);
        QVERIFY(m_starter.starts.isEmpty());
        QCOMPARE(leftovers(env.appDir()), QStringList()); // the verified first file goes too
        QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("lib.dat"))));
        QCOMPARE(readAll(program), standInImage("old"));
        UpdateHandOver::setProgramPathForTesting(QString());
    }

    void sizeRule_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QByteArray>("localData");
        QTest::addColumn<QList<bool>>("fetched");
        QTest::newRow("one file of unchanged size")
            << QStringList{ QStringLiteral("data.txt") } << QByteArray("12345") << QList<bool>{ true };
        QTest::newRow("two files, unchanged one skipped")
            << QStringList{ QStringLiteral("data.txt"), QStringLiteral("vantrel") } << QByteArray("12345")
            << QList<bool>{ false, true };
        QTest::newRow("two files, changed one fetched")
            << QStringList{ QStringLiteral("data.txt"), QStringLiteral("vantrel") } << QByteArray("1234")
            << QList<bool>{ true, true };
    }
    void sizeRule()
    {
        QFETCH(QStringList, files);
        QFETCH(QByteArray, localData);
        QFETCH(QList<bool>, fetched);
        TestEnvironment env;
        // The local program has the server's size too; the program's own file is fetched regardless.
        env.writeFile(QStringLiteral("vantrel"), "PROGRAM");
        env.writeFile(QStringLiteral("data.txt"), localData);
        UpdateHandOver::setProgramPathForTesting(env.path(QStringLiteral("vantrel")));
        LoopbackHttpServer server;
        QList<Listed> listed;
        for (const QString& file : files)
            listed.append({ server.url(QStringLiteral("/f/") + file),
                            file == QLatin1String("vantrel") ? QByteArray("PROGRAM") : QByteArray("12345") });
        serveSigned(server, InfoPath, infoFile(listed), m_key);
        server.route("/f/data.txt", LoopbackHttpServer::response(200, "12345"));
        server.route("/f/vantrel", LoopbackHttpServer::response(200, "PROGRAM"));

        TAppUpdater updater;
        configureQuiet(updater, server);
        updater.setMiscFilesUpgrade(mfuOnlyIfSizeDifferent);
        QList<bool> started;
        updater.OnFileStart
            = [&](const QString&, qint64, const QDateTime&, bool& canUpgrade) { started << canUpgrade; };
        // Stop before the hand-over once the last file is in.
        updater.OnFileDone = [&](const QString& name) {
            if (name.endsWith(files.last() + QStringLiteral(".uTMP")))
                updater.AbortUpgrade();
        };
        updater.StartUpdateCheck();
        QTRY_VERIFY_WITH_TIMEOUT(updater.Aborted(), 15000);
        QCOMPARE(started, fetched);
        QCOMPARE(leftovers(env.appDir()), QStringList());
        UpdateHandOver::setProgramPathForTesting(QString());
    }

    void questionShowsTheReleaseNote_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("text");
        QTest::newRow("no message") << QByteArray() << "Vantrel已经有新版本推出，\n\n您要升级到新版本吗？";
        QTest::newRow("two lines") << QByteArray("修正错误\r\n新的皮肤")
                                   << "Vantrel已经有新版本推出，\n\n修正错误\n新的皮肤\n\n您要升级到新版本吗？";
    }
    void questionShowsTheReleaseNote()
    {
        QFETCH(QByteArray, message);
        QFETCH(QString, text);
        TestEnvironment env;
        LoopbackHttpServer server;
        serveSigned(server, InfoPath, infoFile({ { server.url(QStringLiteral("/f/one.txt")), "one" } }, message),
                    m_key);
        TFrmUpdate form;
        form.AppUpdater1->setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        bool later = false;
        form.AppUpdater1->OnLaterUpgrade = [&] { later = true; };
        QString shown;
        QStringList buttons;
        Autopilot pilot([&] {
            if (TAppUpdaterQuestionForm* question = TAppUpdaterQuestionForm::instance();
                question && question->isVisible()) {
                shown = question->Label1->text();
                buttons = { question->windowTitle(), question->YesBtn->text(), question->LaterBtn->text() };
                question->LaterBtn->click();
            }
        });
        form.Button1->click();
        QTRY_VERIFY_WITH_TIMEOUT(later, 15000);
        QCOMPARE(shown, text);
        QCOMPARE(
            buttons,
            (QStringList{ QStringLiteral("软件升级精灵"), QStringLiteral("[&Y]是"), QStringLiteral("[&L]稍等一下") }));
        QCOMPARE(server.requests.size(), 2); // the information file and its signature, nothing downloaded
    }

    void twoPressesStartOneCheck()
    {
        TestEnvironment env;
        LoopbackHttpServer server;
        serveSigned(server, InfoPath, "#version=2.3\r\n", m_key);
        TFrmUpdate form;
        form.AppUpdater1->setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        QCOMPARE(form.windowTitle(), QStringLiteral("更新"));
        form.Button1->click();
        form.Button1->click();
        QTRY_COMPARE_WITH_TIMEOUT(form.windowTitle(), QStringLiteral("No Update"), 15000);
        QTest::qWait(200);
        QCOMPARE(server.requests.size(), 2); // the information file and its signature
        QCOMPARE(env.dialogs.texts(), QStringList{ QStringLiteral("没有发现新的版本，您目前已经是最新版本。") });
        QCOMPARE(env.dialogs.boxes.first().caption, QStringLiteral("软件升级精灵"));

        form.show();
        form.Button2->click();
        form.show();
        QCOMPARE(form.windowTitle(), QStringLiteral("No Update"));
    }

    void wizardCloseQuestion_data()
    {
        QTest::addColumn<bool>("finished");
        QTest::newRow("while downloading") << false;
        QTest::newRow("in the finished state") << true;
    }
    void wizardCloseQuestion()
    {
        QFETCH(bool, finished);
        TestEnvironment env;
        LoopbackHttpServer server;
        // While downloading, the first file stalls after its first kilobyte.
        const QByteArray big(100000, 'x');
        serveSigned(server, InfoPath,
                    infoFile({ { server.url(QStringLiteral("/f/big.bin")), big },
                               { server.url(QStringLiteral("/f/small.txt")), "small" } }),
                    m_key);
        server.route("/f/big.bin", [&](const LoopbackHttpServer::Request&) {
            const QByteArray whole = LoopbackHttpServer::response(200, big);
            return LoopbackHttpServer::Answer{ finished ? whole : whole.left(whole.size() - big.size() + 1024),
                                               finished };
        });
        server.route("/f/small.txt", LoopbackHttpServer::response(200, "small"));

        TFrmUpdate form;
        TAppUpdater* updater = form.AppUpdater1;
        updater->setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        bool handedOver = false;
        updater->OnDoOwnCloseAppMethod = [&] { handedOver = true; };

        enum { Asking, KeepGoing, Abort, Done } stage = Asking;
        bool wasBusyAfterNo = false;
        Autopilot pilot([&] {
            if (TAppUpdaterQuestionForm* question = TAppUpdaterQuestionForm::instance();
                question && question->isVisible())
                question->YesBtn->click();
            TAppUpdaterWizardForm* wizard = TAppUpdaterWizardForm::instance();
            if (!wizard)
                return;
            const bool ready = finished ? wizard->IsFinished() : !wizard->TransferRateLab->text().isEmpty();
            if (stage == Asking && ready) {
                env.dialogs.setNextAnswer(MsgAnswer::No);
                wizard->CancelBtn->isEnabled() ? wizard->CancelBtn->click() : void(wizard->close());
                wasBusyAfterNo = TAppUpdaterWizardForm::instance() == wizard && (finished || updater->IsBusy());
                stage = KeepGoing;
            } else if (stage == KeepGoing) {
                env.dialogs.setNextAnswer(MsgAnswer::Yes);
                wizard->close(); // the title bar's close button
                stage = Done;
            }
        });
        form.Button1->click();
        QTRY_COMPARE_WITH_TIMEOUT(form.windowTitle(), QStringLiteral("Upgrade aborted"), 20000);

        QVERIFY(wasBusyAfterNo);
        QCOMPARE(env.dialogs.boxes.size(), 2);
        QCOMPARE(env.dialogs.boxes.first().text, QStringLiteral("升级操作尚未完成，\n您确定要放弃升级吗？"));
        QCOMPARE(env.dialogs.boxes.first().caption, QStringLiteral("Vantrel"));
        QCOMPARE(env.dialogs.boxes.first().icon, MsgIcon::Question);
        QTRY_VERIFY(!TAppUpdaterWizardForm::instance());
        QCOMPARE(form.ProgressBar1->value(), 0);
        QVERIFY(!updater->IsBusy());
        QVERIFY(!handedOver);
        QVERIFY(m_starter.starts.isEmpty());
        QCOMPARE(leftovers(env.appDir()), QStringList());
    }

    void wizardTexts()
    {
        TestEnvironment env;
        TAppUpdater updater;
        TAppUpdaterWizardForm* wizard = TAppUpdaterWizardForm::ShowFor(updater);
        QCOMPARE(wizard->windowTitle(), QStringLiteral("软件升级精灵"));
        QCOMPARE(wizard->WizardTitle->text(), QStringLiteral("文档下载中"));
        QCOMPARE(wizard->LCurrentFile->title(), QStringLiteral(" 当前的文档 "));
        QCOMPARE(wizard->EstimatedTimeLeftLab->text(), QStringLiteral("准备中"));
        QCOMPARE(wizard->AboutLabel->text(), QStringLiteral(" AppUpdater "));
        QVERIFY(!wizard->FinishBtn->isEnabled());
        QVERIFY(wizard->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        wizard->SetFinished();
        QCOMPARE(wizard->WizardTitle->text(), QStringLiteral("升级完成！"));
        QCOMPARE(wizard->AfterNote->text(), QStringLiteral("Vantrel 已经升级完成，\n\n请按[确定]键重新启动程序"));
        QVERIFY(wizard->LCurrentFile->isHidden());
        QVERIFY(!wizard->CancelBtn->isEnabled());
        QCOMPARE(wizard->FinishBtn->text(), QStringLiteral("[&O]确定"));
        wizard->FinishBtn->click(); // no question in the way of the finish button
        QVERIFY(env.dialogs.boxes.isEmpty());
        QTRY_VERIFY(!TAppUpdaterWizardForm::instance());
    }

    void passwordWindow_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK retries with the typed credentials") << true;
        QTest::newRow("Cancel aborts") << false;
    }
    void passwordWindow()
    {
        QFETCH(bool, confirm);
        TestEnvironment env;
        LoopbackHttpServer server;
        const QByteArray info = "#version=2.3\r\n";
        for (const QByteArray& answer : { info, m_key.sign(info) }) {
            server.route(answer == info ? InfoPath : InfoPath + ".minisig",
                         [answer](const LoopbackHttpServer::Request& request) {
                             if (request.headers.value("authorization") == "Basic dXNlcjpzZWNyZXQ=") // user:secret
                                 return LoopbackHttpServer::Answer{ LoopbackHttpServer::response(200, answer) };
                             return LoopbackHttpServer::Answer{ LoopbackHttpServer::response(
                                 401, "locked", true, "WWW-Authenticate: Basic realm=\"upd\"\r\n") };
                         });
        }
        TFrmUpdate form;
        form.AppUpdater1->setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        form.AppUpdater1->setHTTPUsername(QStringLiteral("guest"));
        QString label;
        QString userShown;
        Autopilot pilot([&] {
            TAppUpdaterPasswordForm* password = TAppUpdaterPasswordForm::instance();
            if (!password || !password->isVisible())
                return;
            label = password->Label1->text();
            userShown = password->UsernameEdit->text();
            password->UsernameEdit->setText(QStringLiteral("user"));
            password->PasswordEdit->setText(QStringLiteral("secret"));
            (confirm ? password->OKBtn : password->CancelBtn)->click();
        });
        form.Button1->click();
        QTRY_VERIFY_WITH_TIMEOUT(form.windowTitle() != QStringLiteral("更新"), 15000);

        QCOMPARE(label, QStringLiteral("远端文档\"helper.inf\"受密码保护，\n\n请输入帐号和密码以继续升级操作。"));
        QCOMPARE(userShown, QStringLiteral("guest"));
        if (confirm) {
            QCOMPARE(form.windowTitle(), QStringLiteral("No Update"));
            QCOMPARE(server.requests.last().headers.value("authorization"), QByteArray("Basic dXNlcjpzZWNyZXQ="));
            QCOMPARE(form.AppUpdater1->HTTPPassword(), QStringLiteral("secret"));
        } else {
            QCOMPARE(form.windowTitle(), QStringLiteral("Upgrade aborted"));
            QCOMPARE(form.ProgressBar1->value(), 0);
            QCOMPARE(server.requests.last().headers.value("authorization"), QByteArray("Basic Z3Vlc3Q6")); // guest:
            QCOMPARE(form.AppUpdater1->HTTPUsername(), QStringLiteral("guest"));
        }
    }
};

QTEST_MAIN(TestUpdateDownload)
#include "TestUpdateDownload.moc"
