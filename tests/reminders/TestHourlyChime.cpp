#include "reminders/HourlyChime.h"

#include <QTest>

namespace {
QDateTime at(const char* text, int day = 10)
{
    const QString time = QString::fromLatin1(text);
    // "H:mm:ss" or "H:mm:ss.zzz" on a December day.
    const QString format = time.contains(QLatin1Char('.')) ? QStringLiteral("H:mm:ss.zzz") : QStringLiteral("H:mm:ss");
    return QDateTime(QDate(2026, 12, day), QTime::fromString(time, format));
}
} // namespace

class TestHourlyChime : public QObject
{
    Q_OBJECT
private slots:
    void chimeTimesAreTheFullHoursWithoutMidnight()
    {
        const QStringList& times = HourlyChime::chimeTimes();
        QCOMPARE(times.size(), 23);
        QCOMPARE(times.first(), QStringLiteral("1:00:00"));
        QCOMPARE(times.at(12), QStringLiteral("13:00:00"));
        QCOMPARE(times.last(), QStringLiteral("23:00:00"));
        QVERIFY(!times.contains(QStringLiteral("0:00:00")));
        QVERIFY(!times.contains(QStringLiteral("01:00:00")));
    }

    // A tick judged on its own (the first tick, or the first after the chime was switched on).
    void firstTick_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("chimes");
        QTest::newRow("13:00:00") << at("13:00:00") << true;
        QTest::newRow("13:00:00 late in the second") << at("13:00:00.999") << true;
        QTest::newRow("1:00:00") << at("1:00:00") << true;
        QTest::newRow("23:00:00") << at("23:00:00") << true;
        QTest::newRow("midnight") << at("0:00:00") << false;
        QTest::newRow("13:00:01") << at("13:00:01") << false;
        QTest::newRow("12:59:59") << at("12:59:59") << false;
        QTest::newRow("13:30:00") << at("13:30:00") << false;
    }
    void firstTick()
    {
        QFETCH(QDateTime, now);
        QFETCH(bool, chimes);
        HourlyChime chime;
        QCOMPARE(chime.tick(now), chimes);
    }

    // Two ticks in a row: the second one covers every second since the first, up to a minute back.
    void followingTick_data()
    {
        QTest::addColumn<QDateTime>("previous");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("chimes");
        QTest::newRow("on time") << at("12:59:59.500") << at("13:00:00.500") << true;
        QTest::newRow("late tick skipped the full hour") << at("12:59:59.900") << at("13:00:01.100") << true;
        QTest::newRow("busy for a minute") << at("12:59:01") << at("13:00:00") << true;
        QTest::newRow("hour passed a minute and more ago") << at("12:59:00") << at("13:01:00") << false;
        QTest::newRow("machine slept past the hour") << at("11:30:00") << at("13:05:00") << false;
        QTest::newRow("late over midnight") << at("23:59:59", 10) << at("0:00:02", 11) << false;
        QTest::newRow("clock set back onto the hour") << at("14:00:05") << at("13:00:00") << true;
        QTest::newRow("clock set back past the hour") << at("13:00:05") << at("12:59:58") << false;
    }
    void followingTick()
    {
        QFETCH(QDateTime, previous);
        QFETCH(QDateTime, now);
        QFETCH(bool, chimes);
        HourlyChime chime;
        chime.tick(previous);
        QCOMPARE(chime.tick(now), chimes);
    }

    void chimesOncePerFullHour()
    {
        HourlyChime chime;
        QVERIFY(chime.tick(at("13:00:00.050")));
        QVERIFY(!chime.tick(at("13:00:00.950"))); // a second tick in the same second
        QVERIFY(!chime.tick(at("13:00:01.050")));
        QVERIFY(!chime.tick(at("13:00:02.050")));
    }

    // The clock set back 3 s across the full hour: the hour was chimed, and is not chimed again.
    void clockSetBackAcrossTheHourChimesOnce()
    {
        HourlyChime chime;
        int chimes = 0;
        for (const char* tick : { "9:00:00.200", "9:00:01.200", "8:59:58.200", "8:59:59.200", "9:00:00.200",
                                  "9:00:01.200", "9:00:02.200" })
            chimes += chime.tick(at(tick)) ? 1 : 0;
        QCOMPARE(chimes, 1);
    }

    void resetForgetsThePausedHours()
    {
        HourlyChime chime;
        chime.tick(at("12:59:30"));
        chime.reset(); // switched off and on again
        QVERIFY(!chime.tick(at("13:00:10")));
    }
};

QTEST_GUILESS_MAIN(TestHourlyChime)
#include "TestHourlyChime.moc"
