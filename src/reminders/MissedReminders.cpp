#include "MissedReminders.h"

#include "ListPopup.h"

#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "storage/Settings.h"
#include "text/DateFormats.h"

#include <algorithm>

QList<MissedReminders::Occurrence> MissedReminders::occurrences(const QVector<Reminder>& rows, const QDateTime& after,
                                                                const QDateTime& until)
{
    QList<Occurrence> found;
    if (!after.isValid() || !until.isValid() || after >= until)
        return found;
    for (const Reminder& row : rows) {
        if (!row.hinttime.isValid())
            continue;
        // A row can only be due at its time of day, so one second a day is all there is to ask the engine's rule.
        const QTime at(row.hinttime.hour(), row.hinttime.minute(), row.hinttime.second());
        for (QDate day = after.date(); day <= until.date(); day = day.addDays(1)) {
            const QDateTime second(day, at);
            if (second.isValid() && second > after && second <= until && ReminderEngine::isDue(row, second))
                found.append({ second, row.content });
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Occurrence& a, const Occurrence& b) { return a.second < b.second; });
    return found;
}

QString MissedReminders::title()
{
    return QStringLiteral("错过的提醒");
}

QString MissedReminders::text(const QList<Occurrence>& occurrences)
{
    QString text;
    for (const Occurrence& occurrence : occurrences) {
        text += DateFormats::shortDate(occurrence.second.date()) + QLatin1Char(' ')
            + DateFormats::longTime(occurrence.second.time()) + QStringLiteral("-->") + occurrence.content
            + QLatin1Char('\r');
    }
    return text;
}

MissedReminders::MissedReminders(ReminderPopup& popup)
    : m_popup(popup)
{
    m_query.setLockWait(ReminderEngine::kLockWaitMs);
}

void MissedReminders::evaluating(const TickSeconds::Span& skipped, const QList<QDateTime>& seconds)
{
    if (seconds.isEmpty())
        return;
    const QDateTime& first = seconds.constFirst();
    const QDateTime& last = seconds.constLast();

    // What no engine evaluated before this tick: at the first tick everything since the heartbeat, later what the
    // timing rule left out. Reported from the second after `after` up to `until`.
    QDateTime after;
    QDateTime until;
    if (!m_started) {
        m_started = true;
        const QDateTime heartbeat = Settings().get(Settings::LastAlive);
        if (heartbeat.isValid() && heartbeat <= first.addDays(kLookBackDays))
            m_floor = heartbeat;
        after = m_floor;
        until = first.addSecs(-1);
    } else if (!skipped.isEmpty()) {
        // After a clock set back, what was evaluated before it (in this run or an earlier one) is not reported.
        after = skipped.first.addSecs(-1);
        for (const QDateTime& evaluated : { m_floor, m_highest }) {
            if (evaluated.isValid() && evaluated > after)
                after = evaluated;
        }
        until = skipped.last;
    }
    const qint64 lastMsecs = last.toMSecsSinceEpoch();
    if (!m_highest.isValid() || lastMsecs > m_highestMsecs) {
        m_highest = last;
        m_highestMsecs = lastMsecs;
    }

    // The heartbeat goes ahead of this tick before any of its seconds fires or is reported.
    if (!m_written.isValid() || lastMsecs > m_writtenMsecs) {
        QDateTime ahead = last.addSecs(kHeartbeatLead);
        if (m_floor.isValid())
            ahead = std::max(ahead, m_floor);
        m_onDisk = writeHeartbeat(ahead);
        m_written = ahead; // a failed write is tried again a minute later, not at every tick
        m_writtenMsecs = ahead.toMSecsSinceEpoch();
    }

    // Spans still waiting for the table stay apart: the seconds between them were evaluated.
    if (after.isValid() && after < until)
        m_pending.append({ std::max(after, until.addDays(-kLookBackDays)).addSecs(1), until });
    if (m_pending.isEmpty())
        return;
    // Only what the heartbeat on disk covers is shown: a later start must know it was.
    if (!m_onDisk || report())
        m_pending.clear();
}

bool MissedReminders::report()
{
    bool read = false;
    runGuarded([&] {
        QVector<Reminder> rows;
        try {
            m_query.close();
            m_query.setSql(ReminderTable::selectAll(AppPaths::reminderTablePath()));
            m_query.open();
            for (; !m_query.eof(); m_query.next())
                rows.append(ReminderTable::current(m_query));
            m_query.close();
        } catch (const AppError&) {
            return; // the engine tells of a table that cannot be read; the report waits for the next tick
        }
        read = true;
        if (!Settings().get(Settings::Missed))
            return;
        QList<Occurrence> missed;
        for (const TickSeconds::Span& span : std::as_const(m_pending))
            missed += occurrences(rows, span.first.addSecs(-1), span.last);
        if (!missed.isEmpty())
            m_popup.show(ListPopup::kWidth, ListPopup::height(int(missed.size())), 0, title(), text(missed));
    });
    return read;
}

void MissedReminders::exiting()
{
    if (!m_started)
        return;
    writeHeartbeat(m_floor.isValid() ? std::max(m_floor, m_highest) : m_highest);
}

bool MissedReminders::writeHeartbeat(const QDateTime& moment)
{
    bool written = false;
    runGuarded([&] {
        Settings settings;
        // A damaged file is left as it is for the user, who was told of it at start.
        if (!settings.problem().isEmpty())
            return;
        try {
            settings.set(Settings::LastAlive, moment);
        } catch (const AppError& error) {
            if (error.text() != m_writeError) {
                m_writeError = error.text();
                Services::reportError(error.text());
            }
            return;
        }
        m_writeError.clear();
        written = true;
    });
    return written;
}
