#include "ReminderCalendar.h"

#include "SoundCatalogue.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "storage/TableQuery.h"
#include "storage/TableTransaction.h"
#include "text/Gbk.h"
#include "text/SkipSummary.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QUuid>

#include <libical/ical.h>

#include <memory>

namespace {

const QString kActive = QStringLiteral("是");
const QString kStopped = QStringLiteral("否");
constexpr int kContentBytes = 50;

// The table's frequencies in the editors' order: once, daily, Monday … Sunday, monthly.
const QStringList& frequencies()
{
    static const QStringList list{ QStringLiteral("指定时间"), QStringLiteral("每天一次"), QStringLiteral("每周周一"),
                                   QStringLiteral("每周周二"), QStringLiteral("每周周三"), QStringLiteral("每周周四"),
                                   QStringLiteral("每周周五"), QStringLiteral("每周周六"), QStringLiteral("每周周日"),
                                   QStringLiteral("每月一次") };
    return list;
}
constexpr int kOnce = 0;
constexpr int kDaily = 1;
constexpr int kMonday = 2; // … kMonday + 6 is Sunday
constexpr int kMonthly = 9;

bool isWeekly(int frequency)
{
    return frequency >= kMonday && frequency < kMonday + 7;
}
/// 1 Monday … 7 Sunday, as QDate counts.
int weekdayOf(int frequency)
{
    return frequency - kMonday + 1;
}
int icalWeekday(int qtWeekday)
{
    return qtWeekday % 7 + 1; // libical counts 1 Sunday … 7 Saturday
}
int qtWeekday(int icalDay)
{
    return (icalDay + 5) % 7 + 1;
}

// What travels beside the standard properties, so that the program's own import gets every column back.
const char* const kHint = "X-VANTREL-HINT"; // on every event this program writes
const char* const kSound = "X-VANTREL-SOUND";
const char* const kProgram = "X-VANTREL-PROGRAM";
const char* const kDispear = "X-VANTREL-DISPEAR";
const char* const kDate = "X-VANTREL-DATE";
const char* const kTime = "X-VANTREL-TIME";
const char* const kFrequency = "X-VANTREL-FREQUENCY";
// An empty or unreadable date or time (which never fires) is written as this, since a property cannot be empty.
const QString kNone = QStringLiteral("-");

struct ComponentFree
{
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

void addX(icalcomponent* c, const char* name, const QString& value)
{
    icalproperty* p = icalproperty_new_x(value.toUtf8().constData());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(c, p);
}

icaltimetype toIcal(const QDate& date, const QTime& time)
{
    icaltimetype t = icaltime_null_time();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    t.is_date = 0;
    t.zone = nullptr; // floating: the same wall-clock time wherever the calendar is opened
    return t;
}

/// Whether the engine would ever fire the row: only those get an alarm in other calendars.
bool canFire(const Reminder& r, int frequency)
{
    return r.hint == kActive && frequency >= 0 && r.hinttime.isValid()
        && (r.hintdate.isValid() || frequency == kDaily || isWeekly(frequency));
}

void appendEvent(icalcomponent* calendar, const Reminder& r, const QDateTime& stamp)
{
    icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral("@vantrel");
    icalcomponent_add_property(event, icalproperty_new_uid(uid.toUtf8().constData()));
    const QDateTime utc = stamp.toUTC();
    icaltimetype dtstamp = toIcal(utc.date(), utc.time());
    dtstamp.zone = icaltimezone_get_utc_timezone();
    icalcomponent_add_property(event, icalproperty_new_dtstamp(dtstamp));

    const int frequency = int(frequencies().indexOf(r.frequency));
    QDate date = r.hintdate.isValid() ? r.hintdate : stamp.date();
    const QTime time = r.hinttime.isValid() ? r.hinttime : QTime(0, 0);
    // A recurring event starts on its first occurrence; a weekly reminder's stored date may be any day.
    if (isWeekly(frequency)) {
        while (date.dayOfWeek() != weekdayOf(frequency))
            date = date.addDays(1);
    }
    icalcomponent_add_property(event, icalproperty_new_dtstart(toIcal(date, time)));
    icalcomponent_add_property(event, icalproperty_new_summary(r.content.toUtf8().constData()));

    if (frequency == kDaily || isWeekly(frequency) || frequency == kMonthly) {
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        if (frequency == kDaily) {
            rule.freq = ICAL_DAILY_RECURRENCE;
        } else if (frequency == kMonthly) {
            rule.freq = ICAL_MONTHLY_RECURRENCE;
            rule.by_month_day[0] = short(date.day());
            rule.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        } else {
            rule.freq = ICAL_WEEKLY_RECURRENCE;
            rule.by_day[0] = short(icalWeekday(weekdayOf(frequency)));
            rule.by_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        }
        icalcomponent_add_property(event, icalproperty_new_rrule(rule));
    }

    // A stopped reminder is listed in other calendars too, but never alarms there either.
    if (canFire(r, frequency)) {
        icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger;
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_from_int(0);
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(r.content.toUtf8().constData()));
        icalcomponent_add_component(event, alarm);
    }

    addX(event, kHint, r.hint.isEmpty() ? kStopped : r.hint);
    if (date != r.hintdate)
        addX(event, kDate, r.hintdate.isValid() ? r.hintdate.toString(Qt::ISODate) : kNone);
    if (!r.hinttime.isValid())
        addX(event, kTime, kNone);
    if (frequency < 0)
        addX(event, kFrequency, r.frequency.isEmpty() ? kNone : r.frequency);
    if (!r.sound.isEmpty())
        addX(event, kSound, r.sound);
    if (!r.program.isEmpty())
        addX(event, kProgram, r.program);
    if (!r.dispear.isEmpty())
        addX(event, kDispear, r.dispear);
    icalcomponent_add_component(calendar, event);
}

// ---------------------------------------------------------------------------------------------------------------
// Reading

int listSize(const short* list, int capacity)
{
    int n = 0;
    while (n < capacity && list[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

QString oneLine(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\t')
            out += u' ';
        else if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            out += c;
    }
    return out.trimmed();
}

/// The lead of the first alarm set relative to the start, as negative seconds; 0 when none leads.
int alarmLead(icalcomponent* component)
{
    for (icalcomponent* alarm = icalcomponent_get_first_component(component, ICAL_VALARM_COMPONENT); alarm;
         alarm = icalcomponent_get_next_component(component, ICAL_VALARM_COMPONENT)) {
        icalproperty* p = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!p)
            continue;
        icalparameter* related = icalproperty_get_first_parameter(p, ICAL_RELATED_PARAMETER);
        if (related && icalparameter_get_related(related) == ICAL_RELATED_END)
            continue;
        const icaltriggertype trigger = icalproperty_get_trigger(p);
        if (!icaltime_is_null_time(trigger.time))
            continue; // at a fixed moment
        const int seconds = icaldurationtype_as_int(trigger.duration);
        return seconds < 0 ? seconds : 0;
    }
    return 0;
}

bool hasRuleError(icalcomponent* component)
{
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
        const QString text = QString::fromUtf8(icalproperty_get_xlicerror(p));
        if (text.contains(QLatin1String("RRULE")) || text.contains(QLatin1String("RDATE"))
            || text.contains(QLatin1String("EXRULE")))
            return true;
    }
    return false;
}

/// The frequency a recurrence maps onto, with the day the reminder is dated; shift is how many days the alarm's
/// local date lies from the start's own date (a time zone or an alarm lead can move it over midnight).
struct Mapping
{
    int frequency = kOnce;
    int monthDay = 0;
    int weekday = 0;
};

bool mapRule(icalcomponent* component, const QDate& startDate, qint64 shift, Mapping& mapping,
             ReminderCalendar::Skip& why)
{
    using ReminderCalendar::Skip;
    const int rules = icalcomponent_count_properties(component, ICAL_RRULE_PROPERTY);
    if (hasRuleError(component) || rules > 1 || icalcomponent_count_properties(component, ICAL_RDATE_PROPERTY) > 0
        || icalcomponent_count_properties(component, ICAL_EXRULE_PROPERTY) > 0) {
        why = Skip::OtherRule;
        return false;
    }
    if (rules == 0) {
        mapping.frequency = kOnce;
        return true;
    }
    const icalrecurrencetype rule
        = icalproperty_get_rrule(icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY));
    const int days = listSize(rule.by_day, ICAL_BY_DAY_SIZE);
    const int monthDays = listSize(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    const bool otherParts = listSize(rule.by_second, ICAL_BY_SECOND_SIZE) > 0
        || listSize(rule.by_minute, ICAL_BY_MINUTE_SIZE) > 0 || listSize(rule.by_hour, ICAL_BY_HOUR_SIZE) > 0
        || listSize(rule.by_year_day, ICAL_BY_YEARDAY_SIZE) > 0 || listSize(rule.by_week_no, ICAL_BY_WEEKNO_SIZE) > 0
        || listSize(rule.by_month, ICAL_BY_MONTH_SIZE) > 0 || listSize(rule.by_set_pos, ICAL_BY_SETPOS_SIZE) > 0
        || (rule.rscale && *rule.rscale);
    if (rule.freq == ICAL_YEARLY_RECURRENCE) {
        why = Skip::Yearly;
        return false;
    }
    if (rule.freq != ICAL_DAILY_RECURRENCE && rule.freq != ICAL_WEEKLY_RECURRENCE
        && rule.freq != ICAL_MONTHLY_RECURRENCE) {
        why = Skip::OtherRule;
        return false;
    }
    if (rule.interval > 1) {
        why = Skip::Interval;
        return false;
    }
    if (rule.count > 0 || !icaltime_is_null_time(rule.until)) {
        why = Skip::CountOrUntil;
        return false;
    }
    if (days > 1) {
        why = Skip::SeveralDays;
        return false;
    }
    why = Skip::OtherRule;
    if (otherParts)
        return false;

    if (rule.freq == ICAL_DAILY_RECURRENCE) {
        if (days > 0 || monthDays > 0)
            return false;
        mapping.frequency = kDaily;
        return true;
    }
    if (rule.freq == ICAL_WEEKLY_RECURRENCE) {
        if (monthDays > 0)
            return false;
        int weekday = startDate.dayOfWeek();
        if (days == 1) {
            if (icalrecurrencetype_day_position(rule.by_day[0]) != 0
                || icalrecurrencetype_day_day_of_week(rule.by_day[0]) == ICAL_NO_WEEKDAY)
                return false;
            weekday = qtWeekday(int(icalrecurrencetype_day_day_of_week(rule.by_day[0])));
        }
        weekday = int(((weekday - 1 + shift) % 7 + 7) % 7) + 1;
        mapping.frequency = kMonday + weekday - 1;
        mapping.weekday = weekday;
        return true;
    }
    // Monthly: on one day of the month, counted from the start.
    if (days > 0 || monthDays > 1)
        return false;
    qint64 day = monthDays == 1 ? rule.by_month_day[0] : startDate.day();
    if (day < 1)
        return false;
    day += shift;
    if (day < 1 || day > 31)
        return false;
    mapping.frequency = kMonthly;
    mapping.monthDay = int(day);
    return true;
}

/// A reminder from one event or to-do; false with the reason when it cannot be one.
bool takeComponent(icalcomponent* component, ReminderCalendar::Entry& entry, ReminderCalendar::Skip& why)
{
    using ReminderCalendar::Skip;
    icaltimetype start = icalcomponent_get_dtstart(component);
    if (icaltime_is_null_time(start) && icalcomponent_isa(component) == ICAL_VTODO_COMPONENT)
        start = icalcomponent_get_due(component);
    const QDate startDate(start.year, start.month, start.day);
    if (icaltime_is_null_time(start) || !startDate.isValid()) {
        why = Skip::NoStart;
        return false;
    }
    const QString text = oneLine(QString::fromUtf8(icalcomponent_get_summary(component)));
    if (text.isEmpty()) {
        why = Skip::NoText;
        return false;
    }

    QDateTime local;
    if (start.is_date) {
        local = QDateTime(startDate, QTime(0, 0));
    } else if (!start.zone) {
        local = QDateTime(startDate, QTime(start.hour, start.minute, qMin(start.second, 59)));
    } else {
        local = QDateTime::fromSecsSinceEpoch(qint64(icaltime_as_timet_with_zone(start, start.zone)));
    }
    if (!local.isValid()) {
        why = Skip::NoStart;
        return false;
    }
    local = local.addSecs(alarmLead(component));

    Mapping mapping;
    if (!mapRule(component, startDate, startDate.daysTo(local.date()), mapping, why))
        return false;

    Reminder& r = entry.reminder;
    r.hint = icalcomponent_get_status(component) == ICAL_STATUS_CANCELLED ? kStopped : kActive;
    r.hintdate = local.date();
    r.hinttime = local.time();
    if (isWeekly(mapping.frequency)) {
        while (r.hintdate.dayOfWeek() != mapping.weekday)
            r.hintdate = r.hintdate.addDays(1);
    } else if (mapping.frequency == kMonthly) {
        // The first date from the start on that has the day; a day every month lacks does not exist.
        QDate month(r.hintdate.year(), r.hintdate.month(), 1);
        for (int i = 0; i < 13; ++i, month = month.addMonths(1)) {
            const QDate candidate(month.year(), month.month(), mapping.monthDay);
            if (candidate.isValid() && candidate >= r.hintdate) {
                r.hintdate = candidate;
                break;
            }
        }
    }
    r.frequency = frequencies().at(mapping.frequency);
    r.content = Gbk::truncate(text, kContentBytes);
    entry.textCut = r.content != text;

    // Foreign events get what the add window gives a new reminder; the program's own get their columns back.
    bool own = false;
    QString sound, program, dispear;
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        const char* rawName = icalproperty_get_x_name(p);
        const char* rawValue = icalproperty_get_x(p);
        if (!rawName || !rawValue)
            continue;
        const QByteArray name = QByteArray(rawName).toUpper();
        const QString value = QString::fromUtf8(rawValue);
        if (name == kHint) {
            own = true;
            r.hint = value;
        } else if (name == kSound) {
            sound = value;
        } else if (name == kProgram) {
            program = value;
        } else if (name == kDispear) {
            dispear = value;
        } else if (name == kDate) {
            r.hintdate = QDate::fromString(value, Qt::ISODate);
        } else if (name == kTime) {
            r.hinttime = QTime::fromString(value, Qt::ISODate);
        } else if (name == kFrequency && mapping.frequency == kOnce) {
            r.frequency = value;
        }
    }
    if (own) {
        r.sound = sound;
        r.program = program;
        r.dispear = dispear;
    } else {
        r.sound = SoundCatalogue::names().value(0);
        r.dispear = QStringLiteral("6");
    }
    return true;
}

QString reminderKey(const Reminder& r)
{
    return QStringList{ r.hint,
                        r.hintdate.isValid() ? r.hintdate.toString(Qt::ISODate) : QString(),
                        r.hinttime.isValid() ? r.hinttime.toString(QStringLiteral("HH:mm:ss")) : QString(),
                        r.content,
                        r.sound,
                        r.frequency,
                        r.program,
                        r.dispear }
        .join(QChar(0x1F));
}

QString skipText(ReminderCalendar::Skip why)
{
    using ReminderCalendar::Skip;
    switch (why) {
    case Skip::NoStart:
        return QStringLiteral("没有开始时间");
    case Skip::NoText:
        return QStringLiteral("没有提醒文字");
    case Skip::Yearly:
        return QStringLiteral("每年重复");
    case Skip::Interval:
        return QStringLiteral("隔几天（周、月）才重复");
    case Skip::CountOrUntil:
        return QStringLiteral("限定了重复次数或截止日期");
    case Skip::SeveralDays:
        return QStringLiteral("每周重复多天");
    case Skip::OtherRule:
        return QStringLiteral("其他无法对应的重复方式");
    case Skip::Duplicate:
        return QStringLiteral("与已有提醒完全相同");
    }
    return {};
}

} // namespace

namespace ReminderCalendar {

QString defaultFileName()
{
    return QStringLiteral("提醒.ics");
}

QByteArray write(const QList<Reminder>& reminders, const QDateTime& stamp)
{
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Vantrel//Vantrel//ZH"));
    for (const Reminder& r : reminders)
        appendEvent(calendar.get(), r, stamp);
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    const QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

int exportFile(const QString& file)
{
    const QString table = AppPaths::reminderTablePath();
    TableQuery query;
    query.setSql(ReminderTable::selectAll(table));
    query.open();
    QList<Reminder> reminders;
    for (query.first(); !query.eof(); query.next())
        reminders << ReminderTable::current(query);

    QSaveFile out(file);
    const QByteArray bytes = write(reminders, Services::clock().now());
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw AppError(QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(file), out.errorString()));
    return int(reminders.size());
}

ReadResult read(const QByteArray& bytes)
{
    ReadResult result;
    QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    // The parser reads a C string: whatever follows a NUL byte would be lost without a word.
    if (text.contains('\0')) {
        result.kind = text.toUpper().contains("BEGIN:VCALENDAR") ? FileKind::Damaged : FileKind::NotCalendar;
        return result;
    }
    Component root(icalparser_parse_string(text.constData()));
    QList<icalcomponent*> calendars;
    if (root && icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        calendars << root.get();
    } else if (root && icalcomponent_isa(root.get()) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            calendars << c;
    }
    if (calendars.isEmpty()) {
        result.kind = text.toUpper().contains("BEGIN:VCALENDAR") ? FileKind::Damaged : FileKind::NotCalendar;
        return result;
    }
    result.kind = FileKind::Calendar;
    for (icalcomponent* calendar : std::as_const(calendars)) {
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
            const icalcomponent_kind kind = icalcomponent_isa(c);
            if (kind != ICAL_VEVENT_COMPONENT && kind != ICAL_VTODO_COMPONENT)
                continue;
            Entry entry;
            Skip why = Skip::OtherRule;
            if (takeComponent(c, entry, why))
                result.entries << entry;
            else
                ++result.skipped[int(why)];
        }
    }
    return result;
}

ImportResult importFile(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("无法读取文件 %1：%2").arg(QDir::toNativeSeparators(file), in.errorString()));
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("无法读取文件 %1：%2").arg(QDir::toNativeSeparators(file), in.errorString()));

    const ReadResult read = ReminderCalendar::read(bytes);
    ImportResult result;
    result.kind = read.kind;
    result.skipped = read.skipped;
    if (read.entries.isEmpty())
        return result;

    const QString table = AppPaths::reminderTablePath();
    TableQuery query;
    query.setSql(ReminderTable::selectAll(table));
    query.open();
    QSet<QString> known;
    for (query.first(); !query.eof(); query.next())
        known << reminderKey(ReminderTable::current(query));
    query.close();

    QList<Reminder> reminders;
    for (const Entry& entry : read.entries) {
        const QString key = reminderKey(entry.reminder);
        if (known.contains(key)) {
            ++result.skipped[int(Skip::Duplicate)];
            continue;
        }
        known << key;
        reminders << entry.reminder;
        if (entry.textCut)
            ++result.textsCut;
    }
    if (reminders.isEmpty())
        return result;

    TableTransaction transaction(table);
    for (const Reminder& r : std::as_const(reminders)) {
        query.setSql(ReminderTable::insert(table));
        ReminderTable::bindValues(query, r);
        query.execSql();
    }
    transaction.commit();
    result.imported = int(reminders.size());
    return result;
}

QString summary(const ImportResult& result)
{
    if (result.kind == FileKind::NotCalendar)
        return QStringLiteral("所选文件不是iCalendar日历文件，没有导入任何提醒。");
    if (result.kind == FileKind::Damaged)
        return QStringLiteral("日历文件不完整或已损坏，没有导入任何提醒。");
    QString text = QStringLiteral("共导入 %1 条提醒。").arg(result.imported);
    if (result.textsCut > 0)
        text += QStringLiteral("\r\r有 %1 条提醒的文字超过25个汉字，已截短。").arg(result.textsCut);
    return text + skipSummary(result.skipped, [](std::size_t kind) { return skipText(Skip(kind)); });
}

} // namespace ReminderCalendar
