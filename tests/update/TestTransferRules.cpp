#include "update/HttpTransfer.h"

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
};

QTEST_GUILESS_MAIN(TestTransferRules)
#include "TestTransferRules.moc"
