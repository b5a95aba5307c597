#pragma once

#include <QDateTime>
#include <QList>

#include <optional>

/// The timing rule of every once-a-second tick (reminders, the hourly chime, the shutdown plan): which wall-clock
/// seconds a tick has to evaluate. Timer ticks are late, early or doubled now and then; evaluating each second since
/// the previous tick exactly once means none of them loses or doubles a due second.
///
/// - A tick evaluates every whole second after the last evaluated one, up to its own, but at most the kMaxSeconds
///   seconds that end with its own (a machine that slept, or a clock set forward, does not replay what it skipped).
/// - The first tick (or the first after reset()) evaluates its own second only.
/// - A clock set back by at most kMaxSeconds never evaluates a second twice: the ticks evaluate nothing until the
///   clock passes the last evaluated second again. Set back further, the rule starts afresh, as at a first tick.
/// - The caller marks the seconds evaluated only once it has evaluated them: seconds whose evaluation failed (a
///   table that could not be read) stay due, and the next tick evaluates them, as far as the limit reaches back.
class TickSeconds
{
public:
    static constexpr int kMaxSeconds = 60;

    /// The whole seconds due at `now`, oldest first; empty when there are none.
    QList<QDateTime> due(const QDateTime& now) const;
    /// Records that the seconds due() gave were evaluated.
    void markEvaluated(const QList<QDateTime>& seconds);
    /// due() and markEvaluated() at once, for ticks whose evaluation cannot fail.
    QList<QDateTime> take(const QDateTime& now);
    /// Forgets the last evaluated second, so the next tick is a first tick.
    void reset() { m_last.reset(); }

    /// A run of whole seconds, first to last; empty when first is invalid.
    struct Span
    {
        QDateTime first;
        QDateTime last;
        bool isEmpty() const { return !first.isValid(); }
    };
    /// The seconds a tick leaves out, given what due() gave it: those after the last evaluated second and before
    /// the first due one, which lie beyond the kMaxSeconds limit (a machine that slept, a clock set forward).
    /// Empty at a first tick, when nothing was left out, and when the clock was set back.
    Span skipped(const QList<QDateTime>& due) const;

private:
    /// A second's milliseconds since the epoch; those due() gave last are known without asking the C library.
    qint64 msecsOf(const QDateTime& second) const;

    // Kept and compared as milliseconds since the epoch: every conversion or step of a local QDateTime asks the C
    // library for the time zone, which looks at the zone file on disk again each time. Comparing two local QDateTimes
    // for equality does not.
    std::optional<qint64> m_last; ///< the last second evaluated; none before the first tick
    struct Given
    {
        QDateTime second;
        qint64 msecs = 0;
    };
    mutable Given m_givenFirst; ///< the first and last second due() gave last
    mutable Given m_givenLast;
};
