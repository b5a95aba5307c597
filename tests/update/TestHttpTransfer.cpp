#include "LoopbackHttpServer.h"
#include "update/HttpTransfer.h"

#include <QTimer>

#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>
#include <QTest>

namespace UpdateTestBytes {
inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace UpdateTestBytes

/// "a, b" -> { "a", "b" }
static QStringList seq(const char* words)
{
    return QString::fromLatin1(words).split(QStringLiteral(", "));
}

/// Records the hooks of one transfer as short words, in the order they arrive.
struct HookLog
{
    QStringList log;
    QByteArray memoryBody;
    int lastPercents = -1;
    std::function<void(const QString&)> react; ///< runs after a hook is recorded, with its word

    void attach(THttpTransfer& t)
    {
        t.OnHeadersReceived
            = [this](const QString&, const QString&, const QString&, const QString&, const QString&, qint32,
                     const QDateTime&, const QDateTime&, const QDateTime&, bool& continueTransfer) {
                  record(QStringLiteral("headers"));
                  continueTransfer = !skip;
              };
        t.OnDownloadProgress = [this](const QString&, qint32, qint32, int, int, quint8 percents, float, QIODevice*) {
            lastPercents = percents;
            record(QStringLiteral("progress"));
        };
        t.OnTransferDone = [this](const QString&, QIODevice* body, qint32) {
            if (body)
                memoryBody = body->readAll();
            record(QStringLiteral("done"));
        };
        t.OnTransferSkipped = [this] { record(QStringLiteral("skipped")); };
        t.OnTransferFailed = [this] { record(QStringLiteral("failed")); };
        t.OnServerUnreachable = [this] { record(QStringLiteral("unreachable")); };
        t.OnHTTPStatusError = [this](int status, QIODevice*) { record(QStringLiteral("status %1").arg(status)); };
        t.OnConnectionLost = [this](const QString&, QIODevice*, qint32, qint32) { record(QStringLiteral("lost")); };
    }

    void record(const QString& word)
    {
        // Blocks of one body collapse into one entry: their count depends on how the bytes arrive.
        if (!(word == QLatin1String("progress") && !log.isEmpty() && log.last() == word))
            log << word;
        if (react)
            react(word);
    }

    bool ended() const
    {
        static const QRegularExpression last(QStringLiteral("^(done|skipped|unreachable|status \\d+|lost)$"));
        return !log.isEmpty() && last.match(log.last()).hasMatch();
    }

    bool skip = false;
};

class TestHttpTransfer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString target() const { return m_dir.filePath(QStringLiteral("body.uTMP")); }
    static QByteArray bigBody(int size)
    {
        QByteArray body;
        for (int i = 0; i < size; ++i)
            body.append(char('a' + i % 26));
        return body;
    }

private slots:
    void init() { QFile::remove(target()); }

    void outcomes_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("toFile");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QByteArray>("kept"); // the body kept in the file or memory; null: no file remains

        const QByteArray body = bigBody(20000);
        const QStringList good = seq("headers, progress, done");
        QTest::newRow("200 with length into a file") << LoopbackHttpServer::response(200, body) << true << good << body;
        QTest::newRow("200 with length into memory")
            << LoopbackHttpServer::response(200, body) << false << good << body;
        QTest::newRow("200 without length") << LoopbackHttpServer::response(200, body, false) << true << good << body;
        QTest::newRow("404 with a body deletes the file")
            << LoopbackHttpServer::response(404, "not here") << true << seq("headers, progress, failed, status 404")
            << QByteArray();
        QTest::newRow("500 without body") << LoopbackHttpServer::response(500, QByteArray()) << true
                                          << seq("headers, failed, status 500") << QByteArray();
        QTest::newRow("short body is a lost connection")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n0123456789") << true
            << seq("headers, progress, failed, lost") << QByteArray();
    }

    void outcomes()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, toFile);
        QFETCH(QStringList, expected);
        QFETCH(QByteArray, kept);

        LoopbackHttpServer server;
        server.route("/file", answer);
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setTransferBufferSize(1024);
        transfer.setRequestURL(server.url(QStringLiteral("/file")));
        transfer.setTargetFileName(toFile ? target() : QString());
        QVERIFY(transfer.StartTransfer());
        QVERIFY(transfer.IsBusy());
        QVERIFY(!transfer.StartTransfer()); // one transfer at a time
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);

        QCOMPARE(hooks.log, expected);
        QVERIFY(!transfer.IsBusy());
        if (kept.isNull()) {
            QVERIFY(!QFile::exists(target()));
        } else if (toFile) {
            QFile file(target());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), kept);
        } else {
            QCOMPARE(hooks.memoryBody, kept);
            QVERIFY(!QFile::exists(target()));
        }
    }

    void unknownLengthReportsNoPercentage()
    {
        LoopbackHttpServer server;
        server.route("/file", LoopbackHttpServer::response(200, bigBody(5000), false));
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setRequestURL(server.url(QStringLiteral("/file")));
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log.last(), QStringLiteral("done"));
        QCOMPARE(transfer.ContentLength(), 0);
        QCOMPARE(transfer.BytesTransferred(), 5000);
        QCOMPARE(hooks.lastPercents, 0);
    }

    void refusedConnectionIsUnreachable()
    {
        quint16 port = 0;
        {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            port = closed.serverPort();
        }
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setRequestURL(QStringLiteral("http://127.0.0.1:%1/helper.inf").arg(port));
        transfer.setTargetFileName(target());
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log, seq("failed, unreachable"));
        QCOMPARE(transfer.StatusCode(), -1);
        QVERIFY(!QFile::exists(target()));
    }

    void stalledServerEndsByTimeout_data()
    {
        QTest::addColumn<QByteArray>("sentBeforeStall");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("silent from the start") << QByteArray() << seq("failed, unreachable");
        QTest::newRow("silent in the body") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789")
                                            << seq("headers, progress, failed, lost");
    }

    void stalledServerEndsByTimeout()
    {
        QFETCH(QByteArray, sentBeforeStall);
        QFETCH(QStringList, expected);
        LoopbackHttpServer server;
        server.route("/file", [&](const LoopbackHttpServer::Request&) {
            return LoopbackHttpServer::Answer{ sentBeforeStall, false };
        });
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setStallTimeoutMs(400);
        transfer.setRequestURL(server.url(QStringLiteral("/file")));
        transfer.setTargetFileName(target());
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log, expected);
        QVERIFY(!QFile::exists(target()));
    }

    void localFileAddress_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("existing") << true << seq("progress, done");
        QTest::newRow("missing") << false << seq("failed, status 404");
    }

    void localFileAddress()
    {
        QFETCH(bool, exists);
        QFETCH(QStringList, expected);
        const QString source = m_dir.filePath(QStringLiteral("source.bin"));
        QFile::remove(source);
        const QByteArray body = bigBody(3000);
        if (exists) {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(body);
        }
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setRequestURL(QUrl::fromLocalFile(source).toString());
        transfer.setTargetFileName(target());
        QVERIFY(transfer.StartTransfer());
        QVERIFY(hooks.log.isEmpty()); // outcomes always come later, never inside StartTransfer
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log, expected);
        QCOMPARE(QFile::exists(target()), exists);
        if (exists) {
            QCOMPARE(transfer.ContentLength(), 3000);
            QFile file(target());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), body);
        }
    }

    void authenticationRetriesWithCredentials_data()
    {
        QTest::addColumn<bool>("tryAgain");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("credentials given") << true << seq("auth, headers, progress, done");
        QTest::newRow("declined") << false << seq("auth, headers, progress, failed, status 401");
    }

    void authenticationRetriesWithCredentials()
    {
        QFETCH(bool, tryAgain);
        QFETCH(QStringList, expected);
        LoopbackHttpServer server;
        server.route("/helper.inf", [](const LoopbackHttpServer::Request& request) {
            if (request.headers.value("authorization") == "Basic " + QByteArray("ann:s3cret").toBase64())
                return LoopbackHttpServer::Answer{ LoopbackHttpServer::response(200, "#version=2.4") };
            return LoopbackHttpServer::Answer{ LoopbackHttpServer::response(
                401, "who are you", true, "WWW-Authenticate: Basic realm=\"Vantrel updates\"\r\n") };
        });
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        QString realm;
        transfer.OnAuthenticationRequest = [&](const QString& r, bool& again) {
            realm = r;
            hooks.record(QStringLiteral("auth"));
            QVERIFY(!again);
            if (tryAgain) {
                transfer.setHTTPUsername(QStringLiteral("ann"));
                transfer.setHTTPPassword(QStringLiteral("s3cret"));
                again = true;
            }
        };
        transfer.setRequestURL(server.url(QStringLiteral("/helper.inf")));
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log, expected);
        QCOMPARE(realm, QStringLiteral("Vantrel updates"));
        QCOMPARE(server.requests.size(), tryAgain ? 2 : 1);
        if (tryAgain)
            QCOMPARE(hooks.memoryBody, QByteArray("#version=2.4"));
    }

    void skipInHeadersHookCreatesNoFile()
    {
        LoopbackHttpServer server;
        server.route("/file", LoopbackHttpServer::response(200, bigBody(4000)));
        THttpTransfer transfer;
        HookLog hooks;
        hooks.skip = true;
        hooks.attach(transfer);
        transfer.setRequestURL(server.url(QStringLiteral("/file")));
        transfer.setTargetFileName(target());
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log, seq("headers, skipped"));
        QVERIFY(!QFile::exists(target()));
    }

    void abortInsideHookStopsEveryLaterHook_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("abortAt");
        QTest::addColumn<QStringList>("expected");
        const QByteArray big = LoopbackHttpServer::response(200, bigBody(200000));
        QTest::newRow("headers") << big << QStringLiteral("headers") << seq("headers");
        QTest::newRow("progress") << big << QStringLiteral("progress") << seq("headers, progress");
        QTest::newRow("failed") << LoopbackHttpServer::response(404, "x") << QStringLiteral("failed")
                                << seq("headers, progress, failed");
    }

    void abortInsideHookStopsEveryLaterHook()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, abortAt);
        QFETCH(QStringList, expected);
        LoopbackHttpServer server;
        server.route("/file", answer);
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        hooks.react = [&](const QString& word) {
            if (word == abortAt)
                transfer.AbortTransfer();
        };
        transfer.setTransferBufferSize(1024);
        transfer.setRequestURL(server.url(QStringLiteral("/file")));
        transfer.setTargetFileName(target());
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.log.contains(abortAt), 10000);
        QTest::qWait(300);
        QCOMPARE(hooks.log, expected);
        QVERIFY(!transfer.IsBusy());
        QVERIFY(!QFile::exists(target())); // no partial file is left to pass for a download
    }

    void hookStartsNextTransferOnSameFile()
    {
        LoopbackHttpServer server;
        server.route("/missing", LoopbackHttpServer::response(404, "gone"));
        const QByteArray second = bigBody(9000);
        server.route("/next", LoopbackHttpServer::response(200, second));
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        hooks.react = [&](const QString& word) {
            if (word == QLatin1String("failed")) {
                transfer.setRequestURL(server.url(QStringLiteral("/next")));
                QVERIFY(transfer.StartTransfer());
            }
        };
        transfer.setRequestURL(server.url(QStringLiteral("/missing")));
        transfer.setTargetFileName(target());
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.log.contains(QStringLiteral("done")), 10000);
        QCOMPARE(hooks.log, seq("headers, progress, failed, status 404, headers, progress, done"));
        QFile file(target());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), second);
    }

    void cacheSettingReachesRequest_data()
    {
        QTest::addColumn<bool>("useCache");
        QTest::newRow("cache allowed") << true;
        QTest::newRow("fresh fetch") << false;
    }

    void cacheSettingReachesRequest()
    {
        QFETCH(bool, useCache);
        LoopbackHttpServer server;
        server.route("/helper.inf", LoopbackHttpServer::response(200, "x"));
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setUseCache(useCache);
        // Without a scheme the address is fetched over HTTP.
        transfer.setRequestURL(QStringLiteral("127.0.0.1:%1/helper.inf").arg(server.port()));
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log.last(), QStringLiteral("done"));
        QCOMPARE(server.requests.size(), 1);
        QCOMPARE(server.requests.first().headers.value("cache-control") == "no-cache", !useCache);
        QCOMPARE(server.requests.first().headers.value("pragma") == "no-cache", !useCache);
        QCOMPARE(server.requests.first().headers.value("accept"), QByteArray("text/html, */*"));
    }

    void redirects_data()
    {
        QTest::addColumn<int>("hops"); // redirects before the file
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<bool>("relative");
        QTest::addColumn<QStringList>("expected");
        const QStringList good = seq("headers, progress, done");
        QTest::newRow("302 to the file") << 1 << QByteArray("302") << false << good;
        QTest::newRow("relative location, 301") << 1 << QByteArray("301") << true << good;
        QTest::newRow("307 and 308") << 2 << QByteArray("307") << false << good;
        QTest::newRow("five hops") << 5 << QByteArray("302") << true << good;
        // The sixth redirect is the final answer, judged as such.
        QTest::newRow("six hops") << 6 << QByteArray("302") << false << seq("headers, progress, failed, status 302");
    }

    void redirects()
    {
        QFETCH(int, hops);
        QFETCH(QByteArray, status);
        QFETCH(bool, relative);
        QFETCH(QStringList, expected);
        LoopbackHttpServer server;
        LoopbackHttpServer other; // redirects may lead to another server
        const QByteArray body = bigBody(5000);
        for (int i = 0; i < hops; ++i) {
            LoopbackHttpServer& here = i % 2 == 0 ? server : other;
            const LoopbackHttpServer& next = i % 2 == 0 ? other : server;
            const QByteArray target = "/hop" + QByteArray::number(i + 1);
            const QByteArray location
                = relative && &here == &next ? target : next.url(QString::fromLatin1(target)).toLatin1();
            here.route("/hop" + QByteArray::number(i),
                       LoopbackHttpServer::response(status.toInt(), "moved", true, "Location: " + location + "\r\n"));
        }
        (hops % 2 == 0 ? server : other)
            .route("/hop" + QByteArray::number(hops), LoopbackHttpServer::response(200, body));

        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setRequestURL(server.url(QStringLiteral("/hop0")));
        transfer.setTargetFileName(target());
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log, expected);
        if (expected == seq("headers, progress, done")) {
            QCOMPARE(UpdateTestBytes::read(target()), body);
            QVERIFY(transfer.FinalURL().endsWith(QLatin1String("/hop") + QString::number(hops)));
        }
    }

    void boundedBodies_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("tooLarge");
        const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
        QTest::newRow("chunked body, a length beside it means nothing")
            << QByteArray(chunked).replace("chunked\r\n", "chunked\r\nContent-Length: 3\r\n")
                + "5\r\nhello\r\n0\r\n\r\n"
            << qint64(-1) << seq("headers, progress, done") << false;
        QTest::newRow("chunked body") << chunked + "5\r\nhello\r\n6;x=1\r\n world\r\n0\r\nX-T: 1\r\n\r\n"
                                      << qint64(-1) << seq("headers, progress, done") << false;
        QTest::newRow("bad chunk size") << chunked + "5\r\nhello\r\nzz\r\n world\r\n0\r\n\r\n"
                                        << qint64(-1) << seq("headers, progress, failed, lost") << false;
        QTest::newRow("chunk longer than announced") << chunked + "3\r\nhello\r\n0\r\n\r\n"
                                                     << qint64(-1) << seq("headers, progress, failed, lost") << false;
        QTest::newRow("chunks cut off") << chunked + "5\r\nhello\r\n6\r\n wo" << qint64(-1)
                                        << seq("headers, progress, failed, lost") << false;
        QTest::newRow("announced length over the limit")
            << LoopbackHttpServer::response(200, bigBody(2000)) << qint64(1000) << seq("headers, failed, lost") << true;
        QTest::newRow("unannounced body over the limit") << LoopbackHttpServer::response(200, bigBody(2000), false)
                                                         << qint64(1000) << seq("headers, failed, lost") << true;
        QTest::newRow("chunked body over the limit")
            << chunked + "400\r\n" + bigBody(1024) + "\r\n400\r\n" + bigBody(1024) + "\r\n0\r\n\r\n"
            << qint64(1500) << seq("headers, failed, lost") << true;
        QTest::newRow("exactly the limit") << LoopbackHttpServer::response(200, bigBody(1000)) << qint64(1000)
                                           << seq("headers, progress, done") << false;
        QTest::newRow("bytes after the announced end") << LoopbackHttpServer::response(200, "12345").append("6789")
                                                       << qint64(-1) << seq("headers, progress, failed, lost") << false;
        QTest::newRow("not HTTP at all") << QByteArray("SSH-2.0-OpenSSH\r\n\r\n") << qint64(-1)
                                         << seq("failed, unreachable") << false;
    }

    void boundedBodies()
    {
        QFETCH(QByteArray, answer);
        QFETCH(qint64, limit);
        QFETCH(QStringList, expected);
        QFETCH(bool, tooLarge);
        LoopbackHttpServer server;
        server.route("/file", answer);
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setTransferBufferSize(1024);
        transfer.setMaxBodySize(limit);
        transfer.setRequestURL(server.url(QStringLiteral("/file")));
        transfer.setTargetFileName(target());
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log, expected);
        QCOMPARE(transfer.BodyTooLarge(), tooLarge);
        if (expected.last() == QLatin1String("done"))
            QVERIFY(QFile::exists(target()));
        else
            QVERIFY(!QFile::exists(target()));
    }

    void endlessBodyStopsAtTheLimit()
    {
        // A server that never stops sending: the transfer ends itself once the limit is passed.
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QByteArray sent;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* socket = server.nextPendingConnection();
            auto* pump = new QTimer(socket);
            connect(pump, &QTimer::timeout, socket, [socket] {
                if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 1 << 20)
                    socket->write(QByteArray(64 * 1024, 'x'));
            });
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            pump->start(1);
        });
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setMaxBodySize(1024 * 1024);
        transfer.setRequestURL(QStringLiteral("http://127.0.0.1:%1/info").arg(server.serverPort()));
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 20000);
        QCOMPARE(hooks.log, seq("headers, progress, failed, lost"));
        QVERIFY(transfer.BodyTooLarge());
        QVERIFY(transfer.BytesTransferred() <= 1024 * 1024);
    }

    void drippingServerEndsAsLost()
    {
        // One byte now and then keeps the stall timer quiet; the average rate does not.
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        connect(&server, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* socket = server.nextPendingConnection();
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n");
            auto* drip = new QTimer(socket);
            connect(drip, &QTimer::timeout, socket, [socket] { socket->write("x"); });
            drip->start(50);
        });
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.setStallTimeoutMs(5000);
        transfer.setMinimumRate(1024);
        transfer.setRateWindowMs(600);
        transfer.setRequestURL(QStringLiteral("http://127.0.0.1:%1/x").arg(server.serverPort()));
        transfer.setTargetFileName(target());
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.log, seq("headers, progress, failed, lost"));
        QVERIFY(!QFile::exists(target()));
    }

    void proxySettings()
    {
        // The "proxy" is the loopback server itself, so nothing leaves the machine.
        LoopbackHttpServer proxy;
        proxy.route("/update/helper/helper.inf", LoopbackHttpServer::response(200, "via proxy"));
        THttpTransfer transfer;
        HookLog hooks;
        hooks.attach(transfer);
        transfer.Proxy().AccessType = atUseProxy;
        transfer.Proxy().ProxyServer = QStringLiteral("127.0.0.1");
        transfer.Proxy().ProxyPort = proxy.port();
        // Port 1 of localhost is closed: only the proxy can answer.
        transfer.setRequestURL(QStringLiteral("http://localhost:1/update/helper/helper.inf"));
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.memoryBody, QByteArray("via proxy"));
        QCOMPARE(proxy.requests.first().target, QByteArray("http://localhost:1/update/helper/helper.inf"));

        // A host on the bypass list is fetched directly, even with a dead proxy configured.
        LoopbackHttpServer direct;
        direct.route("/x", LoopbackHttpServer::response(200, "direct"));
        hooks.log.clear();
        transfer.Proxy().ProxyPort = 9; // nothing listens there
        transfer.setRequestURL(direct.url(QStringLiteral("/x")));
        QVERIFY(transfer.StartTransfer());
        QTRY_VERIFY_WITH_TIMEOUT(hooks.ended(), 10000);
        QCOMPARE(hooks.memoryBody, QByteArray("direct"));
    }
};

QTEST_GUILESS_MAIN(TestHttpTransfer)
#include "TestHttpTransfer.moc"
