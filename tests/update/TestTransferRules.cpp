#include "update/HttpResponseParser.h"
#include "update/HttpTransfer.h"
#include "update/TransferWorker.h"

#include <QTest>
#include <QTimeZone>

class TestTransferRules : public QObject
{
    Q_OBJECT

private slots:
    void parseHttpDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("utc"); // invalid: no date

        const QDateTime nov6(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC);
        QTest::newRow("RFC 1123") << QStringLiteral("Sun, 06 Nov 1994 08:49:37 GMT") << nov6;
        QTest::newRow("RFC 850") << QStringLiteral("Sunday, 06-Nov-94 08:49:37 GMT") << nov6;
        QTest::newRow("asctime") << QStringLiteral("Sun Nov  6 08:49:37 1994") << nov6;
        QTest::newRow("surrounding blanks") << QStringLiteral("  Sun, 06 Nov 1994 08:49:37 GMT ") << nov6;
        QTest::newRow("+0100 is an hour earlier in UTC")
            << QStringLiteral("Sun, 06 Nov 1994 08:49:37 +0100") << nov6.addSecs(-3600);
        QTest::newRow("-0230 is later in UTC")
            << QStringLiteral("Sun, 06 Nov 1994 08:49:37 -0230") << nov6.addSecs(2 * 3600 + 30 * 60);
        QTest::newRow("two-digit year below 80")
            << QStringLiteral("Thursday, 01-Jan-04 00:00:00 GMT") << QDateTime(QDate(2004, 1, 1), QTime(0, 0), Qt::UTC);
        QTest::newRow("no time") << QStringLiteral("06 Nov 1994")
                                 << QDateTime(QDate(1994, 11, 6), QTime(0, 0), Qt::UTC);
        QTest::newRow("empty") << QString() << QDateTime();
        QTest::newRow("garbage") << QStringLiteral("garbage") << QDateTime();
        QTest::newRow("unknown month") << QStringLiteral("Sun, 06 Nop 1994 08:49:37 GMT") << QDateTime();
        QTest::newRow("impossible day") << QStringLiteral("Sun, 31 Nov 1994 08:49:37 GMT") << QDateTime();
    }

    void parseHttpDate()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, utc);
        const QDateTime parsed = ParseHTTPDate(text);
        if (!utc.isValid()) {
            QVERIFY(!parsed.isValid());
            return;
        }
        QCOMPARE(parsed.timeSpec(), Qt::LocalTime);
        QCOMPARE(parsed.toUTC(), utc);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("2.4999") << 2.4999 << 2;
        QTest::newRow("2.5001") << 2.5001 << 3;
        QTest::newRow("12.5") << 12.5 << 12;
        QTest::newRow("99.5") << 99.5 << 100;
    }

    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(RoundHalfEven(value), rounded);
    }

    void progressFigures_data()
    {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<qint64>("elapsedMs");
        QTest::addColumn<int>("percents");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<int>("left");
        QTest::addColumn<double>("rate");

        QTest::newRow("half a percent rounds down to even")
            << qint64(200) << qint64(1) << qint64(0) << 0 << 0 << 0 << 1.0 / 1024;
        QTest::newRow("one and a half rounds up to even")
            << qint64(200) << qint64(3) << qint64(0) << 2 << 0 << 0 << 3.0 / 1024;
        QTest::newRow("a quarter after four seconds")
            << qint64(4096) << qint64(1024) << qint64(4900) << 25 << 4 << 12 << 0.25;
        QTest::newRow("unknown length") << qint64(0) << qint64(5000) << qint64(2000) << 0 << 2 << 0
                                        << 5000.0 / 1024 / 2;
    }

    void progressFigures()
    {
        QFETCH(qint64, length);
        QFETCH(qint64, bytes);
        QFETCH(qint64, elapsedMs);
        QFETCH(int, percents);
        QFETCH(int, elapsed);
        QFETCH(int, left);
        QFETCH(double, rate);
        const TransferFigures f = ComputeTransferFigures(length, bytes, elapsedMs);
        QCOMPARE(int(f.PercentsDone), percents);
        QCOMPARE(f.ElapsedTime, elapsed);
        QCOMPARE(f.EstimatedTimeLeft, left);
        QCOMPARE(f.TransferRate, float(rate));
    }

    void loginInfoRoundTrip_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("both") << QStringLiteral("ann") << QStringLiteral("s3cret");
        QTest::newRow("password only") << QString() << QStringLiteral("pw");
        QTest::newRow("user only") << QStringLiteral("ann") << QString();
        QTest::newRow("Chinese") << QStringLiteral("张三") << QStringLiteral("密码");
    }

    void loginInfoRoundTrip()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        const QByteArray data = EncodeLoginInfo(user, password);
        QVERIFY(!data.isEmpty());
        QCOMPARE(int(quint8(data.at(0))), data.size() - 1); // the length byte, then exactly that many bytes
        QVERIFY(!data.contains(user.toUtf8()) || user.isEmpty()); // scrambled, not plain
        QString decodedUser;
        QString decodedPassword;
        QVERIFY(DecodeLoginInfo(data, decodedUser, decodedPassword));
        QCOMPARE(decodedUser, user);
        QCOMPARE(decodedPassword, password);
    }

    void loginInfoRejects()
    {
        QVERIFY(EncodeLoginInfo(QString(), QString()).isEmpty()); // nothing to store
        QVERIFY(EncodeLoginInfo(QString(200, QLatin1Char('u')), QString(60, QLatin1Char('p'))).isEmpty());

        QString user;
        QString password;
        QByteArray truncated = EncodeLoginInfo(QStringLiteral("ann"), QStringLiteral("pw"));
        truncated.chop(1);
        QVERIFY(!DecodeLoginInfo(truncated, user, password));
        QVERIFY(!DecodeLoginInfo(QByteArray(), user, password));
        QByteArray badUserLength = EncodeLoginInfo(QStringLiteral("ann"), QStringLiteral("pw"));
        badUserLength[1] = char(quint8(badUserLength[1]) ^ 0x40); // user length beyond the data
        QVERIFY(!DecodeLoginInfo(badUserLength, user, password));
        QVERIFY(user.isEmpty() && password.isEmpty());
    }

    void redirectRule_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("follows");
        QTest::newRow("http to http") << "http://a/x"
                                      << "http://b/y" << true;
        QTest::newRow("http to https") << "http://a/x"
                                       << "https://a/x" << true;
        QTest::newRow("https to https") << "https://a/x"
                                        << "https://b/y" << true;
        QTest::newRow("https down to http") << "https://a/x"
                                            << "http://a/x" << false;
        QTest::newRow("HTTPS down to Http") << "HTTPS://a/x"
                                            << "Http://a/x" << false;
        QTest::newRow("to a local file") << "http://a/x"
                                         << "file:///etc/passwd" << false;
        QTest::newRow("to another scheme") << "http://a/x"
                                           << "ftp://a/x" << false;
        QTest::newRow("without a host") << "http://a/x"
                                        << "http:///x" << false;
    }

    void redirectRule()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, follows);
        QCOMPARE(TransferWorker::FollowsRedirect(QUrl(from), QUrl(to)), follows);
    }

    void responseFraming_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("closed"); // the server closed the connection after the bytes
        QTest::addColumn<int>("state"); // HttpResponseParser::State at the end
        QTest::addColumn<QByteArray>("body");

        using State = HttpResponseParser::State;
        const QByteArray ok = "HTTP/1.1 200 OK\r\n";
        const QByteArray chunked = ok + "Transfer-Encoding: chunked\r\n\r\n";
        auto row = [](const char* name, const QByteArray& bytes, bool closed, State state, const QByteArray& body) {
            QTest::newRow(name) << bytes << closed << int(state) << body;
        };
        row("length", ok + "Content-Length: 5\r\n\r\nhello", false, State::Done, "hello");
        row("length, cut off", ok + "Content-Length: 9\r\n\r\nhello", true, State::Error, "hello");
        row("length, still coming", ok + "Content-Length: 9\r\n\r\nhello", false, State::Body, "hello");
        row("length not a number: read to the end", ok + "Content-Length: 5x\r\n\r\nhello!", true, State::Done,
            "hello!");
        row("to the end of the connection", ok + "\r\nhello", true, State::Done, "hello");
        row("interim answer first", "HTTP/1.1 100 Continue\r\n\r\n" + ok + "Content-Length: 2\r\n\r\nhi", false,
            State::Done, "hi");
        row("no body for 204", "HTTP/1.1 204 No Content\r\n\r\n", false, State::Done, "");
        row("chunks with extension and trailer", chunked + "5;a=b\r\nhello\r\nA\r\n, world!!!\r\n0\r\nT: 1\r\n\r\n",
            false, State::Done, "hello, world!!!");
        row("chunked wins over length",
            ok + "Content-Length: 99\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nhi\r\n0\r\n\r\n", false, State::Done,
            "hi");
        row("bad chunk size", chunked + "5\r\nhello\r\nzz\r\nmore\r\n0\r\n\r\n", false, State::Error, "hello");
        row("negative chunk size", chunked + "-5\r\nhello\r\n", false, State::Error, "");
        row("empty chunk size", chunked + "\r\nhello\r\n", false, State::Error, "");
        row("chunk data longer than its size", chunked + "2\r\nhello\r\n0\r\n\r\n", false, State::Error, "he");
        row("chunks cut off", chunked + "5\r\nhel", true, State::Error, "hel");
        row("last chunk without its end", chunked + "0\r\n", true, State::Error, "");
        row("endless chunk-size line", chunked + QByteArray(HttpResponseParser::MaxLineBytes + 1, '1'), false,
            State::Error, "");
        row("not HTTP", "SSH-2.0-x\r\n\r\n", false, State::Error, "");
        row("status not a number", "HTTP/1.1 2x0 OK\r\n\r\n", false, State::Error, "");
        row("endless head", ok + "X: " + QByteArray(HttpResponseParser::MaxHeadBytes, 'x'), false, State::Error, "");
        row("closed before the head", "HTTP/1.1 200", true, State::Error, "");
    }

    void responseFraming()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, closed);
        QFETCH(int, state);
        QFETCH(QByteArray, body);
        // Fed in small pieces, as a connection delivers them.
        HttpResponseParser parser;
        QByteArray read;
        for (qsizetype at = 0; at < bytes.size(); at += 3) {
            parser.feed(bytes.mid(at, 3));
            if (parser.state() == HttpResponseParser::State::Head && parser.readHead())
                parser.startBody();
            read += parser.takeBody();
        }
        if (closed) {
            parser.endOfStream();
            read += parser.takeBody();
        }
        QCOMPARE(int(parser.state()), state);
        QCOMPARE(read, body);
    }
};

QTEST_GUILESS_MAIN(TestTransferRules)
#include "TestTransferRules.moc"
