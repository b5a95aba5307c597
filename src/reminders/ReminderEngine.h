#pragma once

#include "ReminderTable.h"
#include "platform/TickSeconds.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QVector>

#include <functional>

class SoundPlayer;
class TableQuery;

/// The pop-up side of firing a reminder. The main window forwards it to its pop-up component; tests record it.
class ReminderPopup
{
public:
    virtual ~ReminderPopup() = default;
    /// Shows one pop-up of the given size; timeOut is in seconds, 0 keeps it until it is clicked.
    virtual void show(int width, int height, int timeOut, const QString& title, const QString& text) = 0;
};

/// Fires the reminders of the reminder table: once a tick it reads the whole table afresh and fires every active
/// row that is due, with a pop-up, the row's sound on the shared player and the row's program through the shell.
///
/// A tick looks at the seconds the timing rule (TickSeconds) gives it, so a late timer loses no reminder and two
/// ticks within one second, or a clock set back a little, fire nothing twice. One row's failure (a missing sound, a bad
/// time-out) is reported and never keeps the rest of that row, or any other row, from firing. An error that recurs at
/// every tick (an unreadable table) is reported once, until it goes away.
///
/// A table another program holds locked never holds up the program: the read gives up after kLockWaitMs and the
/// seconds it missed are caught up at the first tick that reads the table again, so a short lock shows nothing and
/// loses no reminder. A lock that lasts longer than kLockReportSeconds is reported, once for that lock.
class ReminderEngine
{
public:
    static constexpr int kPopupWidth = 180;
    static constexpr int kPopupHeight = 150;
    static constexpr int kDefaultTimeOut = 600;
    /// How long one tick waits for a locked table.
    static constexpr int kLockWaitMs = 50;
    /// A lock that has kept the table unreadable for longer than this is reported.
    static constexpr int kLockReportSeconds = 5;

    /// query is the engine's own query, its statement kept prepared between ticks; player is the shared reminder
    /// player.
    ReminderEngine(TableQuery& query, ReminderPopup& popup, SoundPlayer& player);

    /// One timer tick at Services::clock().now().
    void tick();

    /// Told at every tick that read the table, before anything fires: the seconds the tick evaluates, oldest first,
    /// and those the timing rule left out before them (TickSeconds::skipped).
    using Evaluating = std::function<void(const TickSeconds::Span& skipped, const QList<QDateTime>& seconds)>;
    void setEvaluating(Evaluating evaluating) { m_evaluating = std::move(evaluating); }

    /// Whether a row fires in the given second (milliseconds are ignored). Only a row whose hint is exactly "是"
    /// can be due; a frequency the engine does not know is never due.
    static bool isDue(const Reminder& reminder, const QDateTime& second);

    /// The stored text of the fields the due test reads, as the table holds it: UTF-8, a null view for an SQL NULL.
    struct StoredRow
    {
        QByteArrayView hint;
        QByteArrayView hintdate;
        QByteArrayView hinttime;
        QByteArrayView frequency;
    };
    /// One second as the due test compares stored text with it, worked out once for every row.
    class Second
    {
    public:
        explicit Second(const QDateTime& second);

    private:
        friend class ReminderEngine;
        QDateTime m_second;
        QDate m_date;
        QByteArray m_dateText; ///< "yyyy-MM-dd", as the program stores a date; empty outside years 1000 to 9999
        QByteArray m_timeText; ///< "HH:mm:ss", as the program stores a time
        QByteArray m_weekly; ///< the weekly frequency of this day, UTF-8
    };
    /// The due rule itself, on a row's stored text, so the engine never reads a row into a Reminder to test it: a date
    /// or time in the form the program stores ("yyyy-MM-dd", "HH:mm:ss") is compared as text with the second's, which
    /// needs no time zone arithmetic; any other text is parsed as reading the row would parse it.
    static bool isDue(const StoredRow& row, const Second& second);

private:
    /// Reads the table and collects, for each second, the rows due in it in table order; false when the table
    /// could not be read (reported as the engine reports it).
    bool readDue(const QList<QDateTime>& seconds, QVector<QVector<Reminder>>& due);
    void fire(const Reminder& reminder);
    void report(const QString& text);

    TableQuery& m_query;
    ReminderPopup& m_popup;
    SoundPlayer& m_player;
    TickSeconds m_seconds;
    QString m_statement; ///< the select the query was last given
    QString m_tableError; ///< the table error already reported, until the table reads again
    QDateTime m_lockedSince; ///< the first second the table was found locked; invalid while it reads
    bool m_lockReported = false; ///< the current lock was reported
    QSet<QString> m_reported; ///< what this tick already reported
    Evaluating m_evaluating;
};
