#include "ReminderEngine.h"

#include "SoundCatalogue.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"
#include "storage/TableFiles.h"
#include "storage/TableQuery.h"
#include "text/DateFormats.h"

#include <optional>

namespace {

// Runs one part of firing; its failure is reported and the caller goes on with the next part.
template <typename Part, typename Report> void isolated(Part&& part, Report&& report)
{
    try {
        part();
    } catch (const AppError& error) {
        report(error.text());
    } catch (const std::exception& error) {
        report(QString::fromLocal8Bit(error.what()));
    }
}

// Day of the week as the weekly frequencies count it: 1 is Sunday, 7 is Saturday.
int sundayBasedDayOfWeek(const QDate& date)
{
    return date.dayOfWeek() % 7 + 1;
}

const QString& weeklyName(int sundayBasedDay)
{
    static const QString names[] = { QStringLiteral("每周周日"), QStringLiteral("每周周一"), QStringLiteral("每周周二"),
                                     QStringLiteral("每周周三"), QStringLiteral("每周周四"), QStringLiteral("每周周五"),
                                     QStringLiteral("每周周六") };
    return names[sundayBasedDay - 1];
}

} // namespace

ReminderEngine::ReminderEngine(TableQuery& query, ReminderPopup& popup, SoundPlayer& player)
    : m_query(query)
    , m_popup(popup)
    , m_player(player)
{
    m_query.setLockWait(kLockWaitMs);
}

bool ReminderEngine::isDue(const Reminder& r, const QDateTime& second)
{
    // The due rule is written once, on the text the table stores: a row already read is written back that way.
    const QByteArray hint = r.hint.toUtf8();
    const QByteArray date
        = r.hintdate.isValid() ? r.hintdate.toString(QStringLiteral("yyyy-MM-dd")).toLatin1() : QByteArray();
    const QByteArray time
        = r.hinttime.isValid() ? r.hinttime.toString(QStringLiteral("HH:mm:ss")).toLatin1() : QByteArray();
    const QByteArray frequency = r.frequency.toUtf8();
    return isDue(StoredRow{ hint, date, time, frequency }, Second(second));
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int twoDigits(const char* p)
{
    return (p[0] - '0') * 10 + (p[1] - '0');
}

/// "yyyy-MM-dd" with ASCII digits: the form the program stores a date in.
bool isStoredDate(QByteArrayView t)
{
    return t.size() == 10 && isDigit(t[0]) && isDigit(t[1]) && isDigit(t[2]) && isDigit(t[3]) && t[4] == '-'
        && isDigit(t[5]) && isDigit(t[6]) && t[7] == '-' && isDigit(t[8]) && isDigit(t[9]);
}

/// "HH:mm:ss" with ASCII digits: the form the program stores a time in.
bool isStoredTime(QByteArrayView t)
{
    return t.size() == 8 && isDigit(t[0]) && isDigit(t[1]) && t[2] == ':' && isDigit(t[3]) && isDigit(t[4])
        && t[5] == ':' && isDigit(t[6]) && isDigit(t[7]);
}

/// The date reading the row would give: the full parse for any text not in the stored form.
QDate dateOf(QByteArrayView text)
{
    if (isStoredDate(text)) {
        const char* p = text.data();
        const int year = twoDigits(p) * 100 + twoDigits(p + 2);
        const int month = twoDigits(p + 5);
        const int day = twoDigits(p + 8);
        return QDate::isValid(year, month, day) ? QDate(year, month, day) : QDate();
    }
    if (text.isNull())
        return {};
    return DateFormats::parseShortDate(QString::fromUtf8(text.data(), text.size()));
}

} // namespace

ReminderEngine::Second::Second(const QDateTime& second)
    : m_second(second)
    , m_date(second.date())
{
    const QTime time = second.time();
    if (m_date.year() >= 1000 && m_date.year() <= 9999)
        m_dateText = m_date.toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    m_timeText = time.toString(QStringLiteral("HH:mm:ss")).toLatin1();
    m_weekly = weeklyName(sundayBasedDayOfWeek(m_date)).toUtf8();
}

bool ReminderEngine::isDue(const StoredRow& row, const Second& second)
{
    static const QByteArray active = QStringLiteral("是").toUtf8();
    static const QByteArray once = QStringLiteral("指定时间").toUtf8();
    static const QByteArray daily = QStringLiteral("每天一次").toUtf8();
    static const QByteArray monthly = QStringLiteral("每月一次").toUtf8();

    if (row.hint != active)
        return false;
    if (isStoredTime(row.hinttime)) {
        if (row.hinttime != second.m_timeText)
            return false;
    } else {
        // Any other text is read as reading the row reads it, and compared as isDue() compares it.
        if (row.hinttime.isNull())
            return false;
        const QTime time = DateFormats::parseLongTime(QString::fromUtf8(row.hinttime.data(), row.hinttime.size()));
        const QTime now = second.m_second.time();
        if (!time.isValid() || time.hour() != now.hour() || time.minute() != now.minute()
            || time.second() != now.second())
            return false;
    }
    if (row.frequency == once) {
        if (isStoredDate(row.hintdate) && !second.m_dateText.isEmpty())
            return row.hintdate == second.m_dateText;
        const QDate date = dateOf(row.hintdate);
        return date.isValid() && date == second.m_date;
    }
    if (row.frequency == daily)
        return true;
    if (row.frequency == monthly) {
        const QDate date = dateOf(row.hintdate);
        return date.isValid() && date.day() == second.m_date.day();
    }
    return row.frequency == second.m_weekly;
}

void ReminderEngine::tick()
{
    const QList<QDateTime> seconds = m_seconds.due(Services::clock().now());
    if (seconds.isEmpty())
        return;

    QVector<QVector<Reminder>> due(seconds.size());
    if (!readDue(seconds, due))
        return; // the seconds stay due, so the next tick that reads the table catches up on them

    m_reported.clear();
    if (m_evaluating)
        m_evaluating(m_seconds.skipped(seconds), seconds);
    for (const QVector<Reminder>& rows : std::as_const(due)) {
        for (const Reminder& reminder : rows)
            fire(reminder);
    }
    m_seconds.markEvaluated(seconds);
}

bool ReminderEngine::readDue(const QList<QDateTime>& seconds, QVector<QVector<Reminder>>& due)
{
    try {
        const QString statement = ReminderTable::selectAll(AppPaths::reminderTablePath());
        if (statement != m_statement) {
            m_query.setSql(statement);
            m_statement = statement;
        }
        QVector<Second> moments;
        for (const QDateTime& second : seconds)
            moments.append(Second(second));
        std::optional<ReminderTable::Columns> columns;
        // Only a row that is due is read whole; the others cost the look at their four fields.
        m_query.scan([&](const TableRow& row) {
            if (!columns)
                columns = ReminderTable::Columns::of(row);
            const StoredRow stored{ row.text(columns->hint), row.text(columns->hintdate), row.text(columns->hinttime),
                                    row.text(columns->frequency) };
            std::optional<Reminder> reminder;
            for (qsizetype i = 0; i < moments.size(); ++i) {
                if (!isDue(stored, moments.at(i)))
                    continue;
                if (!reminder)
                    reminder = ReminderTable::read(row, *columns);
                due[i].append(*reminder);
            }
        });
    } catch (const TableFiles::TableLocked& error) {
        // Another program is writing: try again next tick, and tell the user only of a lock that does not end.
        const QDateTime now = Services::clock().now();
        if (!m_lockedSince.isValid())
            m_lockedSince = now;
        if (!m_lockReported && m_lockedSince.msecsTo(now) > kLockReportSeconds * 1000) {
            m_lockReported = true;
            Services::reportError(error.text());
        }
        return false;
    } catch (const AppError& error) {
        // The same cause recurs every second; the user hears of it once, and again only after it was cured.
        if (error.text() != m_tableError) {
            m_tableError = error.text();
            Services::reportError(error.text());
        }
        return false;
    }
    m_tableError.clear();
    m_lockedSince = QDateTime();
    m_lockReported = false;
    return true;
}

void ReminderEngine::fire(const Reminder& r)
{
    auto reportHere = [this](const QString& text) { report(text); };

    int timeOut = kDefaultTimeOut;
    if (!r.dispear.isEmpty()) {
        bool ok = false;
        const int seconds = r.dispear.trimmed().toInt(&ok);
        if (ok)
            timeOut = seconds;
        else
            report(QStringLiteral("提醒“%1”的自动关闭时间“%2”不是有效的整数，提醒窗口将在 %3 秒后关闭。")
                       .arg(r.content, r.dispear)
                       .arg(kDefaultTimeOut));
    }

    isolated([&] { m_popup.show(kPopupWidth, kPopupHeight, timeOut, QStringLiteral("提醒"), r.content); }, reportHere);

    const QString sound = SoundCatalogue::resolve(r.sound);
    if (!sound.isEmpty()) {
        isolated(
            [&] {
                m_player.setFileName(sound);
                m_player.open();
                m_player.play();
            },
            reportHere);
    }

    if (!r.program.isEmpty())
        isolated([&] { Services::shell().open(r.program); }, reportHere);
}

void ReminderEngine::report(const QString& text)
{
    if (m_reported.contains(text))
        return;
    m_reported.insert(text);
    Services::reportError(text);
}
