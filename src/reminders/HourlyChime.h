#pragma once

#include "platform/TickSeconds.h"

#include <QDateTime>
#include <QStringList>

/// Decides, tick by tick, whether the hourly chime sounds. A full hour is recognised by comparing the time of day,
/// written in the long time format, with the chime texts "1:00:00" … "23:00:00"; midnight never chimes.
///
/// Each tick looks at the seconds the timing rule (TickSeconds) gives it, so a late tick still chimes for the full
/// hour it stepped over, and two ticks in the same second, or a clock set back a little, chime once.
class HourlyChime
{
public:
    /// The 23 chime times as text, in order.
    static const QStringList& chimeTimes();
    /// Whether the time of day, as the long time format writes it, is one of the chime times.
    static bool isChimeTime(const QTime& time);

    /// Forgets the previous tick, so the next tick judges its own second only (used when the timer starts again
    /// after a pause: hours passed while it was off are not chimed late).
    void reset() { m_seconds.reset(); }

    /// Returns true when a chime time lies in the seconds this tick covers.
    bool tick(const QDateTime& now);

private:
    TickSeconds m_seconds;
};
