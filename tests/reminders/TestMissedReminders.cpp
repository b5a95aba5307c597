#include "fakes/FakeSoundPlayer.h"
#include "fakes/TestEnvironment.h"
#include "platform/AppPaths.h"
#include "reminders/MissedReminders.h"
#include "reminders/ReminderEngine.h"
#include "reminders/ReminderTable.h"
#include "storage/Settings.h"
#include "storage/TableQuery.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

/// Thursday; times in the cases are on this day unless they say "dN " (N days later, or earlier when negative).
const QDate kDayZero(2026, 12, 10);

QDateTime moment(QString text)
{
    QDate day = kDayZero;
    if (text.startsWith(QLatin1Char('d'))) {
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        day = day.addDays(text.mid(1, blank - 1).toInt());
        text = text.mid(blank + 1);
    }
    return QDateTime(day, QTime::fromString(text, QStringLiteral("H:mm:ss")));
}

/// "frequency M-d H:mm:ss content [hint]", dated in 2026; "*" for no date or no time.
Reminder reminder(const QString& described)
{
    const QStringList f = described.split(QLatin1Char(' '));
    Reminder r;
    r.frequency = f.at(0);
    r.hintdate = f.at(1) == u"*"_s ? QDate() : QDate::fromString(u"2026-"_s + f.at(1), QStringLiteral("yyyy-M-d"));
    r.hinttime = f.at(2) == u"*"_s ? QTime() : QTime::fromString(f.at(2), QStringLiteral("H:mm:ss"));
    r.content = f.at(3);
    r.hint = f.size() > 4 ? f.at(4) : u"是"_s;
    r.sound = u"小闹钟"_s;
    r.program = u"/opt/"_s + r.content;
    return r;
}

/// Every pop-up shown, as "提醒 <text>" for a reminder that fired and "错过 <line>|<line>" for the report.
class RecordingPopup : public ReminderPopup
{
public:
    void show(int width, int height, int timeOut, const QString& title, const QString& text) override
    {
        if (title == MissedReminders::title()) {
            QStringList lines = text.split(QLatin1Char('\r'));
            QVERIFY2(lines.takeLast().isEmpty(), "every line ends with a carriage return");
            QCOMPARE(QSize(width, height), QSize(270, lines.size() > 6 ? 400 : 200));
            QCOMPARE(timeOut, 0);
            events << u"错过 "_s + lines.join(QLatin1Char('|'));
        } else {
            QCOMPARE(title, u"提醒"_s);
            events << u"提醒 "_s + text;
        }
    }
    QStringList events;
};

/// One running copy of the program: the engine with the report hooked in, as the main window wires them.
struct RunningCopy
{
    RunningCopy(ReminderPopup& popup, SoundPlayer& player)
        : engine(query, popup, player)
        , missed(popup)
    {
        engine.setEvaluating([this](const TickSeconds::Span& skipped, const QList<QDateTime>& seconds) {
            missed.evaluating(skipped, seconds);
        });
    }
    TableQuery query;
    ReminderEngine engine;
    MissedReminders missed;
};

/// A program folder in which copies of the program start, run, exit and crash.
struct Machine
{
    void add(const Reminder& r)
    {
        TableQuery insert;
        insert.setSql(ReminderTable::insert(AppPaths::reminderTablePath()));
        ReminderTable::bindValues(insert, r);
        insert.execSql();
    }
    void tick(const QDateTime& now)
    {
        if (!copy)
            copy = std::make_unique<RunningCopy>(popup, player);
        env.clock.set(now);
        copy->engine.tick();
    }
    /// Runs one step: "H:mm:ss" ticks once, "H:mm:ss-H:mm:ss" every second from the one to the other (a "dN "
    /// before the first applies to both), "exit" ends the copy as the program does, "crash" ends it with nothing
    /// written, "missed=0" and "missed=1" set the switch.
    void step(const QString& step)
    {
        if (step == u"exit"_s) {
            copy->missed.exiting();
            copy.reset();
        } else if (step == u"crash"_s) {
            copy.reset();
        } else if (step.startsWith(u"missed="_s)) {
            Settings().set(Settings::Missed, step.endsWith(QLatin1Char('1')));
        } else if (step.contains(QLatin1Char('-')) && !step.startsWith(u"d-"_s)) {
            const qsizetype dash = step.indexOf(QLatin1Char('-'));
            const QDateTime from = moment(step.left(dash));
            const QDateTime to = QDateTime(from.date(), QTime::fromString(step.mid(dash + 1), u"H:mm:ss"_s));
            for (QDateTime at = from; at <= to; at = at.addSecs(1))
                tick(at);
        } else {
            tick(moment(step));
        }
    }
    QDateTime heartbeat() const { return Settings().get(Settings::LastAlive); }

    TestEnvironment env;
    FakeSoundPlayer player;
    RecordingPopup popup;
    std::unique_ptr<RunningCopy> copy;
};

} // namespace

class TestMissedReminders : public QObject
{
    Q_OBJECT
private slots:
    void occurrencesFollowTheEngine_data();
    void occurrencesFollowTheEngine();
    void reported_data();
    void reported();
    void heartbeatStaysAheadOfTheEngine();
    void reportWaitsForALockedTable();
    void damagedSettingsFileIsLeftAloneAndNothingReported();
};

void TestMissedReminders::occurrencesFollowTheEngine_data()
{
    QTest::addColumn<QDateTime>("after");
    QTest::addColumn<QDateTime>("until");
    auto row = [](const char* name, const QDateTime& after, const QDateTime& until) {
        QTest::newRow(name) << after << until;
    };
    row("the last second counts, the first does not", moment(u"9:00:00"_s), moment(u"d1 9:00:00"_s));
    row("over midnight", moment(u"23:00:00"_s), moment(u"d1 1:00:00"_s));
    row("three days", moment(u"0:00:00"_s), moment(u"d3 0:00:00"_s));
    row("over the end of November", moment(u"d-11 0:00:00"_s), moment(u"d-9 12:00:00"_s));
    row("over a leap February's end", QDateTime(QDate(2028, 2, 28), QTime(22, 0)),
        QDateTime(QDate(2028, 3, 1), QTime(10, 0)));
    row("empty", moment(u"9:00:00"_s), moment(u"8:00:00"_s));
}

// The report asks the engine's own rule, a few seconds a day; a second-by-second walk asking the same rule must find
// exactly the same occurrences.
void TestMissedReminders::occurrencesFollowTheEngine()
{
    QFETCH(QDateTime, after);
    QFETCH(QDateTime, until);
    const QVector<Reminder> rows{
        reminder(u"指定时间 12-10 9:00:00 一次"_s),  reminder(u"指定时间 12-11 0:00:00 零点"_s),
        reminder(u"每天一次 1-1 23:59:59 每晚"_s),   reminder(u"每周周四 12-31 0:00:00 周四"_s),
        reminder(u"每周周五 1-1 9:00:00 周五"_s),    reminder(u"每周周日 1-1 9:00:00 周日"_s),
        reminder(u"每月一次 1-31 9:00:00 三十一"_s), reminder(u"每月一次 5-1 9:00:00 初一"_s),
        reminder(u"每月一次 2-29 9:00:00 廿九"_s), // 2026 has no 29 February: read back as no date
        reminder(u"每月一次 3-29 9:00:00 二十九"_s), reminder(u"每天一次 1-1 10:00:00 停了 否"_s),
        reminder(u"每年一次 12-10 9:00:00 每年"_s),  reminder(u"每天一次 12-10 * 无时"_s),
    };
    QStringList expected;
    for (QDateTime second = after.addSecs(1); second <= until; second = second.addSecs(1)) {
        for (const Reminder& r : rows) {
            if (ReminderEngine::isDue(r, second))
                expected << second.toString(Qt::ISODate) + QLatin1Char(' ') + r.content;
        }
    }
    QStringList found;
    for (const MissedReminders::Occurrence& o : MissedReminders::occurrences(rows, after, until))
        found << o.second.toString(Qt::ISODate) + QLatin1Char(' ') + o.content;
    QCOMPARE(found, expected);
}

void TestMissedReminders::reported_data()
{
    QTest::addColumn<QStringList>("reminders");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("events");
    auto row = [](const char* name, const QStringList& reminders, const QStringList& steps, const QStringList& events) {
        QTest::newRow(name) << reminders << steps << events;
    };
    using L = QStringList;

    // The program was off.
    row("one-time while off", L{ u"指定时间 12-10 8:00:20 会议"_s }, L{ u"8:00:00-8:00:05"_s, u"exit"_s, u"8:01:00"_s },
        L{ u"错过 2026-12-10 8:00:20-->会议"_s });
    row("daily on each day off", L{ u"每天一次 1-1 9:00:00 吃药"_s }, L{ u"8:00:00"_s, u"exit"_s, u"d3 8:00:00"_s },
        L{ u"错过 2026-12-10 9:00:00-->吃药|2026-12-11 9:00:00-->吃药|2026-12-12 9:00:00-->吃药"_s });
    row("weekly on its day off",
        L{ u"每周周日 1-1 9:00:00 周日"_s, u"每周周五 1-1 9:00:00 周五"_s, u"每周周二 1-1 9:00:00 周二"_s },
        L{ u"8:00:00"_s, u"exit"_s, u"d4 8:00:00"_s },
        L{ u"错过 2026-12-11 9:00:00-->周五|2026-12-13 9:00:00-->周日"_s });
    row("monthly on its day off", L{ u"每月一次 1-31 9:00:00 月底"_s, u"每月一次 5-1 9:00:00 月初"_s },
        L{ u"d-12 8:00:00"_s, u"exit"_s, u"d-7 8:00:00"_s }, L{ u"错过 2026-12-1 9:00:00-->月初"_s });
    row("off longer than the look-back", L{ u"每天一次 1-1 9:00:00 吃药"_s, u"指定时间 12-10 9:30:00 旧事"_s },
        L{ u"8:00:00"_s, u"exit"_s, u"d10 9:00:01"_s },
        L{ u"错过 2026-12-14 9:00:00-->吃药|2026-12-15 9:00:00-->吃药|2026-12-16 9:00:00-->吃药|"
           "2026-12-17 9:00:00-->吃药|2026-12-18 9:00:00-->吃药|2026-12-19 9:00:00-->吃药|"
           "2026-12-20 9:00:00-->吃药"_s });
    row("stopped and unknown rows never", L{ u"指定时间 12-10 8:00:20 停了 否"_s, u"每年一次 12-10 8:00:20 每年"_s },
        L{ u"8:00:00"_s, u"exit"_s, u"8:01:00"_s }, L{});
    row("the first start reports nothing", L{ u"指定时间 12-10 8:00:20 会议"_s }, L{ u"8:01:00"_s }, L{});
    row("the second after the exit", L{ u"指定时间 12-10 8:00:06 紧接"_s },
        L{ u"8:00:00-8:00:05"_s, u"exit"_s, u"8:00:07"_s }, L{ u"错过 2026-12-10 8:00:06-->紧接"_s });
    row("the first tick's own second fires", L{ u"指定时间 12-10 8:05:00 准时"_s },
        L{ u"8:00:00"_s, u"exit"_s, u"8:05:00"_s }, L{ u"提醒 准时"_s });

    // Never a false report, never one twice.
    row("fired while running", L{ u"指定时间 12-10 8:00:20 开会"_s, u"每天一次 1-1 8:00:25 每天"_s },
        L{ u"8:00:00-8:00:30"_s, u"exit"_s, u"8:05:00"_s }, L{ u"提醒 开会"_s, u"提醒 每天"_s });
    row("started again in the same minute", L{ u"指定时间 12-10 8:00:15 甲"_s },
        L{ u"8:00:00-8:00:10"_s, u"exit"_s, u"8:00:20-8:00:25"_s, u"exit"_s, u"8:00:30"_s },
        L{ u"错过 2026-12-10 8:00:15-->甲"_s });
    row("crashed and started again in the same minute", L{ u"指定时间 12-10 8:00:15 甲"_s },
        L{ u"8:00:00-8:00:10"_s, u"exit"_s, u"8:00:20-8:00:25"_s, u"crash"_s, u"8:00:30"_s },
        L{ u"错过 2026-12-10 8:00:15-->甲"_s });
    // The heartbeat was last written at 8:00:00, a minute ahead: what the crash could have fired is not reported,
    // nor (the price of it) what fell due in that minute after the crash.
    row("crash between heartbeats",
        L{ u"指定时间 12-10 8:00:50 甲"_s, u"指定时间 12-10 8:01:00 乙"_s, u"指定时间 12-10 8:01:01 丙"_s },
        L{ u"8:00:00-8:00:55"_s, u"crash"_s, u"8:05:00"_s }, L{ u"提醒 甲"_s, u"错过 2026-12-10 8:01:01-->丙"_s });
    row("crash minutes into a run", L{ u"指定时间 12-10 8:03:05 甲"_s, u"指定时间 12-10 8:04:04 乙"_s },
        L{ u"8:00:00-8:03:10"_s, u"crash"_s, u"8:10:00"_s }, L{ u"提醒 甲"_s, u"错过 2026-12-10 8:04:04-->乙"_s });
    row("clock set back while off holds the heartbeat", L{ u"指定时间 12-10 8:05:00 补"_s },
        L{ u"d1 8:00:00"_s, u"exit"_s, u"8:00:00"_s, u"exit"_s, u"8:10:00"_s }, L{});
    row("a heartbeat beyond the look-back no longer counts", L{ u"指定时间 12-10 8:05:00 补"_s },
        L{ u"d8 8:00:00"_s, u"exit"_s, u"8:00:00"_s, u"exit"_s, u"8:10:00"_s }, L{ u"错过 2026-12-10 8:05:00-->补"_s });
    row("switched off: nothing, and switched on again nothing that fired",
        L{ u"指定时间 12-10 8:00:20 甲"_s, u"指定时间 12-10 8:01:12 乙"_s },
        L{ u"missed=0"_s, u"8:00:00"_s, u"exit"_s, u"8:01:00"_s, u"missed=1"_s, u"8:01:01-8:01:15"_s, u"exit"_s,
           u"8:02:00"_s },
        L{ u"提醒 乙"_s });

    // The clock of a running program jumped forward.
    row("one-time across a jump", L{ u"指定时间 12-10 8:10:00 甲"_s }, L{ u"8:00:00"_s, u"8:20:00"_s },
        L{ u"错过 2026-12-10 8:10:00-->甲"_s });
    row("the last minute of a jump fires instead",
        L{ u"指定时间 12-10 8:19:01 乙"_s, u"指定时间 12-10 8:19:00 甲"_s, u"指定时间 12-10 8:00:00 前"_s },
        L{ u"8:00:00"_s, u"8:20:00"_s, u"8:20:01"_s },
        L{ u"提醒 前"_s, u"错过 2026-12-10 8:19:00-->甲"_s, u"提醒 乙"_s });
    row("every kind across a sleep of days",
        L{ u"每天一次 1-1 9:00:00 吃药"_s, u"每周周五 1-1 9:00:00 周会"_s, u"每月一次 1-12 9:00:00 月会"_s,
           u"指定时间 12-11 12:00:00 午饭"_s },
        L{ u"8:00:00"_s, u"d3 8:00:00"_s },
        L{ u"错过 2026-12-10 9:00:00-->吃药|2026-12-11 9:00:00-->吃药|2026-12-11 9:00:00-->周会|"
           "2026-12-11 12:00:00-->午饭|2026-12-12 9:00:00-->吃药|2026-12-12 9:00:00-->月会"_s });
    row("a sleep longer than the look-back", L{ u"每天一次 1-1 9:00:00 吃药"_s }, L{ u"8:00:00"_s, u"d10 9:00:01"_s },
        L{ u"错过 2026-12-13 9:00:00-->吃药|2026-12-14 9:00:00-->吃药|2026-12-15 9:00:00-->吃药|"
           "2026-12-16 9:00:00-->吃药|2026-12-17 9:00:00-->吃药|2026-12-18 9:00:00-->吃药|"
           "2026-12-19 9:00:00-->吃药"_s,
           u"提醒 吃药"_s });
    row("switched off: no report of a jump", L{ u"指定时间 12-10 8:10:00 甲"_s },
        L{ u"missed=0"_s, u"8:00:00"_s, u"8:20:00"_s }, L{});
    row("a jump reported, then exit and start", L{ u"指定时间 12-10 8:10:00 甲"_s },
        L{ u"8:00:00"_s, u"8:20:00"_s, u"exit"_s, u"8:20:30"_s }, L{ u"错过 2026-12-10 8:10:00-->甲"_s });
    row("a jump reported, then crash and start", L{ u"指定时间 12-10 8:10:00 甲"_s },
        L{ u"8:00:00"_s, u"8:20:00"_s, u"crash"_s, u"8:20:30"_s }, L{ u"错过 2026-12-10 8:10:00-->甲"_s });
    row("clock set back and on again: fires once, reported never", L{ u"指定时间 12-10 8:10:00 甲"_s },
        L{ u"8:00:00-8:00:01"_s, u"8:09:59-8:10:01"_s, u"7:00:00"_s, u"8:30:00"_s, u"exit"_s, u"8:40:00"_s },
        L{ u"提醒 甲"_s });
}

void TestMissedReminders::reported()
{
    QFETCH(QStringList, reminders);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, events);

    Machine machine;
    for (const QString& described : reminders)
        machine.add(reminder(described));
    for (const QString& step : steps)
        machine.step(step);
    QCOMPARE(machine.popup.events, events);

    // Nothing of a missed reminder is run: only those that fired ran their programs and played their sounds.
    QStringList programs;
    for (const QString& event : events) {
        if (event.startsWith(u"提醒 "_s))
            programs << u"/opt/"_s + event.mid(3);
    }
    QCOMPARE(machine.env.shell.opened, programs);
    QCOMPARE(machine.player.calls.filter(u"play "_s).size(), programs.size());
    QCOMPARE(machine.env.errors, QStringList());
}

// At every moment the heartbeat on disk is at or after every second evaluated, it changes at most once a minute,
// and at exit it is the last second evaluated.
void TestMissedReminders::heartbeatStaysAheadOfTheEngine()
{
    Machine machine;
    QDateTime stored;
    int writes = 0;
    QDateTime lastWrite;
    for (QDateTime at = moment(u"8:00:00"_s); at < moment(u"8:03:00"_s); at = at.addSecs(1)) {
        machine.tick(at);
        const QDateTime now = machine.heartbeat();
        QVERIFY2(now >= at, qPrintable(at.toString()));
        if (now != stored) {
            QVERIFY(!lastWrite.isValid() || lastWrite.secsTo(at) >= 60);
            lastWrite = at;
            stored = now;
            ++writes;
        }
    }
    QCOMPARE(writes, 3);
    QVERIFY(machine.env.readFile(u"helper.ini"_s).contains("lastalive=2026-12-10T08:03:0"));

    // A clock set back leaves the latest second evaluated as the heartbeat.
    machine.tick(moment(u"7:00:00"_s));
    machine.step(u"exit"_s);
    QCOMPARE(machine.heartbeat(), moment(u"8:02:59"_s));
}

// A report whose table is locked at that moment comes at a later tick, once, and lists nothing evaluated meanwhile.
void TestMissedReminders::reportWaitsForALockedTable()
{
    Machine machine;
    for (const QString& described :
         { u"指定时间 12-10 8:10:00 甲"_s, u"指定时间 12-10 8:20:30 乙"_s, u"指定时间 12-10 8:30:00 丙"_s })
        machine.add(reminder(described));
    machine.step(u"8:00:00"_s);
    // The hook as the engine calls it: the seconds left out, and those the tick evaluates.
    auto tick = [&](const QString& skippedFrom, const QString& skippedTo, const QString& from, const QString& to) {
        QList<QDateTime> seconds;
        for (QDateTime at = moment(from); at <= moment(to); at = at.addSecs(1))
            seconds << at;
        const TickSeconds::Span skipped
            = skippedFrom.isEmpty() ? TickSeconds::Span{} : TickSeconds::Span{ moment(skippedFrom), moment(skippedTo) };
        machine.copy->missed.evaluating(skipped, seconds);
    };
    {
        QSqlDatabase writer = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"writer"_s);
        writer.setDatabaseName(AppPaths::reminderTablePath());
        QVERIFY(writer.open());
        QSqlQuery lock(writer);
        QVERIFY(lock.exec(u"BEGIN EXCLUSIVE"_s));
        tick(u"8:00:01"_s, u"8:19:00"_s, u"8:19:01"_s, u"8:20:00"_s);
        tick({}, {}, u"8:20:01"_s, u"8:21:00"_s); // 乙 fired here
        tick(u"8:21:01"_s, u"8:39:00"_s, u"8:39:01"_s, u"8:40:00"_s);
        QVERIFY(machine.popup.events.isEmpty());
        QVERIFY(lock.exec(u"ROLLBACK"_s));
        writer.close();
    }
    QSqlDatabase::removeDatabase(u"writer"_s);
    tick({}, {}, u"8:40:01"_s, u"8:40:01"_s);
    tick({}, {}, u"8:40:02"_s, u"8:40:02"_s);
    QCOMPARE(machine.popup.events, QStringList{ u"错过 2026-12-10 8:10:00-->甲|2026-12-10 8:30:00-->丙"_s });
}

// The user is told of a damaged helper.ini at start and finds it as it was; without a heartbeat on disk nothing
// can be reported soundly.
void TestMissedReminders::damagedSettingsFileIsLeftAloneAndNothingReported()
{
    Machine machine;
    machine.add(reminder(u"指定时间 12-10 8:10:00 甲"_s));
    const QByteArray damaged("[system]\r\nlastalive=2026-12-10T07:00:00Z\r\n\x01\x02 not a line\r\n");
    machine.env.writeFile(u"helper.ini"_s, damaged);
    for (const QString& step : { u"8:00:00"_s, u"8:20:00"_s, u"exit"_s, u"8:30:00"_s })
        machine.step(step);
    QVERIFY(machine.popup.events.isEmpty());
    QCOMPARE(machine.env.readFile(u"helper.ini"_s), damaged);
    QCOMPARE(machine.env.errors, QStringList());
}

QTEST_GUILESS_MAIN(TestMissedReminders)
#include "TestMissedReminders.moc"
