#include "TickSeconds.h"

#include <algorithm>

QDateTime TickSeconds::wholeSecond(const QDateTime& moment)
{
    return moment.addMSecs(-moment.time().msec());
}

QList<QDateTime> TickSeconds::due(const QDateTime& now) const
{
    const QDateTime current = wholeSecond(now);
    QDateTime first = current;
    if (m_last.isValid()) {
        const qint64 behind = current.secsTo(m_last);
        // Already evaluated, or the clock stepped back a little: those seconds have had their turn.
        if (behind >= 0 && behind <= kMaxSeconds)
            return {};
        if (behind < 0)
            first = std::max(m_last.addSecs(1), current.addSecs(1 - kMaxSeconds));
    }
    QList<QDateTime> seconds;
    for (QDateTime second = first; second <= current; second = second.addSecs(1))
        seconds.append(second);
    return seconds;
}

void TickSeconds::markEvaluated(const QList<QDateTime>& seconds)
{
    if (!seconds.isEmpty())
        m_last = seconds.constLast();
}

QList<QDateTime> TickSeconds::take(const QDateTime& now)
{
    QList<QDateTime> seconds = due(now);
    markEvaluated(seconds);
    return seconds;
}

TickSeconds::Span TickSeconds::skipped(const QList<QDateTime>& due) const
{
    if (!m_last.isValid() || due.isEmpty())
        return {};
    const QDateTime first = m_last.addSecs(1);
    const QDateTime last = due.constFirst().addSecs(-1);
    if (first > last)
        return {};
    return { first, last };
}
