#include "HourlyChime.h"

#include "text/DateFormats.h"

#include <algorithm>

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
    const QList<QDateTime> seconds = m_seconds.take(now);
    return std::any_of(seconds.cbegin(), seconds.cend(),
                       [](const QDateTime& second) { return isChimeTime(second.time()); });
}
