#include "LoopbackHttpServer.h"
#include "SignedUpdates.h"
#include "fakes/TestEnvironment.h"
#include "text/TextLines.h"
#include "update/TAppUpdater.h"
#include "update/UpdateConstants.h"
#include "update/UpdateHandOver.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray InfoPath = "/update/helper/helper.inf";

QStringList seq(const char* words)
{
    return words[0] ? QString::fromUtf8(words).split(QStringLiteral(", ")) : QStringList();
}

/// Stands in for the question and password windows.
class FakeUpdaterWindows : public TAppUpdaterWindows
{
public:
    bool askUpgrade(TAppUpdater&, const QString& message) override
    {
        questions << message;
        return answerYes;
    }
    bool requestPassword(TAppUpdater& updater, const QString& realm) override
    {
        realms << realm;
        if (passwordOk) {
            updater.setHTTPUsername(QStringLiteral("ann"));
            updater.setHTTPPassword(QStringLiteral("s3cret"));
        }
        return passwordOk;
    }
    void closeWindows() override { ++closed; }

    QStringList questions;
    QStringList realms;
    bool answerYes = true;
    bool passwordOk = true;
    int closed = 0;
};

/// The component with a switchable network state and its timer tick reachable.
class TestableUpdater : public TAppUpdater
{
public:
    bool online = false;
    bool IsInternetConnected() const override { return online; }
    using TAppUpdater::CheckTimerTick;
};

/// Records the component's events as short words.
struct EventLog
{
    QStringList log;

    void attach(TAppUpdater& u)
    {
        u.OnBeginUpgrade = [this](const QString& message, TUpgradeMethod method, const QStringList& files, bool&) {
            log << QStringLiteral("begin %1 %2 %3").arg(message).arg(int(method)).arg(files.join(QLatin1Char(' ')));
        };
        u.OnLaterUpgrade = [this] { log << QStringLiteral("later"); };
        u.OnNoUpdateAvailable = [this] { log << QStringLiteral("no update"); };
        u.OnNoInfoFile = [this] { log << QStringLiteral("no info file"); };
        u.OnConnLost = [this] { log << QStringLiteral("connection lost"); };
        u.OnHostUnreachable
            = [this](const QString&, const QString& host) { log << QStringLiteral("unreachable ") + host; };
        u.OnAborted = [this] { log << QStringLiteral("aborted"); };
        u.OnLostFile = [this](const QString&, int code, bool&) { log << QStringLiteral("lost file %1").arg(code); };
    }
};

QString boxText(int message)
{
    return withLineFeeds(LoadMessage(message));
}

} // namespace

class TestAppUpdater : public QObject
{
    Q_OBJECT

private:
    FakeUpdaterWindows m_windows;
    TestSigningKey m_key;

private slots:
    void init()
    {
        m_windows = FakeUpdaterWindows();
        TAppUpdater::setWindows(&m_windows);
    }
    void cleanup() { TAppUpdater::setWindows(nullptr); }

    void defaults()
    {
        TestEnvironment env; // today is 12/10/2026
        TAppUpdater updater;
        QCOMPARE(updater.ShowMessages().mask(), 75);
        QCOMPARE(TAppUpdaterShowMessagesSet::all().mask(), 127);
        QCOMPARE(updater.RestartParams(), QStringLiteral("/afterupgrade"));
        QCOMPARE(updater.VersionDate(), QStringLiteral("12/10/2026"));
        QCOMPARE(updater.InfoFileURL(), QStringLiteral("http://"));
        QCOMPARE(updater.VersionControl(), byDate);
        QCOMPARE(updater.MiscFilesUpgrade(), mfuAlwaysDownload);
        QVERIFY(updater.VersionDateAutoSet());
        QVERIFY(updater.VersionNumber().isEmpty());
        QVERIFY(!updater.AutoCheck());
        QVERIFY(updater.HideTargetFile());
        QCOMPARE(updater.TransferBufferSize(), 4096);
        QCOMPARE(updater.Proxy().AccessType, atPreconfig);
        QCOMPARE(updater.Proxy().ProxyPort, 8080);
        QCOMPARE(updater.Proxy().ProxyBypass, QStringLiteral("127.0.0.1;"));
        QVERIFY(updater.Wizard().Enabled);
        QVERIFY(updater.Wizard().StayOnTop);
        QCOMPARE(updater.Wizard().Language(), wlAuto);

        updater.setRestartParams(QString());
        QCOMPARE(updater.RestartParams(), QStringLiteral(" "));
        updater.setTransferBufferSize(10);
        QCOMPARE(updater.TransferBufferSize(), 255);

        // Ordinals are part of the stored settings.
        QCOMPARE(int(umRedirectToURL), 2);
        QCOMPARE(int(mfuOnlyIfSizeDifferent), 1);
        QCOMPARE(int(byNumber), 1);
        QCOMPARE(int(mPasswordRequest), 6);
        QCOMPARE(int(atUseProxy), 2);
    }

    void checkFlow_data()
    {
        QTest::addColumn<QByteArray>("info");
        QTest::addColumn<int>("showMessages");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<bool>("canUpgrade");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<int>("noUpdateBoxes");
        QTest::addColumn<QStringList>("opened");

        const int all = TAppUpdaterShowMessagesSet::all().mask();
        const int quiet = TAppUpdaterShowMessagesSet{ mAskUpgrade }.mask();
        const QByteArray checked = fileChecks("", "app");
        const QByteArray newer = "#version=2.4\r\n#url=%1/app\r\n" + checked + "#message={Faster.\r\nSafer.}\r\n";
        QTest::newRow("newer, answered Later")
            << newer << all << false << true << seq("begin Faster.\r\nSafer. 0 %1/app, later")
            << seq("Faster.\r\nSafer.") << 0 << QStringList();
        QTest::newRow("newer, refused by OnBeginUpgrade")
            << newer << all << true << false << seq("begin Faster.\r\nSafer. 0 %1/app, later") << QStringList() << 0
            << QStringList();
        QTest::newRow("not newer, from the button") << QByteArray("#version=2.3\n#url=%1/app\n") << all << true << true
                                                    << seq("no update") << QStringList() << 1 << QStringList();
        QTest::newRow("not newer, message not chosen")
            << QByteArray("#version=2.3\n#url=%1/app\n") << quiet << true << true << seq("no update") << QStringList()
            << 0 << QStringList();
        QTest::newRow("newer but no address") << QByteArray("#version=2.4\n#url2=%1/app\n") << all << true << true
                                              << seq("no update") << QStringList() << 1 << QStringList();
        QTest::newRow("method 2 opens only the first address")
            << QByteArray("#version=2.4\n#url=%1/page\n#url0=%1/other\n#method=2\n#message={See}") << all << true
            << true << seq("begin See 2 %1/page %1/other") << seq("See") << 0 << seq("%1/page");
        QTest::newRow("message without closing brace, method 1")
            << QByteArray("#version=2.4\n#url=%1/page\n" + checked + "#method=1\n#message={Open end\n") << all << false
            << true << seq("begin Open end\n 1 %1/page, later") << seq("Open end\n") << 0 << QStringList();
        QTest::newRow("accepted without a question hands over to the downloads")
            << QByteArray("#version=2.4\n#url=%1/missing.bin\n" + checked) << 0 << true << true
            << seq("begin  0 %1/missing.bin, lost file 404, aborted") << QStringList() << 0 << QStringList();
    }

    void checkFlow()
    {
        QFETCH(QByteArray, info);
        QFETCH(int, showMessages);
        QFETCH(bool, answerYes);
        QFETCH(bool, canUpgrade);
        QFETCH(QStringList, events);
        QFETCH(QStringList, questions);
        QFETCH(int, noUpdateBoxes);
        QFETCH(QStringList, opened);

        TestEnvironment env;
        LoopbackHttpServer server;
        const QString base = server.url(QString());
        serveSigned(server, InfoPath, QString::fromLatin1(info).replace(QLatin1String("%1"), base).toLatin1(), m_key);
        // Should a row wrongly reach the end of the downloads, the helper finds no program to replace or restart,
        // and the test process is not asked to end.
        QTemporaryDir standIn;
        UpdateHandOver::setProgramPathForTesting(standIn.filePath(QStringLiteral("no-program")));
        env.dialogs.setNextAnswer(MsgAnswer::No); // and a missing file is not skipped
        for (QString& e : events)
            e.replace(QLatin1String("%1"), base);
        for (QString& o : opened)
            o.replace(QLatin1String("%1"), base);

        TAppUpdater updater;
        updater.setUpdatePublicKey(m_key.publicKey());
        updater.Wizard().Enabled = false;
        updater.setVersionControl(byNumber);
        updater.setVersionNumber(QStringLiteral("2.3"));
        updater.setShowMessages(TAppUpdaterShowMessagesSet(showMessages));
        updater.setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        EventLog log;
        log.attach(updater);
        updater.OnDoOwnCloseAppMethod = [&] { log.log << QStringLiteral("closing"); };
        auto begin = updater.OnBeginUpgrade;
        updater.OnBeginUpgrade = [&](const QString& m, TUpgradeMethod method, const QStringList& files, bool& can) {
            QVERIFY(can);
            begin(m, method, files, can);
            can = canUpgrade;
        };
        m_windows.answerYes = answerYes;

        updater.StartUpdateCheck();
        QVERIFY(updater.InfoPhase());
        QTRY_VERIFY_WITH_TIMEOUT(!updater.IsBusy() && log.log.size() >= events.size(), 10000);
        QTest::qWait(50);
        QCOMPARE(log.log, events);
        QCOMPARE(m_windows.questions, questions);
        QCOMPARE(env.dialogs.texts().count(boxText(24)), noUpdateBoxes);
        QCOMPARE(env.shell.opened, opened);
        QCOMPARE(server.requests.first().headers.value("cache-control"), QByteArray("no-cache"));
        UpdateHandOver::setProgramPathForTesting(QString());
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("info"); // "%1" stands for the server's address
        QTest::addColumn<QString>("signature"); // how the signature file is made, see refusals()
        QTest::addColumn<int>("message"); // the one box shown; -1: accepted, the question is asked
        QTest::addColumn<QString>("argument"); // of the message, "%1" as above

        const QByteArray good = "#version=2.4\n#url=%1/f/app\n" + fileChecks("", "app") + "#message={New}\n";
        using namespace UpdateMessages;
        QTest::newRow("signed, hashed by minisign") << good << "good" << -1 << "";
        QTest::newRow("signed the older way") << good << "legacy" << -1 << "";
        QTest::newRow("no key built in") << good << "no key" << int(MsgNoPublicKey) << "";
        QTest::newRow("unsigned") << good << "none" << int(MsgSignatureMissing)
                                  << "%1/update/helper/helper.inf.minisig";
        QTest::newRow("malformed signature") << good << "garbage" << int(MsgSignatureMalformed) << "";
        QTest::newRow("signed with another key") << good << "other key" << int(MsgSignatureWrongKey) << "";
        QTest::newRow("information file altered") << good << "altered file" << int(MsgSignatureInvalid) << "";
        QTest::newRow("trusted comment altered") << good << "altered comment" << int(MsgSignatureInvalid) << "";
        QTest::newRow("older signed version")
            << QByteArray("#version=2.2\n#url=%1/f/app\n" + fileChecks("", "app")) << "good" << 24 << "";
        QTest::newRow("same signed version")
            << QByteArray("#version=2.3.0\n#url=%1/f/app\n" + fileChecks("", "app")) << "good" << 24 << "";
        QTest::newRow("file without size and hash")
            << QByteArray("#version=2.4\n#url=%1/f/app\n#url0=%1/f/lib\n" + fileChecks("", "app")) << "good"
            << int(MsgEntryUnverified) << "%1/f/lib";
        QTest::newRow("file without hash")
            << QByteArray("#version=2.4\n#url=%1/f/app\n#size=3\n") << "good" << int(MsgEntryUnverified) << "%1/f/app";
        QTest::newRow("local file") << QByteArray("#version=2.4\n#url=file:///etc/hostname\n" + fileChecks("", "x"))
                                    << "good" << int(MsgLocalAddress) << "file:///etc/hostname";
        QTest::newRow("local page for the browser") << QByteArray("#version=2.4\n#url=FILE:///etc/passwd\n#method=2\n")
                                                    << "good" << int(MsgLocalAddress) << "FILE:///etc/passwd";
        QTest::newRow("information file over 1 MB") << QByteArray(good + QByteArray(TAppUpdater::InfoFileLimit, ' '))
                                                    << "good" << int(MsgInfoFileTooLarge) << "";
    }

    void refusals()
    {
        QFETCH(QByteArray, info);
        QFETCH(QString, signature);
        QFETCH(int, message);
        QFETCH(QString, argument);

        TestEnvironment env;
        LoopbackHttpServer server;
        const QString base = server.url(QString());
        info.replace("%1", base.toLatin1());
        argument.replace(QLatin1String("%1"), base);
        QByteArray signatureFile = m_key.sign(info, signature != QLatin1String("legacy"));
        if (signature == QLatin1String("garbage"))
            signatureFile = "untrusted comment: nothing\nRWQ not a signature\ntrusted comment: x\nAAAA\n";
        else if (signature == QLatin1String("other key"))
            signatureFile = TestSigningKey().sign(info);
        else if (signature == QLatin1String("altered file"))
            info.replace("2.4", "9.9");
        else if (signature == QLatin1String("altered comment"))
            signatureFile.replace("timestamp:", "timestamp:9");
        server.route(InfoPath, LoopbackHttpServer::response(200, info));
        if (signature != QLatin1String("none"))
            server.route(InfoPath + ".minisig", LoopbackHttpServer::response(200, signatureFile));
        server.route("/f/app", LoopbackHttpServer::response(200, "app"));

        TAppUpdater updater;
        updater.setUpdatePublicKey(signature == QLatin1String("no key") ? QString() : m_key.publicKey());
        updater.setVersionControl(byNumber);
        updater.setVersionNumber(QStringLiteral("2.3"));
        updater.setShowMessages(TAppUpdaterShowMessagesSet::all());
        updater.setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        m_windows.answerYes = false;
        updater.StartUpdateCheck();
        QTRY_VERIFY_WITH_TIMEOUT(!updater.IsBusy() && (!env.dialogs.boxes.isEmpty() || !m_windows.questions.isEmpty()),
                                 10000);
        QTest::qWait(50);

        if (message < 0) {
            QCOMPARE(m_windows.questions, QStringList{ QStringLiteral("New") });
            QVERIFY(env.dialogs.boxes.isEmpty());
        } else {
            QVERIFY(m_windows.questions.isEmpty());
            const QVariantList args = argument.isEmpty() ? QVariantList() : QVariantList{ argument };
            QCOMPARE(env.dialogs.texts(),
                     QStringList{ withLineFeeds(UpdateMessages::Format(LoadMessage(message), args)) });
            QCOMPARE(env.dialogs.boxes.first().icon, MsgIcon::Error);
        }
        for (const LoopbackHttpServer::Request& request : std::as_const(server.requests))
            QVERIFY(!request.target.startsWith("/f/")); // nothing downloaded
        QVERIFY(env.shell.opened.isEmpty());
        if (signature == QLatin1String("no key"))
            QVERIFY(server.requests.isEmpty());
    }

    void failureReactions_data()
    {
        QTest::addColumn<QString>("route"); // "refused", or the answer of the information file
        QTest::addColumn<bool>("allMessages");
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("message");

        const QString missing = QString::fromLatin1(LoopbackHttpServer::response(404, "no such file"));
        const QString cut = QStringLiteral("HTTP/1.1 200 OK\r\nContent-Length: 500\r\nConnection: close\r\n\r\n#ver");
        QTest::newRow("no information file") << missing << true << QStringLiteral("no info file") << 25;
        QTest::newRow("no information file, quiet") << missing << false << QStringLiteral("no info file") << -1;
        QTest::newRow("connection lost") << cut << true << QStringLiteral("connection lost") << 30;
        QTest::newRow("connection lost, quiet") << cut << false << QStringLiteral("connection lost") << -1;
        QTest::newRow("host unreachable")
            << QStringLiteral("refused") << true << QStringLiteral("unreachable 127.0.0.1") << 26;
        QTest::newRow("host unreachable, quiet")
            << QStringLiteral("refused") << false << QStringLiteral("unreachable 127.0.0.1") << -1;
    }

    void failureReactions()
    {
        QFETCH(QString, route);
        QFETCH(bool, allMessages);
        QFETCH(QString, event);
        QFETCH(int, message);

        TestEnvironment env;
        LoopbackHttpServer server;
        QString url = server.url(QString::fromLatin1(InfoPath));
        if (route == QLatin1String("refused")) {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            url = QStringLiteral("http://127.0.0.1:%1/update/helper/helper.inf").arg(closed.serverPort());
        } else {
            server.route(InfoPath, route.toLatin1());
        }
        TAppUpdater updater;
        updater.setUpdatePublicKey(m_key.publicKey());
        updater.setShowMessages(allMessages ? TAppUpdaterShowMessagesSet::all() : TAppUpdaterShowMessagesSet());
        updater.setInfoFileURL(url);
        EventLog log;
        log.attach(updater);
        updater.StartUpdateCheck();
        QTRY_VERIFY_WITH_TIMEOUT(!log.log.isEmpty(), 10000);
        QTest::qWait(50);
        QCOMPARE(log.log, QStringList{ event });
        QStringList expected;
        if (message == 26)
            expected << withLineFeeds(UpdateMessages::Format(LoadMessage(26), { QStringLiteral("http://127.0.0.1") }));
        else if (message >= 0)
            expected << boxText(message);
        QCOMPARE(env.dialogs.texts(), expected);
        for (const FakeDialogs::Box& box : env.dialogs.boxes) {
            QCOMPARE(box.caption, LoadMessage(0));
            QCOMPARE(box.icon, MsgIcon::Error);
        }
    }

    void passwordRequest_data()
    {
        QTest::addColumn<bool>("hookAnswers"); // OnPasswordRequest itself sets TryAgain
        QTest::addColumn<bool>("windowOk");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("windowShown");
        QTest::newRow("window confirmed") << false << true << seq("password, no update") << 1;
        QTest::newRow("window cancelled") << false << false << seq("password, aborted") << 1;
        QTest::newRow("answered by the event") << true << false << seq("password, no update") << 0;
    }

    void passwordRequest()
    {
        QFETCH(bool, hookAnswers);
        QFETCH(bool, windowOk);
        QFETCH(QStringList, events);
        QFETCH(int, windowShown);

        TestEnvironment env;
        LoopbackHttpServer server;
        const QByteArray info = "#version=1.0\n";
        for (const QByteArray& answer : { info, m_key.sign(info) }) {
            server.route(answer == info ? InfoPath : InfoPath + ".minisig",
                         [answer](const LoopbackHttpServer::Request& request) {
                             if (request.headers.value("authorization")
                                 == "Basic " + QByteArray("ann:s3cret").toBase64())
                                 return LoopbackHttpServer::Answer{ LoopbackHttpServer::response(200, answer) };
                             return LoopbackHttpServer::Answer{ LoopbackHttpServer::response(
                                 401, "locked", true, "WWW-Authenticate: Basic realm=\"updates\"\r\n") };
                         });
        }
        TAppUpdater updater;
        updater.setUpdatePublicKey(m_key.publicKey());
        updater.setVersionControl(byNumber);
        updater.setVersionNumber(QStringLiteral("2.3"));
        updater.setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        EventLog log;
        log.attach(updater);
        updater.OnPasswordRequest = [&](const QString& realm, bool& tryAgain) {
            QCOMPARE(realm, QStringLiteral("updates"));
            QVERIFY(!tryAgain);
            log.log << QStringLiteral("password");
            if (hookAnswers) {
                updater.setHTTPUsername(QStringLiteral("ann"));
                updater.setHTTPPassword(QStringLiteral("s3cret"));
                tryAgain = true;
            }
        };
        m_windows.passwordOk = windowOk;

        updater.StartUpdateCheck();
        QTRY_VERIFY_WITH_TIMEOUT(log.log.size() >= events.size(), 10000);
        QTest::qWait(200); // a cancelled request must deliver nothing more
        QCOMPARE(log.log, events);
        QCOMPARE(m_windows.realms.size(), windowShown);
        QVERIFY(!updater.IsBusy());
        QCOMPARE(updater.Aborted(), !windowOk && !hookAnswers);
    }

    void busyCheckIsIgnored()
    {
        TestEnvironment env;
        LoopbackHttpServer server;
        serveSigned(server, InfoPath, "#version=1\n", m_key);
        TAppUpdater updater;
        updater.setUpdatePublicKey(m_key.publicKey());
        updater.setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        EventLog log;
        log.attach(updater);
        updater.StartUpdateCheck();
        updater.StartUpdateCheck();
        QTRY_VERIFY_WITH_TIMEOUT(!log.log.isEmpty(), 10000);
        QTest::qWait(100);
        QCOMPARE(log.log, seq("no update"));
        QCOMPARE(server.requests.size(), 2); // the information file and its signature, once
    }

    void automaticCheck()
    {
        TestEnvironment env;
        LoopbackHttpServer server;
        serveSigned(server, InfoPath, "#version=1\n", m_key);
        TestableUpdater updater;
        updater.setUpdatePublicKey(m_key.publicKey());
        updater.setVersionControl(byNumber);
        updater.setVersionNumber(QStringLiteral("2.3"));
        updater.setShowMessages(TAppUpdaterShowMessagesSet::all());
        EventLog log;
        log.attach(updater);
        auto* timer = updater.findChild<QTimer*>(QStringLiteral("AutoCheckTimer"));
        QVERIFY(timer);
        QVERIFY(!timer->isActive());

        // Unreachable in automatic mode: no message, and the timer polls again.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        updater.setInfoFileURL(QStringLiteral("http://127.0.0.1:%1/x").arg(closed.serverPort()));
        closed.close();
        updater.setAutoCheck(true);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), TAppUpdater::AutoCheckIntervalMs);

        updater.CheckTimerTick(); // off line: nothing happens, the timer keeps polling
        QVERIFY(!updater.IsBusy());
        QVERIFY(timer->isActive());

        updater.online = true;
        updater.CheckTimerTick();
        QVERIFY(updater.AutoMode());
        QVERIFY(updater.AutoCheckSuspended());
        QVERIFY(!timer->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!log.log.isEmpty(), 10000);
        QCOMPARE(log.log, seq("unreachable 127.0.0.1"));
        QVERIFY(env.dialogs.boxes.isEmpty());
        QVERIFY(!updater.AutoCheckSuspended());
        QVERIFY(timer->isActive());

        // Reached: no update, and in automatic mode no message; the timer stays off.
        log.log.clear();
        updater.setInfoFileURL(server.url(QString::fromLatin1(InfoPath)));
        updater.CheckTimerTick();
        QTRY_VERIFY_WITH_TIMEOUT(!log.log.isEmpty(), 10000);
        QCOMPARE(log.log, seq("no update"));
        QVERIFY(env.dialogs.boxes.isEmpty());
        QVERIFY(!timer->isActive());

        // The same finding from the button shows the message.
        log.log.clear();
        updater.StartUpdateCheck();
        QVERIFY(!updater.AutoMode());
        QTRY_VERIFY_WITH_TIMEOUT(!log.log.isEmpty(), 10000);
        QCOMPARE(env.dialogs.texts(), QStringList{ boxText(24) });

        updater.setAutoCheck(false);
        QVERIFY(!timer->isActive());
    }

    void afterRestart_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("fires");
        QTest::newRow("restart argument") << seq("/afterupgrade") << true;
        QTest::newRow("case counts") << seq("/AfterUpgrade") << false;
        QTest::newRow("only the first argument") << seq("x, /afterupgrade") << false;
        QTest::newRow("no argument") << QStringList() << false;
    }

    void afterRestart()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, fires);
        TestEnvironment env;
        TAppUpdater updater;
        updater.Loaded(arguments); // unassigned: nothing happens
        int fired = 0;
        updater.OnAfterRestart = [&] { ++fired; };
        updater.Loaded(arguments);
        QCOMPARE(fired, fires ? 1 : 0);
    }

    void programSettings_data()
    {
        QTest::addColumn<QByteArray>("override");
        QTest::addColumn<QString>("url");
        QTest::newRow("update host") << QByteArray()
                                     << QStringLiteral("http://") + QLatin1String(UpdateConstants::UpdateHost)
                + QStringLiteral("/update/helper/helper.inf");
        QTest::newRow("VANTREL_UPDATE_URL")
            << QByteArray("http://127.0.0.1:9/helper.inf") << QStringLiteral("http://127.0.0.1:9/helper.inf");
    }

    void programSettings()
    {
        QFETCH(QByteArray, override);
        QFETCH(QString, url);
        TestEnvironment env;
        if (override.isEmpty())
            qunsetenv("VANTREL_UPDATE_URL");
        else
            qputenv("VANTREL_UPDATE_URL", override);
        TAppUpdater updater;
        ConfigureProgramUpdater(updater);
        qunsetenv("VANTREL_UPDATE_URL");
        QCOMPARE(updater.InfoFileURL(), url);
        QCOMPARE(updater.VersionControl(), byNumber);
        QCOMPARE(updater.VersionNumber(), QStringLiteral("2.3"));
        QCOMPARE(updater.VersionDate(), QStringLiteral("08/18/2004"));
        QCOMPARE(updater.ShowMessages().mask(), 127);
        QCOMPARE(updater.InfoFile().UpgradeMsg, QStringLiteral("first release"));
        QCOMPARE(updater.RestartParams(), QStringLiteral("/afterupgrade"));
    }
};

QTEST_GUILESS_MAIN(TestAppUpdater)
#include "TestAppUpdater.moc"
