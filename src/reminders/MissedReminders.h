#pragma once

#include "ReminderEngine.h"
#include "ReminderTable.h"
#include "platform/TickSeconds.h"
#include "storage/TableQuery.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVector>

/// Tells the user of the reminders that fell due while no engine evaluated their second: while the program was not
/// running (listed at the engine's first tick) and while a running program's clock jumped further forward than the
/// engine catches up on (a sleeping machine, a clock set forward; listed at once). The list is one pop-up that stays
/// until clicked; nothing of those reminders is run again, neither their programs nor their sounds.
///
/// The heartbeat (Settings::LastAlive) makes it sound. It is a promise: no second after it has been evaluated. It is
/// kept ahead of the engine: before a tick evaluates or reports any second beyond it, it is written as that tick's
/// second plus kHeartbeatLead (so once a minute), and at exit as the last second evaluated. So the report never
/// lists a second the engine evaluated, not even after a crash; a crash only loses the report of the seconds up to
/// the lead after it. No run writes a heartbeat before the one it found (a clock set back while the program
/// was off leaves it where it was), except that one more than the look-back ahead of the clock is taken for a clock
/// that was wrong and no longer counts: holding to it would silence the report longer than the report looks back.
///
/// A report whose table read fails (another program holds the table locked) is tried again at the next ticks.
///
/// The heartbeat is written whether the report is on or off (Settings::Missed), so switching it on never lists what
/// fired. When it cannot be written (helper.ini unwritable or damaged, which is then left alone), nothing is
/// reported: the program could not tell later what it had already shown.
class MissedReminders
{
public:
    static constexpr int kLookBackDays = 7;
    /// How far ahead of the engine the heartbeat is kept while it runs, in seconds.
    static constexpr int kHeartbeatLead = 60;

    /// One second in which one row was due.
    struct Occurrence
    {
        QDateTime second;
        QString content;
    };

    /// Every second after `after` up to and including `until` in which a row is due by the engine's rule
    /// (ReminderEngine::isDue), oldest first and in table order within one second. Costs a few checks per row and
    /// day of the span, not one per second.
    static QList<Occurrence> occurrences(const QVector<Reminder>& rows, const QDateTime& after, const QDateTime& until);

    /// The pop-up's title.
    static QString title();
    /// One line per occurrence, "yyyy-M-d H:mm:ss-->content", each ended by a carriage return as today's plan's.
    static QString text(const QList<Occurrence>& occurrences);

    /// Shows its list on `popup`, the main window's pop-up component.
    explicit MissedReminders(ReminderPopup& popup);

    /// The engine's Evaluating hook: called before a tick fires anything. Never throws; what fails is reported.
    void evaluating(const TickSeconds::Span& skipped, const QList<QDateTime>& seconds);
    /// Records the last second evaluated, at exit. Never throws.
    void exiting();

private:
    bool writeHeartbeat(const QDateTime& moment);
    /// Shows the pending report; false while the table cannot be read.
    bool report();

    ReminderPopup& m_popup;
    TableQuery m_query;
    bool m_started = false; ///< the first tick has been seen
    QDateTime m_floor; ///< the heartbeat found at start, which no later one goes below; invalid when none
    QDateTime m_highest; ///< the latest second evaluated in this run
    QDateTime m_written; ///< the heartbeat last written (or tried) in this run; invalid before the first
    // The two above as milliseconds since the epoch, for the comparisons of every tick: comparing local QDateTimes
    // asks the C library for the time zone, which looks at the zone file again each time.
    qint64 m_highestMsecs = 0;
    qint64 m_writtenMsecs = 0;
    bool m_onDisk = false; ///< the last write of the heartbeat succeeded
    QList<TickSeconds::Span> m_pending; ///< the seconds still to report, oldest first
    QString m_writeError; ///< the heartbeat error already reported, until a write succeeds
};
