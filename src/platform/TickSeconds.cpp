#include "TickSeconds.h"

#include <algorithm>

namespace {
constexpr qint64 kSecondMs = 1000;

/// The whole second a moment falls in. Every zone's offset is a whole number of seconds, so this is the moment
/// without its milliseconds in local time as well.
qint64 wholeSecond(qint64 msecs)
{
    return msecs - ((msecs % kSecondMs) + kSecondMs) % kSecondMs;
}

/// The second at msecs, kept as `like` keeps its time: local, UTC, an offset or a zone.
QDateTime secondLike(const QDateTime& like, qint64 likeMsecs, qint64 msecs)
{
    if (like.timeSpec() == Qt::LocalTime)
        return QDateTime::fromMSecsSinceEpoch(msecs, Qt::LocalTime);
    return like.addMSecs(msecs - likeMsecs);
}
} // namespace

QList<QDateTime> TickSeconds::due(const QDateTime& now) const
{
    const qint64 nowMsecs = now.toMSecsSinceEpoch();
    const qint64 current = wholeSecond(nowMsecs);
    qint64 first = current;
    if (m_last) {
        const qint64 behind = (*m_last - current) / kSecondMs;
        // Already evaluated, or the clock stepped back a little: those seconds have had their turn.
        if (behind >= 0 && behind <= kMaxSeconds)
            return {};
        if (behind < 0)
            first = std::max(*m_last + kSecondMs, current + (1 - kMaxSeconds) * kSecondMs);
    }
    QList<QDateTime> seconds;
    seconds.reserve(static_cast<qsizetype>((current - first) / kSecondMs + 1));
    for (qint64 second = first; second <= current; second += kSecondMs)
        seconds.append(secondLike(now, nowMsecs, second));
    m_givenFirst = { seconds.constFirst(), first };
    m_givenLast = { seconds.constLast(), current };
    return seconds;
}

qint64 TickSeconds::msecsOf(const QDateTime& second) const
{
    for (const Given* given : { &m_givenLast, &m_givenFirst }) {
        if (given->second.isValid() && given->second.timeSpec() == second.timeSpec() && given->second == second)
            return given->msecs;
    }
    return second.toMSecsSinceEpoch();
}

void TickSeconds::markEvaluated(const QList<QDateTime>& seconds)
{
    if (!seconds.isEmpty())
        m_last = msecsOf(seconds.constLast());
}

QList<QDateTime> TickSeconds::take(const QDateTime& now)
{
    QList<QDateTime> seconds = due(now);
    markEvaluated(seconds);
    return seconds;
}

TickSeconds::Span TickSeconds::skipped(const QList<QDateTime>& due) const
{
    if (!m_last || due.isEmpty())
        return {};
    const QDateTime& firstDue = due.constFirst();
    const qint64 firstDueMsecs = msecsOf(firstDue);
    const qint64 first = *m_last + kSecondMs;
    const qint64 last = firstDueMsecs - kSecondMs;
    if (first > last)
        return {};
    return { secondLike(firstDue, firstDueMsecs, first), secondLike(firstDue, firstDueMsecs, last) };
}
