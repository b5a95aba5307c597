#include "TestEnvironment.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "reminders/ReminderCalendar.h"
#include "reminders/SoundCatalogue.h"
#include "storage/TableFiles.h"
#include "storage/TableQuery.h"

#include <QSqlQuery>
#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;
using Skip = ReminderCalendar::Skip;

Q_DECLARE_METATYPE(Reminder)

namespace {

Reminder reminder(const QString& frequency, const QString& content = u"开会"_s)
{
    Reminder r;
    r.hint = u"是"_s;
    r.hintdate = QDate(2026, 3, 4); // a Wednesday
    r.hinttime = QTime(8, 30, 5);
    r.content = content;
    r.sound = u"小汽车"_s;
    r.frequency = frequency;
    r.program = u"/home/用户/My Apps/run it.sh"_s;
    r.dispear = u"30"_s;
    return r;
}

QStringList describe(const Reminder& r)
{
    return { u"hint="_s + r.hint,
             u"date="_s + r.hintdate.toString(Qt::ISODate),
             u"time="_s + r.hinttime.toString(u"HH:mm:ss"_s),
             u"content="_s + r.content,
             u"sound="_s + r.sound,
             u"frequency="_s + r.frequency,
             u"program="_s + r.program,
             u"dispear="_s + r.dispear };
}

QList<QStringList> describe(const QList<Reminder>& list)
{
    QList<QStringList> all;
    for (const Reminder& r : list)
        all << describe(r);
    return all;
}

QList<Reminder> remindersOf(const ReminderCalendar::ReadResult& result)
{
    QList<Reminder> list;
    for (const ReminderCalendar::Entry& e : result.entries)
        list << e.reminder;
    return list;
}

void insert(const Reminder& r)
{
    TableQuery q;
    q.setSql(ReminderTable::insert(AppPaths::reminderTablePath()));
    ReminderTable::bindValues(q, r);
    q.execSql();
}

QList<Reminder> tableRows()
{
    TableQuery q;
    q.setSql(ReminderTable::selectAll(AppPaths::reminderTablePath()));
    q.open();
    QList<Reminder> list;
    for (q.first(); !q.eof(); q.next()) {
        Reminder r = ReminderTable::current(q);
        r.num.clear();
        list << r;
    }
    return list;
}

/// A calendar around the given components; "\n" in them becomes CR LF.
QByteArray calendar(const QByteArray& components)
{
    QByteArray text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//Test//EN\n" + components + "END:VCALENDAR\n";
    return text.replace("\n", "\r\n");
}

QByteArray vevent(const QByteArray& lines)
{
    return "BEGIN:VEVENT\nUID:1@test\nDTSTAMP:20260101T000000Z\nSUMMARY:开会\n" + lines + "END:VEVENT\n";
}

/// The file with its folded lines joined again.
QString unfolded(const QByteArray& bytes)
{
    return QString::fromUtf8(QByteArray(bytes).replace("\r\n ", ""));
}

QString writeFile(const TestEnvironment& env, const QByteArray& bytes)
{
    env.writeFile(u"bak/in.ics"_s, bytes);
    return env.path(u"bak/in.ics"_s);
}

} // namespace

class TestReminderCalendar : public QObject
{
    Q_OBJECT
private slots:
    void exportsOneEventPerReminder_data();
    void exportsOneEventPerReminder();
    void stoppedReminderHasNoAlarm();
    void roundTrip_data();
    void roundTrip();
    void roundTripThroughTheTable();
    void importsRecurrences_data();
    void importsRecurrences();
    void importsTimesAndAlarms_data();
    void importsTimesAndAlarms();
    void foreignEventsGetTheAddWindowsDefaults();
    void cutsLongTexts();
    void badFiles_data();
    void badFiles();
    void importAddsOnlyWhatIsNew();
    void failedImportAddsNothing();
    void cutOffFileNeverGivesHalfAReminder();
};

void TestReminderCalendar::exportsOneEventPerReminder_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("dtstart");
    QTest::addColumn<QString>("rrule");
    QTest::newRow("once") << u"指定时间"_s << u"20260304T083005"_s << QString();
    QTest::newRow("daily") << u"每天一次"_s << u"20260304T083005"_s << u"FREQ=DAILY"_s;
    QTest::newRow("Monday, from a Wednesday") << u"每周周一"_s << u"20260309T083005"_s << u"FREQ=WEEKLY;BYDAY=MO"_s;
    QTest::newRow("Wednesday") << u"每周周三"_s << u"20260304T083005"_s << u"FREQ=WEEKLY;BYDAY=WE"_s;
    QTest::newRow("Saturday") << u"每周周六"_s << u"20260307T083005"_s << u"FREQ=WEEKLY;BYDAY=SA"_s;
    QTest::newRow("Sunday") << u"每周周日"_s << u"20260308T083005"_s << u"FREQ=WEEKLY;BYDAY=SU"_s;
    QTest::newRow("monthly") << u"每月一次"_s << u"20260304T083005"_s << u"FREQ=MONTHLY;BYMONTHDAY=4"_s;
}

void TestReminderCalendar::exportsOneEventPerReminder()
{
    QFETCH(QString, frequency);
    QFETCH(QString, dtstart);
    QFETCH(QString, rrule);
    const QString text = unfolded(ReminderCalendar::write({ reminder(frequency, u"开会, \"带上\"报告"_s) },
                                                          QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))));
    const QStringList lines = text.split(u"\r\n"_s);
    QCOMPARE(lines.count(u"BEGIN:VEVENT"_s), 1);
    // Floating local time: neither a zone nor UTC.
    QVERIFY(lines.contains(u"DTSTART:"_s + dtstart));
    QVERIFY(lines.contains(u"SUMMARY:开会\\, \"带上\"报告"_s));
    QCOMPARE(lines.contains(u"RRULE:"_s + rrule), !rrule.isEmpty());
    QCOMPARE(text.count(u"RRULE"_s), rrule.isEmpty() ? 0 : 1);
    const QString alarm = text.section(u"BEGIN:VALARM\r\n"_s, 1).section(u"END:VALARM"_s, 0, 0);
    QVERIFY(alarm.contains(u"ACTION:DISPLAY\r\n"_s));
    QVERIFY(alarm.contains(u"TRIGGER:PT0S\r\n"_s));
    QVERIFY(lines.contains(u"X-VANTREL-SOUND:小汽车"_s));
    QVERIFY(lines.contains(u"X-VANTREL-DISPEAR:30"_s));
    QVERIFY(lines.contains(u"DTSTAMP:20260101T190405Z"_s));
    QVERIFY(!lines.filter(u"UID:"_s).isEmpty());
}

void TestReminderCalendar::stoppedReminderHasNoAlarm()
{
    Reminder stopped = reminder(u"每天一次"_s);
    stopped.hint = u"否"_s;
    const QString text
        = unfolded(ReminderCalendar::write({ stopped, reminder(u"每天一次"_s) }, QDateTime::currentDateTime()));
    QCOMPARE(text.count(u"BEGIN:VEVENT"_s), 2);
    QCOMPARE(text.count(u"BEGIN:VALARM"_s), 1);
    QVERIFY(text.contains(u"X-VANTREL-HINT:否\r\n"_s));
}

void TestReminderCalendar::roundTrip_data()
{
    QTest::addColumn<Reminder>("r");
    const QStringList names{ u"指定时间"_s, u"每天一次"_s, u"每周周一"_s, u"每周周二"_s, u"每周周三"_s,
                             u"每周周四"_s, u"每周周五"_s, u"每周周六"_s, u"每周周日"_s, u"每月一次"_s };
    for (const QString& name : names)
        QTest::newRow(qPrintable(name)) << reminder(name);
    Reminder stopped = reminder(u"每周周五"_s);
    stopped.hint = u"否"_s;
    QTest::newRow("stopped") << stopped;
    Reminder odd = reminder(u"每天一次"_s);
    odd.hint = u"暂停"_s;
    QTest::newRow("neither 是 nor 否") << odd;
    Reminder bare = reminder(u"每月一次"_s, u"二十五个汉字二十五个汉字二十五个汉字二十五个汉字满"_s);
    bare.sound.clear();
    bare.program.clear();
    bare.dispear.clear();
    QTest::newRow("no sound, no program, stays open, 25 characters") << bare;
    Reminder quoted = reminder(u"指定时间"_s, u"'引号' \"双\" a,b;c\\d"_s);
    quoted.sound = u"/home/me/声音/it's \"loud\";1,2.wav"_s;
    quoted.program = u"C:\\Program Files\\x.exe"_s;
    QTest::newRow("quotes and escapes") << quoted;
    Reminder unknown = reminder(u"每年一次"_s);
    QTest::newRow("a frequency that never fires") << unknown;
    Reminder noDate = reminder(u"每天一次"_s);
    noDate.hintdate = QDate();
    QTest::newRow("daily without a date") << noDate;
    Reminder noTime = reminder(u"指定时间"_s);
    noTime.hinttime = QTime();
    QTest::newRow("without a time") << noTime;
    Reminder lastDay = reminder(u"每月一次"_s);
    lastDay.hintdate = QDate(2026, 1, 31);
    lastDay.hinttime = QTime(23, 59, 59);
    QTest::newRow("monthly on the 31st") << lastDay;
}

void TestReminderCalendar::roundTrip()
{
    QFETCH(Reminder, r);
    const ReminderCalendar::ReadResult back
        = ReminderCalendar::read(ReminderCalendar::write({ r }, QDateTime::currentDateTime()));
    QCOMPARE(back.kind, ReminderCalendar::FileKind::Calendar);
    QCOMPARE(back.skipped, (std::array<int, ReminderCalendar::kSkipKinds>{}));
    QCOMPARE(describe(remindersOf(back)), describe(QList<Reminder>{ r }));
    QVERIFY(!back.entries.first().textCut);
}

void TestReminderCalendar::roundTripThroughTheTable()
{
    QList<Reminder> all;
    for (const QString& name : { u"指定时间"_s, u"每天一次"_s, u"每周周日"_s, u"每月一次"_s })
        all << reminder(name, name);
    all[2].hint = u"否"_s;
    all[3].sound.clear();
    const QString file = QDir::temp().filePath(u"vantrel-roundtrip-%1.ics"_s.arg(QCoreApplication::applicationPid()));
    {
        TestEnvironment env;
        for (const Reminder& r : all)
            insert(r);
        QCOMPARE(ReminderCalendar::exportFile(file), 4);
    }
    TestEnvironment env;
    const ReminderCalendar::ImportResult result = ReminderCalendar::importFile(file);
    QFile::remove(file);
    QCOMPARE(result.imported, 4);
    QCOMPARE(describe(tableRows()), describe(all));
    QCOMPARE(ReminderCalendar::summary(result), u"共导入 4 条提醒。"_s);
}

void TestReminderCalendar::importsRecurrences_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("frequency"); // empty: skipped
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("skip");
    const QByteArray start = "DTSTART:20260304T083000\n"; // a Wednesday
    const QDate wednesday(2026, 3, 4);
    QTest::newRow("once") << start << u"指定时间"_s << wednesday << -1;
    QTest::newRow("daily") << start + "RRULE:FREQ=DAILY\n" << u"每天一次"_s << wednesday << -1;
    QTest::newRow("daily, interval 1 said") << start + "RRULE:FREQ=DAILY;INTERVAL=1\n"
                                            << u"每天一次"_s << wednesday << -1;
    QTest::newRow("weekly on Friday") << start + "RRULE:FREQ=WEEKLY;BYDAY=FR\n"
                                      << u"每周周五"_s << QDate(2026, 3, 6) << -1;
    QTest::newRow("weekly on its own day") << start + "RRULE:FREQ=WEEKLY\n" << u"每周周三"_s << wednesday << -1;
    QTest::newRow("weekly on Sunday, week from Sunday") << start + "RRULE:FREQ=WEEKLY;WKST=SU;BYDAY=SU\n"
                                                        << u"每周周日"_s << QDate(2026, 3, 8) << -1;
    QTest::newRow("monthly on the 20th") << start + "RRULE:FREQ=MONTHLY;BYMONTHDAY=20\n"
                                         << u"每月一次"_s << QDate(2026, 3, 20) << -1;
    QTest::newRow("monthly on a day already past") << start + "RRULE:FREQ=MONTHLY;BYMONTHDAY=2\n"
                                                   << u"每月一次"_s << QDate(2026, 4, 2) << -1;
    QTest::newRow("monthly on its own day") << start + "RRULE:FREQ=MONTHLY\n" << u"每月一次"_s << wednesday << -1;
    QTest::newRow("monthly on the 31st from April")
        << QByteArray("DTSTART:20260410T083000\nRRULE:FREQ=MONTHLY;BYMONTHDAY=31\n") << u"每月一次"_s
        << QDate(2026, 5, 31) << -1;

    QTest::newRow("yearly") << start + "RRULE:FREQ=YEARLY\n" << QString() << QDate() << int(Skip::Yearly);
    QTest::newRow("every second day") << start + "RRULE:FREQ=DAILY;INTERVAL=2\n"
                                      << QString() << QDate() << int(Skip::Interval);
    QTest::newRow("every other Monday") << start + "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO\n"
                                        << QString() << QDate() << int(Skip::Interval);
    QTest::newRow("five times") << start + "RRULE:FREQ=DAILY;COUNT=5\n"
                                << QString() << QDate() << int(Skip::CountOrUntil);
    QTest::newRow("until April") << start + "RRULE:FREQ=WEEKLY;UNTIL=20260401T000000Z\n"
                                 << QString() << QDate() << int(Skip::CountOrUntil);
    QTest::newRow("Monday, Wednesday, Friday") << start + "RRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR\n"
                                               << QString() << QDate() << int(Skip::SeveralDays);
    QTest::newRow("working days") << start + "RRULE:FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR\n"
                                  << QString() << QDate() << int(Skip::SeveralDays);
    QTest::newRow("second Tuesday") << start + "RRULE:FREQ=MONTHLY;BYDAY=2TU\n"
                                    << QString() << QDate() << int(Skip::OtherRule);
    QTest::newRow("last Monday") << start + "RRULE:FREQ=MONTHLY;BYDAY=MO;BYSETPOS=-1\n"
                                 << QString() << QDate() << int(Skip::OtherRule);
    QTest::newRow("last day of the month") << start + "RRULE:FREQ=MONTHLY;BYMONTHDAY=-1\n"
                                           << QString() << QDate() << int(Skip::OtherRule);
    QTest::newRow("hourly") << start + "RRULE:FREQ=HOURLY\n" << QString() << QDate() << int(Skip::OtherRule);
    QTest::newRow("two rules") << start + "RRULE:FREQ=WEEKLY;BYDAY=MO\nRRULE:FREQ=WEEKLY;BYDAY=TU\n"
                               << QString() << QDate() << int(Skip::OtherRule);
    QTest::newRow("extra dates") << start + "RDATE:20260310T083000\n" << QString() << QDate() << int(Skip::OtherRule);
    QTest::newRow("unreadable rule") << start + "RRULE:FREQ=SOMETIMES;BYDAY=XX\n"
                                     << QString() << QDate() << int(Skip::OtherRule);
}

void TestReminderCalendar::importsRecurrences()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, frequency);
    QFETCH(QDate, date);
    QFETCH(int, skip);
    const ReminderCalendar::ReadResult result = ReminderCalendar::read(calendar(vevent(lines)));
    QCOMPARE(result.kind, ReminderCalendar::FileKind::Calendar);
    std::array<int, ReminderCalendar::kSkipKinds> skipped{};
    if (skip >= 0)
        skipped[skip] = 1;
    QCOMPARE(result.skipped, skipped);
    QCOMPARE(result.entries.size(), skip >= 0 ? 0 : 1);
    if (skip >= 0)
        return;
    const Reminder& r = result.entries.first().reminder;
    QCOMPARE(r.frequency, frequency);
    QCOMPARE(r.hintdate, date);
    QCOMPARE(r.hinttime, QTime(8, 30));
}

void TestReminderCalendar::importsTimesAndAlarms_data()
{
    // The tests run eight hours east of UTC, without summer time.
    QTest::addColumn<QByteArray>("components");
    QTest::addColumn<QString>("expected"); // "date time frequency hint", or "skipped"
    QTest::newRow("UTC") << vevent("DTSTART:20260304T010000Z\n") << u"2026-03-04 09:00:00 指定时间 是"_s;
    QTest::newRow("UTC Monday evening is Tuesday here")
        << vevent("DTSTART:20260302T200000Z\nRRULE:FREQ=WEEKLY;BYDAY=MO\n") << u"2026-03-03 04:00:00 每周周二 是"_s;
    QTest::newRow("zone of the file")
        << QByteArray("BEGIN:VTIMEZONE\nTZID:Test/Minus5\nBEGIN:STANDARD\nDTSTART:19700101T000000\n"
                      "TZOFFSETFROM:-0500\nTZOFFSETTO:-0500\nEND:STANDARD\nEND:VTIMEZONE\n")
            + vevent("DTSTART;TZID=Test/Minus5:20260304T090000\nRRULE:FREQ=MONTHLY;BYMONTHDAY=4\n")
        << u"2026-03-04 22:00:00 每月一次 是"_s;
    QTest::newRow("all day") << vevent("DTSTART;VALUE=DATE:20260304\n") << u"2026-03-04 00:00:00 指定时间 是"_s;
    QTest::newRow("alarm 15 minutes before")
        << vevent("DTSTART:20260304T083000\nBEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:x\nTRIGGER:-PT15M\n"
                  "END:VALARM\n")
        << u"2026-03-04 08:15:00 指定时间 是"_s;
    QTest::newRow("alarm the day before moves the weekday")
        << vevent("DTSTART:20260304T001000\nRRULE:FREQ=WEEKLY;BYDAY=WE\nBEGIN:VALARM\nACTION:AUDIO\n"
                  "TRIGGER;RELATED=START:-PT30M\nEND:VALARM\n")
        << u"2026-03-03 23:40:00 每周周二 是"_s;
    QTest::newRow("alarm the day before moves the day of the month")
        << vevent("DTSTART:20260304T001000\nRRULE:FREQ=MONTHLY\nBEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:x\n"
                  "TRIGGER:-PT30M\nEND:VALARM\n")
        << u"2026-03-03 23:40:00 每月一次 是"_s;
    QTest::newRow("alarm before the first of the month")
        << vevent("DTSTART:20260301T001000\nRRULE:FREQ=MONTHLY\nBEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:x\n"
                  "TRIGGER:-PT30M\nEND:VALARM\n")
        << u"skipped"_s;
    QTest::newRow("alarm before the end is not before the start")
        << vevent("DTSTART:20260304T083000\nDTEND:20260304T093000\nBEGIN:VALARM\nACTION:DISPLAY\n"
                  "DESCRIPTION:x\nTRIGGER;RELATED=END:-PT15M\nEND:VALARM\n")
        << u"2026-03-04 08:30:00 指定时间 是"_s;
    QTest::newRow("alarm at a fixed moment")
        << vevent("DTSTART:20260304T083000\nBEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:x\n"
                  "TRIGGER;VALUE=DATE-TIME:20260303T000000Z\nEND:VALARM\n")
        << u"2026-03-04 08:30:00 指定时间 是"_s;
    QTest::newRow("alarm after the start")
        << vevent("DTSTART:20260304T083000\nBEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:x\nTRIGGER:PT10M\n"
                  "END:VALARM\n")
        << u"2026-03-04 08:30:00 指定时间 是"_s;
    QTest::newRow("cancelled") << vevent("DTSTART:20260304T083000\nSTATUS:CANCELLED\n")
                               << u"2026-03-04 08:30:00 指定时间 否"_s;
    QTest::newRow("to-do with a start") << QByteArray(
        "BEGIN:VTODO\nUID:2@test\nSUMMARY:开会\nDTSTART:20260304T083000\nEND:VTODO\n")
                                        << u"2026-03-04 08:30:00 指定时间 是"_s;
    QTest::newRow("to-do with a due time only")
        << QByteArray("BEGIN:VTODO\nUID:2@test\nSUMMARY:开会\nDUE:20260305T170000\nEND:VTODO\n")
        << u"2026-03-05 17:00:00 指定时间 是"_s;
    QTest::newRow("to-do without a time")
        << QByteArray("BEGIN:VTODO\nUID:2@test\nSUMMARY:开会\nEND:VTODO\n") << u"skipped"_s;
    QTest::newRow("event without a start") << vevent("DURATION:PT1H\n") << u"skipped"_s;
    QTest::newRow("a journal entry is no reminder")
        << QByteArray("BEGIN:VJOURNAL\nUID:3@test\nSUMMARY:日记\nDTSTART:20260304T083000\nEND:VJOURNAL\n") << QString();
}

void TestReminderCalendar::importsTimesAndAlarms()
{
    QFETCH(QByteArray, components);
    QFETCH(QString, expected);
    const ReminderCalendar::ReadResult result = ReminderCalendar::read(calendar(components));
    QCOMPARE(result.kind, ReminderCalendar::FileKind::Calendar);
    int skipped = 0;
    for (int n : result.skipped)
        skipped += n;
    if (expected.isEmpty()) {
        QCOMPARE(result.entries.size() + skipped, 0);
        return;
    }
    if (expected == u"skipped") {
        QCOMPARE(result.entries.size(), 0);
        QCOMPARE(skipped, 1);
        return;
    }
    QCOMPARE(result.entries.size(), 1);
    const Reminder& r = result.entries.first().reminder;
    QCOMPARE(QStringList({ r.hintdate.toString(Qt::ISODate), r.hinttime.toString(u"HH:mm:ss"_s), r.frequency, r.hint })
                 .join(u' '),
             expected);
}

void TestReminderCalendar::foreignEventsGetTheAddWindowsDefaults()
{
    const ReminderCalendar::ReadResult result
        = ReminderCalendar::read(calendar(vevent("DTSTART:20260304T083000\nX-OTHER-APP:1\n")));
    QCOMPARE(result.entries.size(), 1);
    const Reminder& r = result.entries.first().reminder;
    QCOMPARE(r.content, u"开会"_s);
    QCOMPARE(r.sound, SoundCatalogue::names().first());
    QCOMPARE(r.program, QString());
    QCOMPARE(r.dispear, u"6"_s);
}

void TestReminderCalendar::cutsLongTexts()
{
    const QString longText = u"这是一条非常非常长的提醒文字，超过了二十五个汉字的限制，会被截短"_s;
    QByteArray lines = "BEGIN:VEVENT\nUID:1@test\nDTSTART:20260304T083000\nSUMMARY:" + longText.toUtf8()
        + "\\nsecond line\nEND:VEVENT\n";
    lines += vevent("DTSTART:20260305T083000\n");
    TestEnvironment env;
    const ReminderCalendar::ImportResult result = ReminderCalendar::importFile(writeFile(env, calendar(lines)));
    QCOMPARE(result.imported, 2);
    QCOMPARE(result.textsCut, 1);
    QCOMPARE(tableRows().first().content, longText.left(25));
    QCOMPARE(ReminderCalendar::summary(result), u"共导入 2 条提醒。\r\r有 1 条提醒的文字超过25个汉字，已截短。"_s);
}

void TestReminderCalendar::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QString notCalendar = u"所选文件不是iCalendar日历文件，没有导入任何提醒。"_s;
    const QString damaged = u"日历文件不完整或已损坏，没有导入任何提醒。"_s;
    const QByteArray whole = calendar(vevent("DTSTART:20260304T083000\n"));
    QTest::newRow("empty") << QByteArray() << notCalendar;
    QTest::newRow("a vCard") << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:x\r\nEND:VCARD\r\n") << notCalendar;
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11) << notCalendar;
    QTest::newRow("cut off") << whole.left(whole.size() - 20) << damaged;
    QTest::newRow("a NUL inside") << QByteArray(whole).insert(60, '\0') << damaged;
    QTest::newRow("nothing in it") << calendar({}) << u"共导入 0 条提醒。"_s;
}

void TestReminderCalendar::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TestEnvironment env;
    insert(reminder(u"每天一次"_s));
    const ReminderCalendar::ImportResult result = ReminderCalendar::importFile(writeFile(env, bytes));
    QCOMPARE(result.imported, 0);
    QCOMPARE(ReminderCalendar::summary(result), message);
    QCOMPARE(tableRows().size(), 1);
    QVERIFY_THROWS_EXCEPTION(AppError, ReminderCalendar::importFile(env.path(u"bak/missing.ics"_s)));
}

void TestReminderCalendar::importAddsOnlyWhatIsNew()
{
    TestEnvironment env;
    const Reminder existing = reminder(u"每天一次"_s);
    insert(existing);
    Reminder other = existing;
    other.hinttime = QTime(9, 0);
    QByteArray bytes = ReminderCalendar::write({ existing, other, other }, QDateTime::currentDateTime());
    bytes.replace("END:VCALENDAR",
                  vevent("DTSTART:20260304T083000\nRRULE:FREQ=YEARLY\n").replace("\n", "\r\n") + "END:VCALENDAR");
    const ReminderCalendar::ImportResult result = ReminderCalendar::importFile(writeFile(env, bytes));
    QCOMPARE(result.imported, 1);
    QCOMPARE(describe(tableRows()), describe(QList<Reminder>{ existing, other }));
    QCOMPARE(ReminderCalendar::summary(result),
             u"共导入 1 条提醒。\r\r跳过 3 条：1 条每年重复，2 条与已有提醒完全相同。"_s);
}

void TestReminderCalendar::failedImportAddsNothing()
{
    TestEnvironment env;
    insert(reminder(u"每天一次"_s, u"已有"_s));
    {
        QSqlQuery q(TableFiles::connection(TableFiles::resolve(AppPaths::reminderTablePath())));
        QVERIFY(q.exec(u"CREATE TRIGGER boom BEFORE INSERT ON time WHEN new.content='坏' "
                       "BEGIN SELECT RAISE(ABORT,'boom'); END"_s));
    }
    const QByteArray bytes = ReminderCalendar::write(
        { reminder(u"每天一次"_s, u"好"_s), reminder(u"每月一次"_s, u"坏"_s), reminder(u"指定时间"_s, u"也好"_s) },
        QDateTime::currentDateTime());
    QVERIFY_THROWS_EXCEPTION(AppError, ReminderCalendar::importFile(writeFile(env, bytes)));
    QCOMPARE(tableRows().size(), 1);
    insert(reminder(u"每天一次"_s, u"之后"_s));
    QCOMPARE(tableRows().size(), 2);
}

void TestReminderCalendar::cutOffFileNeverGivesHalfAReminder()
{
    QList<Reminder> all;
    for (const QString& name : { u"指定时间"_s, u"每周周二"_s, u"每月一次"_s })
        all << reminder(name, name + u"的提醒，文字长一点，好让它折行"_s);
    const QByteArray whole = ReminderCalendar::write(all, QDateTime::currentDateTime());
    const QList<QStringList> originals = describe(all);
    for (qsizetype length = 0; length < whole.size(); ++length) {
        const ReminderCalendar::ReadResult result = ReminderCalendar::read(whole.left(length));
        for (const Reminder& r : remindersOf(result)) {
            if (!originals.contains(describe(r)))
                QFAIL(qPrintable(u"cut at %1 gave %2"_s.arg(length).arg(describe(r).join(u", "_s))));
        }
    }
}

int main(int argc, char** argv)
{
    // Eight hours east of UTC all year, so that the conversions above come out the same on every machine.
    qputenv("TZ", "CST-8");
    tzset();
    QCoreApplication app(argc, argv);
    TestReminderCalendar test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestReminderCalendar.moc"
