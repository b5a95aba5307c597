#include "fakes/FakePower.h"
#include "fakes/TestEnvironment.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "shutdown/ShutdownScheduler.h"
#include "storage/SettingsFile.h"

#include <QTest>

namespace {

const QString kHalt = QStringLiteral("halt");

/// A program folder with the fakes installed, the power fake among them.
struct Fixture
{
    Fixture() { Services::setPower(&power); }
    ~Fixture() { Services::setPower(nullptr); }

    SettingsFile settings() const { return SettingsFile(AppPaths::settingsFilePath()); }
    QString key(const char* name) const { return settings().readString(kHalt, QString::fromLatin1(name), QString()); }
    void setKey(const char* name, const QString& value)
    {
        settings().writeString(kHalt, QString::fromLatin1(name), value);
    }

    TestEnvironment env;
    FakePower power;
};

ShutdownScheduler::Plan countingPlan(int minutes, bool hint = true)
{
    ShutdownScheduler::Plan plan;
    plan.appointed = false;
    plan.date = QDate(2026, 12, 10);
    plan.time = QTime(8, 0);
    plan.minutes = minutes;
    plan.hint = hint;
    return plan;
}

} // namespace

class TestShutdownScheduler : public QObject
{
    Q_OBJECT
private slots:
    void remainLabel_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("label");
        QTest::newRow("whole minutes") << 900 << QStringLiteral("离关机还有15分");
        QTest::newRow("cut to four characters") << 899 << QStringLiteral("离关机还有14.9分");
        QTest::newRow("under a minute") << 59 << QStringLiteral("离关机还有0.98分");
        QTest::newRow("one second") << 1 << QStringLiteral("离关机还有0.01分");
        QTest::newRow("the largest count") << 6000 << QStringLiteral("离关机还有100分");
        QTest::newRow("nothing left") << 0 << QStringLiteral("离关机还有0分");
    }
    void remainLabel()
    {
        QFETCH(int, seconds);
        QFETCH(QString, label);
        QCOMPARE(ShutdownScheduler::remainLabel(seconds), label);
    }

    void statusWhenShown_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("time");
        QTest::newRow("no plan") << QString() << QStringLiteral("没有设定自动关机") << QString();
        QTest::newRow("appointed, texts as stored")
            << QStringLiteral("[halt]\nappoint=1\ndate=2026-12-10\ntime=8:00:00\n") << QStringLiteral("定时关机")
            << QStringLiteral("2026-12-10日8:00:00");
        QTest::newRow("counting") << QStringLiteral("[halt]\nremain=1\nremaintime=899\n") << QStringLiteral("计时关机")
                                  << QStringLiteral("离关机还有14.9分");
        QTest::newRow("counting without a count")
            << QStringLiteral("[halt]\nremain=1\n") << QStringLiteral("计时关机") << QStringLiteral("离关机还有1666分");
        QTest::newRow("only 1 switches a mode on")
            << QStringLiteral("[halt]\nappoint=2\nremain=yes\n") << QStringLiteral("没有设定自动关机") << QString();
    }
    void statusWhenShown()
    {
        QFETCH(QString, ini);
        QFETCH(QString, mode);
        QFETCH(QString, time);
        Fixture f;
        f.env.writeFile(QStringLiteral("helper.ini"), ini.toUtf8());
        const ShutdownScheduler::Status status = ShutdownScheduler(AppPaths::settingsFilePath()).status();
        QCOMPARE(status.mode, mode);
        QCOMPARE(status.time, time);
    }

    void applyWritesThePlan()
    {
        Fixture f;
        ShutdownScheduler scheduler(AppPaths::settingsFilePath());
        ShutdownScheduler::Plan plan;
        plan.appointed = true;
        plan.date = QDate(2026, 1, 5);
        plan.time = QTime(7, 5, 9);
        plan.minutes = 100;
        plan.hint = false;
        scheduler.apply(plan);
        QCOMPARE(f.key("appoint"), QStringLiteral("1"));
        QCOMPARE(f.key("remain"), QStringLiteral("0"));
        QCOMPARE(f.key("date"), QStringLiteral("2026-1-5"));
        QCOMPARE(f.key("time"), QStringLiteral("7:05:09"));
        QCOMPARE(f.key("remaintime"), QStringLiteral("6000"));
        QCOMPARE(f.key("hint"), QStringLiteral("0"));

        // Cancelling ends both modes and leaves the count as it stands.
        f.setKey("remain", QStringLiteral("1"));
        scheduler.cancel();
        QCOMPARE(f.key("appoint"), QStringLiteral("0"));
        QCOMPARE(f.key("remain"), QStringLiteral("0"));
        QCOMPARE(f.key("remaintime"), QStringLiteral("6000"));
        QVERIFY(!scheduler.tick().active);
    }

    // One tick a second from "应用设置" to the power-off.
    void countdown_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("hint");
        QTest::addColumn<int>("warnedAtCount"); // -1: no warning
        QTest::addColumn<int>("ticksToPowerOff");
        QTest::newRow("15 minutes") << 15 << true << 60 << 900;
        QTest::newRow("box unticked") << 2 << false << -1 << 120;
        QTest::newRow("1 minute starts below the warning") << 1 << true << -1 << 60;
        QTest::newRow("0 minutes shuts down at once") << 0 << true << -1 << 1;
    }
    void countdown()
    {
        QFETCH(int, minutes);
        QFETCH(bool, hint);
        QFETCH(int, warnedAtCount);
        QFETCH(int, ticksToPowerOff);
        Fixture f;
        ShutdownScheduler scheduler(AppPaths::settingsFilePath());
        scheduler.apply(countingPlan(minutes, hint));
        QCOMPARE(f.key("remaintime"), QString::number(minutes * 60));

        QString modeAndKeysAtPowerOff;
        f.power.onPowerOff = [&] { modeAndKeysAtPowerOff = f.key("appoint") + f.key("remain") + f.key("remaintime"); };
        QList<int> warnings;
        int ticks = 0;
        while (f.power.requests == 0 && ticks < 7000) {
            f.env.clock.advanceSecond();
            const ShutdownScheduler::TickResult result = scheduler.tick();
            ++ticks;
            QVERIFY(result.active);
            if (ticks == 1 && minutes == 15) {
                QCOMPARE(f.key("remaintime"), QStringLiteral("899"));
                QCOMPARE(result.modeLabel, QStringLiteral("计时关机"));
                QCOMPARE(result.timeLabel, QStringLiteral("离关机还有14.9分"));
            }
            if (result.warn)
                warnings << f.key("remaintime").toInt();
        }
        QCOMPARE(ticks, ticksToPowerOff);
        QCOMPARE(f.power.requests, 1);
        QCOMPARE(warnings, warnedAtCount < 0 ? QList<int>() : QList<int>{ warnedAtCount });
        // Both modes were cleared before the request went out.
        QCOMPARE(modeAndKeysAtPowerOff, QStringLiteral("00") + QString::number(std::min(0, minutes * 60 - ticks)));
        f.env.clock.advanceSecond();
        QVERIFY(!scheduler.tick().active);
        QCOMPARE(f.power.requests, 1);
    }

    // One tick a second up to the appointed moment.
    void appointed_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<bool>("hint");
        QTest::addColumn<QDateTime>("warnedAt"); // invalid: no warning
        const QDateTime hour(QDate(2026, 12, 10), QTime(10, 0));
        const QDateTime midnight(QDate(2027, 1, 1), QTime(0, 0));
        QTest::newRow("full hour") << hour << true << QDateTime(QDate(2026, 12, 10), QTime(9, 59));
        QTest::newRow("across a day and year") << midnight << true << QDateTime(QDate(2026, 12, 31), QTime(23, 59));
        QTest::newRow("odd second") << hour.addSecs(17) << true << QDateTime(QDate(2026, 12, 10), QTime(9, 59, 17));
        QTest::newRow("box unticked") << hour << false << QDateTime();
    }
    void appointed()
    {
        QFETCH(QDateTime, moment);
        QFETCH(bool, hint);
        QFETCH(QDateTime, warnedAt);
        Fixture f;
        f.env.writeFile(QStringLiteral("helper.ini"), "[halt]\r\n");
        f.setKey("appoint", QStringLiteral("1"));
        f.setKey("date", moment.date().toString(QStringLiteral("yyyy-M-d")));
        f.setKey("time", moment.time().toString(QStringLiteral("H:mm:ss")));
        f.setKey("hint", hint ? QStringLiteral("1") : QStringLiteral("0"));
        ShutdownScheduler scheduler(AppPaths::settingsFilePath());

        f.env.clock.set(moment.addSecs(-150).addMSecs(400));
        QList<QDateTime> warnings;
        QDateTime poweredOffAt;
        while (!poweredOffAt.isValid() && f.env.clock.now() < moment.addSecs(5)) {
            f.env.clock.advanceSecond();
            const ShutdownScheduler::TickResult result = scheduler.tick();
            QCOMPARE(result.modeLabel, QStringLiteral("定时关机"));
            if (result.warn)
                warnings << f.env.clock.now().addMSecs(-400);
            if (result.poweredOff)
                poweredOffAt = f.env.clock.now().addMSecs(-400);
        }
        QCOMPARE(warnings, warnedAt.isValid() ? QList<QDateTime>{ warnedAt } : QList<QDateTime>());
        QCOMPARE(poweredOffAt, moment);
        QCOMPARE(f.power.requests, 1);
        QCOMPARE(f.key("appoint"), QStringLiteral("0"));
        QCOMPARE(f.key("remain"), QStringLiteral("0"));
    }

    // Two ticks, the second one late: the seconds between them are evaluated, up to 60 of them.
    void lateTickCatchesUp_data()
    {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<int>("firstTick"); // seconds from 10:00:00
        QTest::addColumn<int>("secondTick"); // seconds from 10:00:00
        QTest::addColumn<bool>("warned");
        QTest::addColumn<bool>("poweredOff");
        QTest::addColumn<QString>("countLeft");
        // Appointed at 10:01:00, so the warning is due at 10:00:00.
        const QString appointed = QStringLiteral("[halt]\nappoint=1\ndate=2026-12-10\ntime=10:01:00\n");
        const QString counting = QStringLiteral("[halt]\nremain=1\nremaintime=63\n");
        const QString shortCount = QStringLiteral("[halt]\nremain=1\nremaintime=30\n");
        QTest::newRow("warning second skipped") << appointed << -2 << 1 << true << false << QString();
        QTest::newRow("moment skipped") << appointed << 58 << 62 << false << true << QString();
        QTest::newRow("moment within the last minute") << appointed << -5 << 119 << false << true << QString();
        QTest::newRow("moment longer ago than a minute") << appointed << 58 << 121 << false << false << QString();
        QTest::newRow("count passes 60") << counting << 0 << 5 << true << false << QStringLiteral("57");
        QTest::newRow("count passes 0") << shortCount << 0 << 40 << false << true << QStringLiteral("-11");
        QTest::newRow("count goes down by a minute at most")
            << counting << 0 << 3600 << true << false << QStringLiteral("2");
        QTest::newRow("a tick twice in one second counts once")
            << counting << 0 << 0 << false << false << QStringLiteral("62");
        QTest::newRow("clock set back counts one") << counting << 0 << -3600 << false << false << QStringLiteral("61");
    }
    void lateTickCatchesUp()
    {
        QFETCH(QString, plan);
        QFETCH(int, firstTick);
        QFETCH(int, secondTick);
        QFETCH(bool, warned);
        QFETCH(bool, poweredOff);
        QFETCH(QString, countLeft);
        Fixture f;
        f.env.writeFile(QStringLiteral("helper.ini"), plan.toUtf8());
        ShutdownScheduler scheduler(AppPaths::settingsFilePath());
        const QDateTime base(QDate(2026, 12, 10), QTime(10, 0));
        f.env.clock.set(base.addSecs(firstTick));
        const ShutdownScheduler::TickResult first = scheduler.tick();
        QVERIFY(!first.warn && !first.poweredOff);
        f.env.clock.set(base.addSecs(secondTick).addMSecs(secondTick == firstTick ? 900 : 0));
        const ShutdownScheduler::TickResult second = scheduler.tick();
        QCOMPARE(second.warn, warned);
        QCOMPARE(second.poweredOff, poweredOff);
        QCOMPARE(f.power.requests, poweredOff ? 1 : 0);
        if (!countLeft.isNull()) {
            QCOMPARE(second.timeLabel, ShutdownScheduler::remainLabel(countLeft.toInt()));
            scheduler.exiting();
            QCOMPARE(f.key("remaintime"), countLeft);
        }
    }

    // The clock set back 3 s after the warning: the seconds already evaluated warn and count nothing again.
    void clockSetBackWarnsAndCountsNothingTwice_data()
    {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<QString>("countLeft");
        QTest::newRow("appointed at 10:01:00")
            << QStringLiteral("[halt]\nappoint=1\ndate=2026-12-10\ntime=10:01:00\n") << QString();
        QTest::newRow("counting from 62 s")
            << QStringLiteral("[halt]\nremain=1\nremaintime=62\n") << QStringLiteral("58");
    }
    void clockSetBackWarnsAndCountsNothingTwice()
    {
        QFETCH(QString, plan);
        QFETCH(QString, countLeft);
        Fixture f;
        f.env.writeFile(QStringLiteral("helper.ini"), plan.toUtf8());
        ShutdownScheduler scheduler(AppPaths::settingsFilePath());
        int warnings = 0;
        // 10:00:00 is the appointed plan's warning second and the second that leaves the count at 60.
        for (const int second : { -1, 0, 1, -2, -1, 0, 1, 2 }) {
            f.env.clock.set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)).addSecs(second).addMSecs(300));
            warnings += scheduler.tick().warn ? 1 : 0;
        }
        QCOMPARE(warnings, 1);
        QCOMPARE(f.power.requests, 0);
        if (!countLeft.isNull()) {
            scheduler.exiting();
            QCOMPARE(f.key("remaintime"), countLeft);
        }
    }

    void planSurvivesRestart()
    {
        Fixture f;
        auto first = std::make_unique<ShutdownScheduler>(AppPaths::settingsFilePath());
        first->apply(countingPlan(15));
        for (int i = 0; i < 10; ++i) {
            f.env.clock.advanceSecond();
            first->tick();
        }
        QCOMPARE(f.key("remaintime"), QStringLiteral("890"));
        first.reset();

        // The program was off for an hour; the count goes on from where it stopped.
        f.env.clock.advanceSecond(3600);
        ShutdownScheduler second(AppPaths::settingsFilePath());
        const ShutdownScheduler::TickResult result = second.tick();
        QVERIFY(result.active);
        QCOMPARE(f.key("remaintime"), QStringLiteral("889"));
        QCOMPARE(result.timeLabel, QStringLiteral("离关机还有14.8分"));
        QCOMPARE(f.power.requests, 0);
    }

    // The running count reaches the file every few seconds, never below the count itself, so a program killed or a
    // machine cut off resumes the count a little later and never earlier; an orderly end saves it as it stands.
    void countIsSavedNeverAheadOfItself()
    {
        Fixture f;
        auto first = std::make_unique<ShutdownScheduler>(AppPaths::settingsFilePath());
        first->apply(countingPlan(15));
        int writes = 0;
        QString last = f.key("remaintime");
        for (int tick = 1; tick <= 23; ++tick) {
            f.env.clock.advanceSecond();
            first->tick();
            const int saved = f.key("remaintime").toInt();
            QVERIFY2(saved >= 900 - tick && saved < 900 - tick + ShutdownScheduler::kSaveSeconds,
                     qPrintable(QStringLiteral("tick %1 left %2 in the file").arg(tick).arg(saved)));
            if (f.key("remaintime") != last)
                ++writes;
            last = f.key("remaintime");
        }
        QCOMPARE(writes, 1 + 23 / ShutdownScheduler::kSaveSeconds);

        // Killed: the next run goes on from the count last saved.
        QCOMPARE(f.key("remaintime"), QStringLiteral("880"));
        first.reset();
        ShutdownScheduler second(AppPaths::settingsFilePath());
        QCOMPARE(second.status().time, ShutdownScheduler::remainLabel(880));
        f.env.clock.advanceSecond();
        QCOMPARE(second.tick().timeLabel, ShutdownScheduler::remainLabel(879));
        f.env.clock.advanceSecond();
        QCOMPARE(second.tick().timeLabel, ShutdownScheduler::remainLabel(878));
        // The window shows the count, not what was last saved of it.
        QCOMPARE(second.status().time, ShutdownScheduler::remainLabel(878));
        QCOMPARE(f.key("remaintime"), QStringLiteral("879"));
        second.exiting();
        QCOMPARE(f.key("remaintime"), QStringLiteral("878"));

        // A count written by someone else while the count runs is taken as it stands.
        f.env.clock.advanceSecond();
        second.tick();
        f.setKey("remaintime", QStringLiteral("300"));
        f.env.clock.advanceSecond();
        QCOMPARE(second.tick().timeLabel, ShutdownScheduler::remainLabel(299));
        QCOMPARE(f.key("remaintime"), QStringLiteral("299"));

        // Cancelled, the count stays as counted.
        f.env.clock.advanceSecond();
        second.tick();
        second.cancel();
        QCOMPARE(f.key("remain"), QStringLiteral("0"));
        QCOMPARE(f.key("remaintime"), QStringLiteral("298"));
    }

    void momentMissedWhileOffNeverPowersOff_data()
    {
        QTest::addColumn<int>("startAfterMoment");
        QTest::newRow("a second late") << 1;
        QTest::newRow("half a minute late") << 30;
        QTest::newRow("a day late") << 86400;
    }
    void momentMissedWhileOffNeverPowersOff()
    {
        QFETCH(int, startAfterMoment);
        Fixture f;
        f.env.writeFile(QStringLiteral("helper.ini"), "[halt]\nappoint=1\ndate=2026-12-10\ntime=10:00:00\n");
        f.env.clock.set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)).addSecs(startAfterMoment));
        ShutdownScheduler scheduler(AppPaths::settingsFilePath());
        for (int i = 0; i < 3; ++i) {
            const ShutdownScheduler::TickResult result = scheduler.tick();
            QVERIFY(result.active);
            QVERIFY(!result.warn);
            QCOMPARE(result.timeLabel, QStringLiteral("2026-12-10日10:00:00"));
            f.env.clock.advanceSecond();
        }
        QCOMPARE(f.power.requests, 0);
        QCOMPARE(f.key("appoint"), QStringLiteral("1"));
    }

    void unreadableMomentStillRunsTheCount_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("time") << QStringLiteral("2026-12-10") << QStringLiteral("abc");
        QTest::newRow("date") << QStringLiteral("10.12.") << QStringLiteral("10:00:00");
        QTest::newRow("missing") << QString() << QString();
    }
    void unreadableMomentStillRunsTheCount()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        Fixture f;
        QString ini = QStringLiteral("[halt]\nappoint=1\nremain=1\nremaintime=3\n");
        if (!date.isNull())
            ini += QStringLiteral("date=%1\ntime=%2\n").arg(date, time);
        f.env.writeFile(QStringLiteral("helper.ini"), ini.toUtf8());
        // The moment the unreadable text might have meant is the very second the ticks run through.
        f.env.clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 59, 59)));
        ShutdownScheduler scheduler(AppPaths::settingsFilePath());
        for (int i = 0; i < 2; ++i) {
            const ShutdownScheduler::TickResult result = scheduler.tick();
            QVERIFY(!result.poweredOff);
            QCOMPARE(result.modeLabel, QStringLiteral("计时关机"));
            f.env.clock.advanceSecond();
        }
        QVERIFY(scheduler.tick().poweredOff);
        QCOMPARE(f.power.requests, 1);
    }

    void failedPowerOffIsReported()
    {
        Fixture f;
        f.power.failure = QStringLiteral("无法关闭计算机：拒绝访问");
        f.env.writeFile(QStringLiteral("helper.ini"), "[halt]\nremain=1\nremaintime=1\n");
        ShutdownScheduler scheduler(AppPaths::settingsFilePath());
        try {
            scheduler.tick();
            QFAIL("a refused power-off must not pass silently");
        } catch (const AppError& error) {
            QCOMPARE(error.text(), f.power.failure);
        }
        // The plan is over either way; the next tick does not ask again.
        QCOMPARE(f.key("remain"), QStringLiteral("0"));
        f.env.clock.advanceSecond();
        QVERIFY(!scheduler.tick().active);
        QCOMPARE(f.power.requests, 1);
    }
};

QTEST_GUILESS_MAIN(TestShutdownScheduler)
#include "TestShutdownScheduler.moc"
