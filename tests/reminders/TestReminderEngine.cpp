#include "fakes/FakeSoundPlayer.h"
#include "fakes/TestEnvironment.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "reminders/ReminderEngine.h"
#include "reminders/ReminderTable.h"
#include "storage/TableFiles.h"
#include "storage/TableQuery.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <cstdio>

Q_DECLARE_METATYPE(Reminder)

namespace {

const QDate kThursday(2026, 12, 10);

/// Records every pop-up the engine shows; can be told to fail for one text.
class RecordingPopup : public ReminderPopup
{
public:
    struct Shown
    {
        int width;
        int height;
        int timeOut;
        QString title;
        QString text;
    };
    void show(int width, int height, int timeOut, const QString& title, const QString& text) override
    {
        if (text == failFor)
            throw AppError(QStringLiteral("pop-up failed"));
        shown.append({ width, height, timeOut, title, text });
    }
    QStringList texts() const
    {
        QStringList result;
        for (const Shown& s : shown)
            result << s.text;
        return result;
    }
    QVector<Shown> shown;
    QString failFor;
};

Reminder reminder(const QString& frequency, const QDate& date, const QTime& time,
                  const QString& hint = QStringLiteral("是"))
{
    Reminder r;
    r.hint = hint;
    r.hintdate = date;
    r.hinttime = time;
    r.content = QStringLiteral("开会");
    r.frequency = frequency;
    return r;
}

/// A program folder with the fakes installed, the engine and what it fired.
struct Fixture
{
    Fixture()
        : engine(query, popup, player)
    { }
    void add(const Reminder& r)
    {
        TableQuery insert;
        insert.setSql(ReminderTable::insert(AppPaths::reminderTablePath()));
        ReminderTable::bindValues(insert, r);
        insert.execSql();
    }
    /// A daily row due at 08:00:00 + seconds, with its own text, sound and program.
    void addDaily(const QString& content, int seconds = 0, const QString& sound = {}, const QString& program = {},
                  const QString& dispear = {})
    {
        Reminder r = reminder(QStringLiteral("每天一次"), kThursday, QTime(8, 0).addSecs(seconds));
        r.content = content;
        r.sound = sound;
        r.program = program;
        r.dispear = dispear;
        add(r);
    }
    void tickAt(const QTime& time)
    {
        env.clock.set(QDateTime(kThursday, time));
        engine.tick();
    }

    TestEnvironment env;
    FakeSoundPlayer player;
    RecordingPopup popup;
    TableQuery query;
    ReminderEngine engine;
};

} // namespace

class TestReminderEngine : public QObject
{
    Q_OBJECT
private slots:
    void dueTests_data();
    void dueTests();
    void catchUp_data();
    void catchUp();
    void twoRowsInOneSecondBothFireInTableOrder();
    void timeOutFromDispear_data();
    void timeOutFromDispear();
    void brokenPartStopsNothingElse_data();
    void brokenPartStopsNothingElse();
    void unreadableTableIsReportedOncePerCause();
    void firstTickAfterCureCatchesUpOnMissedSeconds();
    void lockedTableHoldsNothingUp_data();
    void lockedTableHoldsNothingUp();
    void storedTextAgreesWithReadRow_data();
    void storedTextAgreesWithReadRow();
    void replacedTableFileIsReadAtTheNextTick();
};

void TestReminderEngine::dueTests_data()
{
    QTest::addColumn<Reminder>("row");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("due");

    const QTime at(8, 30, 0);
    auto on = [&](const QDate& date, const QTime& time = QTime(8, 30, 0)) { return QDateTime(date, time); };
    const QString once = QStringLiteral("指定时间");
    const QString daily = QStringLiteral("每天一次");
    const QString monthly = QStringLiteral("每月一次");

    QTest::newRow("once, exact second") << reminder(once, kThursday, at) << on(kThursday) << true;
    QTest::newRow("once, milliseconds ignored")
        << reminder(once, kThursday, at) << on(kThursday, QTime(8, 30, 0, 999)) << true;
    QTest::newRow("once, a second later") << reminder(once, kThursday, at) << on(kThursday, QTime(8, 30, 1)) << false;
    QTest::newRow("once, a minute later") << reminder(once, kThursday, at) << on(kThursday, QTime(8, 31, 0)) << false;
    QTest::newRow("once, an hour later") << reminder(once, kThursday, at) << on(kThursday, QTime(9, 30, 0)) << false;
    QTest::newRow("once, next day") << reminder(once, kThursday, at) << on(kThursday.addDays(1)) << false;
    QTest::newRow("once, next year") << reminder(once, kThursday, at) << on(kThursday.addYears(1)) << false;
    QTest::newRow("daily, past date") << reminder(daily, QDate(2001, 1, 1), at) << on(kThursday) << true;
    QTest::newRow("daily, future date") << reminder(daily, QDate(2030, 5, 5), at) << on(kThursday) << true;
    QTest::newRow("daily, other second") << reminder(daily, kThursday, at) << on(kThursday, QTime(8, 30, 59)) << false;

    // 2026-12-13 is a Sunday; each weekly name fires on its own day only.
    const QStringList weekly{ QStringLiteral("每周周日"), QStringLiteral("每周周一"), QStringLiteral("每周周二"),
                              QStringLiteral("每周周三"), QStringLiteral("每周周四"), QStringLiteral("每周周五"),
                              QStringLiteral("每周周六") };
    const QDate sunday(2026, 12, 13);
    for (int i = 0; i < weekly.size(); ++i) {
        const QByteArray name = weekly.at(i).toUtf8();
        const QDate day = sunday.addDays(i);
        QTest::newRow(name + ", its day") << reminder(weekly.at(i), kThursday, at) << on(day) << true;
        QTest::newRow(name + ", the next day") << reminder(weekly.at(i), kThursday, at) << on(day.addDays(1)) << false;
        QTest::newRow(name + ", future date") << reminder(weekly.at(i), QDate(2031, 1, 1), at) << on(day) << true;
    }

    QTest::newRow("monthly, other month and year")
        << reminder(monthly, QDate(2020, 3, 15), at) << on(QDate(2026, 12, 15)) << true;
    QTest::newRow("monthly, other day") << reminder(monthly, QDate(2026, 12, 15), at) << on(QDate(2026, 12, 16))
                                        << false;
    QTest::newRow("monthly 31st, December")
        << reminder(monthly, QDate(2026, 1, 31), at) << on(QDate(2026, 12, 31)) << true;
    for (int month : { 2, 4, 6, 9, 11 }) {
        const QDate last = QDate(2026, month, 1).addMonths(1).addDays(-1);
        QTest::newRow(qPrintable(QStringLiteral("monthly 31st, last day of month %1").arg(month)))
            << reminder(monthly, QDate(2026, 1, 31), at) << on(last) << false;
        QTest::newRow(qPrintable(QStringLiteral("monthly 31st, first day after month %1").arg(month)))
            << reminder(monthly, QDate(2026, 1, 31), at) << on(last.addDays(1)) << false;
    }
    QTest::newRow("monthly 29th, leap February")
        << reminder(monthly, QDate(2024, 2, 29), at) << on(QDate(2028, 2, 29)) << true;
    QTest::newRow("monthly 29th, common February end")
        << reminder(monthly, QDate(2024, 2, 29), at) << on(QDate(2027, 2, 28)) << false;
    QTest::newRow("monthly 29th, common March 1st")
        << reminder(monthly, QDate(2024, 2, 29), at) << on(QDate(2027, 3, 1)) << false;

    for (const QString& hint :
         { QStringLiteral("否"), QString(), QStringLiteral("是 "), QStringLiteral("yes"), QStringLiteral("1") })
        QTest::newRow(qPrintable(QStringLiteral("hint '%1'").arg(hint)))
            << reminder(daily, kThursday, at, hint) << on(kThursday) << false;
    QTest::newRow("unknown frequency") << reminder(QStringLiteral("每年一次"), kThursday, at) << on(kThursday) << false;
    QTest::newRow("empty frequency") << reminder(QString(), kThursday, at) << on(kThursday) << false;
    QTest::newRow("no time") << reminder(daily, kThursday, QTime()) << on(kThursday, QTime(0, 0)) << false;
    QTest::newRow("once without date") << reminder(once, QDate(), at) << on(kThursday) << false;
}

void TestReminderEngine::dueTests()
{
    QFETCH(Reminder, row);
    QFETCH(QDateTime, now);
    QFETCH(bool, due);
    QCOMPARE(ReminderEngine::isDue(row, now), due);
}

void TestReminderEngine::catchUp_data()
{
    QTest::addColumn<QTime>("dueAt");
    QTest::addColumn<QList<QTime>>("ticks");
    QTest::addColumn<int>("fired");

    QTest::newRow("tick 2.5 s late fires the skipped second once")
        << QTime(8, 0, 2)
        << QList<QTime>{ QTime(8, 0, 0, 300), QTime(8, 0, 1, 300), QTime(8, 0, 3, 800), QTime(8, 0, 4, 800) } << 1;
    QTest::newRow("two ticks in one second fire once")
        << QTime(8, 0, 1) << QList<QTime>{ QTime(8, 0, 0, 500), QTime(8, 0, 1, 10), QTime(8, 0, 1, 990) } << 1;
    QTest::newRow("first tick fires its own second") << QTime(8, 0, 0) << QList<QTime>{ QTime(8, 0, 0, 900) } << 1;
    QTest::newRow("first tick does not reach back")
        << QTime(7, 59, 59) << QList<QTime>{ QTime(8, 0, 0, 100), QTime(8, 0, 1, 100) } << 0;
    QTest::newRow("catch-up covers the last 60 s")
        << QTime(7, 59, 1) << QList<QTime>{ QTime(7, 58, 0), QTime(8, 0, 0) } << 1;
    QTest::newRow("catch-up reaches no further")
        << QTime(7, 59, 0) << QList<QTime>{ QTime(7, 58, 0), QTime(8, 0, 0) } << 0;
    QTest::newRow("clock stepped back a little fires nothing twice")
        << QTime(8, 0, 1)
        << QList<QTime>{ QTime(8, 0, 1, 100), QTime(8, 0, 2, 100), QTime(8, 0, 1, 500), QTime(8, 0, 2, 600) } << 1;
    QTest::newRow("clock set back 3 s across the due second fires once")
        << QTime(9, 0, 0)
        << QList<QTime>{ QTime(9, 0, 0, 100), QTime(9, 0, 1, 100), QTime(8, 59, 58, 100), QTime(8, 59, 59, 100),
                         QTime(9, 0, 0, 100), QTime(9, 0, 1, 100), QTime(9, 0, 2, 100) }
        << 1;
    QTest::newRow("clock set back an hour starts afresh")
        << QTime(8, 0, 0) << QList<QTime>{ QTime(9, 0, 0), QTime(8, 0, 0, 200), QTime(8, 0, 1, 200) } << 1;
}

void TestReminderEngine::catchUp()
{
    QFETCH(QTime, dueAt);
    QFETCH(QList<QTime>, ticks);
    QFETCH(int, fired);

    Fixture f;
    f.addDaily(QStringLiteral("due"), QTime(8, 0).secsTo(dueAt));
    for (const QTime& tick : ticks)
        f.tickAt(tick);
    QCOMPARE(f.popup.shown.size(), fired);
    QVERIFY(f.env.errors.isEmpty());
}

void TestReminderEngine::twoRowsInOneSecondBothFireInTableOrder()
{
    Fixture f;
    f.addDaily(QStringLiteral("第一"), 5, QStringLiteral("小闹钟"), QStringLiteral("/opt/first"));
    f.addDaily(QStringLiteral("别的时间"), 6, QStringLiteral("小汽车"), QStringLiteral("/opt/other"));
    f.addDaily(QStringLiteral("第二"), 5, QStringLiteral("/home/me/my sound.wav"), QStringLiteral("/opt/second"));

    f.tickAt(QTime(8, 0, 4));
    f.tickAt(QTime(8, 0, 5));

    QCOMPARE(f.popup.texts(), (QStringList{ QStringLiteral("第一"), QStringLiteral("第二") }));
    for (const RecordingPopup::Shown& shown : f.popup.shown) {
        QCOMPARE(QSize(shown.width, shown.height), QSize(180, 150));
        QCOMPARE(shown.title, QStringLiteral("提醒"));
    }
    QCOMPARE(f.env.shell.opened, (QStringList{ QStringLiteral("/opt/first"), QStringLiteral("/opt/second") }));
    // Opening the second sound closed the first: the second is the one heard.
    const QString alarm = AppPaths::soundDir() + QStringLiteral("clocker.wav");
    QCOMPARE(
        f.player.calls,
        (QStringList{ QStringLiteral("open ") + alarm, QStringLiteral("play ") + alarm,
                      QStringLiteral("open /home/me/my sound.wav"), QStringLiteral("play /home/me/my sound.wav") }));
    QVERIFY(f.player.playing);
    QVERIFY(f.env.errors.isEmpty());
}

void TestReminderEngine::timeOutFromDispear_data()
{
    QTest::addColumn<QString>("dispear");
    QTest::addColumn<int>("timeOut");
    QTest::addColumn<bool>("reported");

    QTest::newRow("empty") << QString() << 600 << false;
    QTest::newRow("ten") << QStringLiteral("10") << 10 << false;
    QTest::newRow("zero stays until clicked") << QStringLiteral("0") << 0 << false;
    QTest::newRow("blanks around") << QStringLiteral(" 15 ") << 15 << false;
    QTest::newRow("not a number") << QStringLiteral("abc") << 600 << true;
    QTest::newRow("fraction") << QStringLiteral("1.5") << 600 << true;
    QTest::newRow("too large") << QStringLiteral("99999999999") << 600 << true;
}

void TestReminderEngine::timeOutFromDispear()
{
    QFETCH(QString, dispear);
    QFETCH(int, timeOut);
    QFETCH(bool, reported);

    Fixture f;
    f.addDaily(QStringLiteral("提醒文字"), 0, QString(), QString(), dispear);
    f.tickAt(QTime(8, 0, 0));
    QCOMPARE(f.popup.shown.size(), 1);
    QCOMPARE(f.popup.shown.first().timeOut, timeOut);
    QCOMPARE(f.env.errors.size(), reported ? 1 : 0);
}

void TestReminderEngine::brokenPartStopsNothingElse_data()
{
    QTest::addColumn<QString>("dispear");
    QTest::addColumn<QString>("sound");
    QTest::addColumn<bool>("popupFails");
    QTest::addColumn<int>("errors");

    QTest::newRow("missing catalogue sound") << QStringLiteral("10") << QStringLiteral("天鹅湖") << false << 1;
    QTest::newRow("moved user sound") << QStringLiteral("10") << QStringLiteral("/gone/ring.wav") << false << 1;
    QTest::newRow("unparsable dispear") << QStringLiteral("十秒") << QStringLiteral("小闹钟") << false << 1;
    QTest::newRow("pop-up fails") << QStringLiteral("10") << QStringLiteral("小闹钟") << true << 1;
    QTest::newRow("everything broken") << QStringLiteral("x") << QStringLiteral("/gone/ring.wav") << true << 3;
}

void TestReminderEngine::brokenPartStopsNothingElse()
{
    QFETCH(QString, dispear);
    QFETCH(QString, sound);
    QFETCH(bool, popupFails);
    QFETCH(int, errors);

    Fixture f;
    f.player.missing << AppPaths::soundDir() + QStringLiteral("天鹅湖.mid") << QStringLiteral("/gone/ring.wav");
    if (popupFails)
        f.popup.failFor = QStringLiteral("坏的");
    f.addDaily(QStringLiteral("坏的"), 0, sound, QStringLiteral("/opt/broken"), dispear);
    f.addDaily(QStringLiteral("好的"), 0, QStringLiteral("小汽车"), QStringLiteral("/opt/fine"), QStringLiteral("30"));
    f.tickAt(QTime(8, 0, 0));

    // The broken row still does every part it can.
    const QStringList expectedTexts = popupFails ? QStringList{ QStringLiteral("好的") }
                                                 : QStringList{ QStringLiteral("坏的"), QStringLiteral("好的") };
    QCOMPARE(f.popup.texts(), expectedTexts);
    if (!popupFails)
        QCOMPARE(f.popup.shown.first().timeOut, dispear == QStringLiteral("10") ? 10 : 600);
    QCOMPARE(f.env.shell.opened, (QStringList{ QStringLiteral("/opt/broken"), QStringLiteral("/opt/fine") }));
    // The other row is untouched by it.
    QCOMPARE(f.popup.shown.last().timeOut, 30);
    QCOMPARE(f.player.openFile, AppPaths::soundDir() + QStringLiteral("call.wav"));
    QVERIFY(f.player.playing);
    QCOMPARE(f.env.errors.size(), errors);
}

void TestReminderEngine::unreadableTableIsReportedOncePerCause()
{
    Fixture f;
    const QString table = AppPaths::reminderTablePath();
    f.env.writeFile(QStringLiteral("data/time.db"), QByteArray(4096, 'x'));
    for (int second = 0; second < 5; ++second)
        f.tickAt(QTime(8, 0, second));
    QCOMPARE(f.env.errors.size(), 1);

    // Cured, the table reads again; broken again later, the user hears of it again.
    TableFiles::release(table);
    QVERIFY(QFile::remove(table));
    f.tickAt(QTime(8, 0, 5));
    QCOMPARE(f.env.errors.size(), 1);
    TableFiles::release(table);
    f.env.writeFile(QStringLiteral("data/time.db"), QByteArray(4096, 'y'));
    f.tickAt(QTime(8, 0, 6));
    f.tickAt(QTime(8, 0, 7));
    QCOMPARE(f.env.errors.size(), 2);
    QCOMPARE(f.env.errors.at(0), f.env.errors.at(1));
}

void TestReminderEngine::firstTickAfterCureCatchesUpOnMissedSeconds()
{
    Fixture f;
    const QString table = AppPaths::reminderTablePath();
    f.addDaily(QStringLiteral("在坏的时候到期"), 3);
    f.tickAt(QTime(8, 0, 0));

    // A file replaced under the program (a restore gone wrong) cannot be read for a few seconds.
    TableFiles::release(table);
    const QByteArray good = f.env.readFile(QStringLiteral("data/time.db"));
    f.env.writeFile(QStringLiteral("data/time.db"), QByteArray(4096, 'x'));
    for (int second = 1; second <= 4; ++second)
        f.tickAt(QTime(8, 0, second));
    QVERIFY(f.popup.shown.isEmpty());

    TableFiles::release(table);
    f.env.writeFile(QStringLiteral("data/time.db"), good);
    f.tickAt(QTime(8, 0, 5));
    QCOMPARE(f.popup.texts(), QStringList{ QStringLiteral("在坏的时候到期") });
    QCOMPARE(f.env.errors.size(), 1);
}

void TestReminderEngine::lockedTableHoldsNothingUp_data()
{
    QTest::addColumn<int>("lockedSeconds");
    QTest::addColumn<int>("firstTickLateMs");
    QTest::addColumn<int>("errors");
    QTest::newRow("3 s: nothing shown") << 3 << 0 << 0;
    QTest::newRow("5 s: still nothing") << 5 << 0 << 0;
    QTest::newRow("8 s: one error for the whole lock") << 8 << 0 << 1;
    QTest::newRow("59 s: one error, the reminder still caught up") << 59 << 0 << 1;
    // Ticks come a few milliseconds apart from one second to the next: a lock seen for 5.999 s is past 5 s.
    QTest::newRow("7 s, first locked tick a little late: one error") << 7 << 1 << 1;
}

void TestReminderEngine::lockedTableHoldsNothingUp()
{
    QFETCH(int, lockedSeconds);
    QFETCH(int, firstTickLateMs);
    QFETCH(int, errors);
    Fixture f;
    f.addDaily(QStringLiteral("锁定期间到期"), 2);
    f.tickAt(QTime(8, 0, 0));

    // Another connection writes: no one else may read until it ends.
    {
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        writer.setDatabaseName(AppPaths::reminderTablePath());
        QVERIFY(writer.open());
        QSqlQuery lock(writer);
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QElapsedTimer tickTime;
        qint64 longestTick = 0;
        for (int s = 1; s <= lockedSeconds; ++s) {
            tickTime.start();
            f.tickAt(QTime(8, 0).addSecs(s).addMSecs(s == 1 ? firstTickLateMs : 0));
            longestTick = std::max(longestTick, tickTime.elapsed());
        }
        qInfo("longest tick while locked: %lld ms", longestTick);
        QCOMPARE(f.popup.shown.size(), 0);
        QCOMPARE(f.env.errors.size(), errors);
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        writer.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));

    // The first tick that reads again fires the second the lock hid, once.
    f.tickAt(QTime(8, 0).addSecs(lockedSeconds + 1));
    f.tickAt(QTime(8, 0).addSecs(lockedSeconds + 2));
    QCOMPARE(f.popup.texts(), QStringList{ QStringLiteral("锁定期间到期") });
    QCOMPARE(f.env.errors.size(), errors);
    if (errors)
        QVERIFY(f.env.errors.constFirst().contains(QStringLiteral("locked")));
}

// The due test on a row's stored text against the one on the row read as every window reads it, over texts in the
// stored form and in every other form the table may hold (edited by hand, written by an older program).
void TestReminderEngine::storedTextAgreesWithReadRow_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("hintdate");
    QTest::addColumn<QString>("hinttime");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<bool>("dueThursday"); // at 2026-12-10 08:30:00

    const QString yes = QStringLiteral("是");
    const QString once = QStringLiteral("指定时间");
    const QString daily = QStringLiteral("每天一次");
    const QString monthly = QStringLiteral("每月一次");
    const QString thursday = QStringLiteral("每周周四");
    const QString date = QStringLiteral("2026-12-10");
    const QString time = QStringLiteral("08:30:00");
    auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

    row("stored form, daily") << yes << date << time << daily << true;
    row("stored form, once") << yes << date << time << once << true;
    row("stored form, once, other day") << yes << QStringLiteral("2026-12-11") << time << once << false;
    row("stored form, monthly") << yes << QStringLiteral("2020-03-10") << time << monthly << true;
    row("stored form, weekly") << yes << date << time << thursday << true;
    row("stored form, other weekday") << yes << date << time << QStringLiteral("每周周五") << false;
    row("stored form, other second") << yes << date << QStringLiteral("08:30:01") << daily << false;
    row("hint stopped") << QStringLiteral("否") << date << time << daily << false;
    row("hint with a blank") << QStringLiteral("是 ") << date << time << daily << false;
    row("hint NULL") << QString() << date << time << daily << false;
    row("unknown frequency") << yes << date << time << QStringLiteral("每年一次") << false;
    row("frequency NULL") << yes << date << time << QString() << false;
    row("time without leading zero") << yes << date << QStringLiteral("8:30:00") << daily << true;
    row("time without seconds") << yes << date << QStringLiteral("8:30") << daily << true;
    row("time between blanks") << yes << date << QStringLiteral(" 08:30:00 ") << daily << true;
    row("time with milliseconds") << yes << date << QStringLiteral("08:30:00.000") << daily << false;
    row("time hour 24") << yes << date << QStringLiteral("24:30:00") << daily << false;
    row("time second 60") << yes << date << QStringLiteral("08:29:60") << daily << false;
    row("time empty") << yes << date << QStringLiteral("") << daily << false;
    row("time NULL") << yes << date << QString() << daily << false;
    row("time as a number") << yes << date << QStringLiteral("830") << daily << false;
    row("date without leading zeros") << yes << QStringLiteral("2020-3-10") << time << monthly << true;
    row("date with slashes") << yes << QStringLiteral("2026/12/10") << time << once << true;
    row("date short form") << yes << QStringLiteral("2026-12-1") << time << once << false;
    row("date between blanks") << yes << QStringLiteral(" 2026-12-10 ") << time << once << true;
    row("date with a time") << yes << QStringLiteral("2026-12-10 08:30:00") << time << once << false;
    row("date NULL, once") << yes << QString() << time << once << false;
    row("date NULL, daily") << yes << QString() << time << daily << true;
    row("date in the stored form but no date, once") << yes << QStringLiteral("2026-02-30") << time << once << false;
    // Checked on the 30th and 31st below: a day that does not exist in its month is no day at all.
    row("date in the stored form but no date, monthly")
        << yes << QStringLiteral("2026-02-31") << time << monthly << false;
    row("date of year 0, monthly") << yes << QStringLiteral("0000-01-10") << time << monthly << false;
    row("date of a short year") << yes << QStringLiteral("26-12-10") << time << once << false;
}

void TestReminderEngine::storedTextAgreesWithReadRow()
{
    QFETCH(QString, hint);
    QFETCH(QString, hintdate);
    QFETCH(QString, hinttime);
    QFETCH(QString, frequency);
    QFETCH(bool, dueThursday);

    TestEnvironment env;
    {
        QSqlDatabase db = TableFiles::connection(TableFiles::resolve(AppPaths::reminderTablePath()));
        QSqlQuery insert(db);
        QVERIFY(insert.prepare(QStringLiteral("insert into time (hint,hintdate,hinttime,content,frequency) "
                                              "values (?,?,?,'x',?)")));
        const QStringList values{ hint, hintdate, hinttime, frequency };
        for (int i = 0; i < values.size(); ++i)
            insert.bindValue(i, values.at(i).isNull() ? QVariant() : QVariant(values.at(i)));
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
    }
    TableQuery read;
    read.setSql(ReminderTable::selectAll(AppPaths::reminderTablePath()));
    read.open();
    QCOMPARE(read.recordCount(), 1);
    const Reminder full = ReminderTable::current(read);
    read.close();

    const QDateTime thursday(kThursday, QTime(8, 30));
    const QList<QDateTime> seconds{ thursday,
                                    thursday.addSecs(1),
                                    thursday.addSecs(-1),
                                    thursday.addSecs(3600),
                                    thursday.addDays(1),
                                    QDateTime(QDate(2026, 12, 30), QTime(8, 30)),
                                    QDateTime(QDate(2026, 12, 31), QTime(8, 30)),
                                    QDateTime(QDate(2027, 1, 10), QTime(8, 30)),
                                    QDateTime(QDate(2026, 12, 10), QTime(0, 0)) };
    int rows = 0;
    TableQuery scan;
    scan.setSql(ReminderTable::selectAll(AppPaths::reminderTablePath()));
    scan.scan([&](const TableRow& row) {
        ++rows;
        const ReminderTable::Columns c = ReminderTable::Columns::of(row);
        const ReminderEngine::StoredRow stored{ row.text(c.hint), row.text(c.hintdate), row.text(c.hinttime),
                                                row.text(c.frequency) };
        for (const QDateTime& second : seconds)
            QVERIFY2(ReminderEngine::isDue(stored, ReminderEngine::Second(second))
                         == ReminderEngine::isDue(full, second),
                     qPrintable(second.toString(Qt::ISODate)));
        QCOMPARE(ReminderEngine::isDue(stored, ReminderEngine::Second(thursday)), dueThursday);
        // The row read from the scan is the row every window reads.
        const Reminder scanned = ReminderTable::read(row, c);
        QCOMPARE(scanned.hint, full.hint);
        QCOMPARE(scanned.hintdate, full.hintdate);
        QCOMPARE(scanned.hinttime, full.hinttime);
        QCOMPARE(scanned.frequency, full.frequency);
        QCOMPARE(scanned.content, full.content);
        QCOMPARE(scanned.num, full.num);
    });
    QCOMPARE(rows, 1);
}

// The engine keeps its statement and connection between ticks; a table file replaced under it (a restore, another
// program) is read afresh at the next tick, with or without the connection released first.
void TestReminderEngine::replacedTableFileIsReadAtTheNextTick()
{
    for (const bool released : { false, true }) {
        Fixture f;
        const QString table = AppPaths::reminderTablePath();
        f.addDaily(QStringLiteral("旧的"), 5);
        f.tickAt(QTime(8, 0, 0));

        // The new file is made beside the old one and renamed over it, as a restore does.
        const QString replacement = f.env.path(QStringLiteral("time.db"));
        QVERIFY(QFile::copy(table, replacement));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(replacement);
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec(QStringLiteral("update time set content='新的'")));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        if (released)
            TableFiles::release(table);
        QVERIFY(std::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(table).constData()) == 0);

        for (int second = 1; second <= 5; ++second)
            f.tickAt(QTime(8, 0, second));
        QCOMPARE(f.popup.texts(), QStringList{ QStringLiteral("新的") });
        QVERIFY(f.env.errors.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestReminderEngine)
#include "TestReminderEngine.moc"
