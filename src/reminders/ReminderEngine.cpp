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
    if (r.hint != QStringLiteral("是") || !r.hinttime.isValid())
        return false;
    const QTime now = second.time();
    if (r.hinttime.hour() != now.hour() || r.hinttime.minute() != now.minute() || r.hinttime.second() != now.second())
        return false;
    const QDate today = second.date();
    const QString& frequency = r.frequency;
    if (frequency == QStringLiteral("指定时间"))
        return r.hintdate.isValid() && r.hintdate == today;
    if (frequency == QStringLiteral("每天一次"))
        return true;
    if (frequency == QStringLiteral("每月一次"))
        return r.hintdate.isValid() && r.hintdate.day() == today.day();
    return frequency == weeklyName(sundayBasedDayOfWeek(today));
}

int ReminderEngine::nextInterval(const QTime& now)
{
    constexpr int target = 20; // ms past the turn of the second: late enough never to fall before it
    constexpr int window = 150; // ticks that land this early in their second are left alone
    const int phase = now.msec();
    if (phase < window)
        return 1000;
    return 1000 - phase + target;
}

void ReminderEngine::tick()
{
    const QList<QDateTime> seconds = m_seconds.due(Services::clock().now());
    if (seconds.isEmpty())
        return;

    QVector<Reminder> rows;
    if (!readTable(rows))
        return; // the seconds stay due, so the next tick that reads the table catches up on them

    m_reported.clear();
    if (m_evaluating)
        m_evaluating(m_seconds.skipped(seconds), seconds);
    for (const QDateTime& second : seconds) {
        for (const Reminder& reminder : rows) {
            if (isDue(reminder, second))
                fire(reminder);
        }
    }
    m_seconds.markEvaluated(seconds);
}

bool ReminderEngine::readTable(QVector<Reminder>& rows)
{
    try {
        m_query.close();
        m_query.setSql(ReminderTable::selectAll(AppPaths::reminderTablePath()));
        m_query.open();
        for (; !m_query.eof(); m_query.next())
            rows.append(ReminderTable::current(m_query));
    } catch (const TableFiles::TableLocked& error) {
        // Another program is writing: try again next tick, and tell the user only of a lock that does not end.
        const QDateTime now = Services::clock().now();
        if (!m_lockedSince.isValid())
            m_lockedSince = now;
        if (!m_lockReported && m_lockedSince.secsTo(now) > kLockReportSeconds) {
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
