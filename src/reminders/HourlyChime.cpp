#include "HourlyChime.h"

#include "text/DateFormats.h"

namespace {
// Further back than this the tick is not a late tick but a clock that was set or a machine that slept.
constexpr int kCatchUpSeconds = 60;

QDateTime wholeSecond(const QDateTime& dateTime)
{
    const QTime t = dateTime.time();
    return QDateTime(dateTime.date(), QTime(t.hour(), t.minute(), t.second()));
}
} // namespace

const QStringList& HourlyChime::chimeTimes()
{
    static const QStringList times = [] {
        QStringList list;
        for (int hour = 1; hour <= 23; ++hour)
            list << QString::number(hour) + QStringLiteral(":00:00");
        return list;
    }();
    return times;
}

bool HourlyChime::isChimeTime(const QTime& time)
{
    return chimeTimes().contains(DateFormats::longTime(time));
}

bool HourlyChime::tick(const QDateTime& now)
{
    const QDateTime current = wholeSecond(now);
    QDateTime from = current;
    if (m_last.isValid() && m_last < current) {
        const qint64 gap = m_last.secsTo(current);
        from = m_last.addSecs(gap > kCatchUpSeconds ? gap - kCatchUpSeconds + 1 : 1);
    } else if (m_last.isValid() && m_last == current) {
        return false; // this second was judged by the previous tick
    }
    m_last = current;
    for (QDateTime second = from; second <= current; second = second.addSecs(1)) {
        if (isChimeTime(second.time()))
            return true;
    }
    return false;
}
