#include "DateFormats.h"

#include <QRegularExpression>

namespace DateFormats {

QString shortDateFormat()
{
    return QStringLiteral("yyyy-M-d");
}

QString longTimeFormat()
{
    return QStringLiteral("H:mm:ss");
}

QString shortDate(const QDate& date)
{
    return date.isValid() ? date.toString(shortDateFormat()) : QString();
}

QString longTime(const QTime& time)
{
    return time.isValid() ? time.toString(longTimeFormat()) : QString();
}

QString moment(const QDateTime& moment)
{
    if (!moment.isValid())
        return {};
    const QDateTime second = moment.addMSecs(-moment.time().msec());
    return second.toOffsetFromUtc(second.offsetFromUtc()).toString(Qt::ISODate);
}

QDateTime parseMoment(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}(Z|[+-]\\d{2}:\\d{2})?$"));
    const QString trimmed = text.trimmed();
    if (!re.match(trimmed).hasMatch())
        return {};
    const QDateTime parsed = QDateTime::fromString(trimmed, Qt::ISODate);
    return parsed.isValid() ? parsed.toLocalTime() : QDateTime();
}

QDate dayZero()
{
    return QDate(1899, 12, 30);
}

QDate parseShortDate(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,4})[-/.](\\d{1,2})[-/.](\\d{1,2})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

QTime parseLongTime(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return {};
    return QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
}

QDateTime parseDateTime(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    if (blank > 0) {
        const QDate date = parseShortDate(trimmed.left(blank));
        const QTime time = parseLongTime(trimmed.mid(blank + 1));
        if (date.isValid() && time.isValid())
            return QDateTime(date, time);
        return {};
    }
    const QDate date = parseShortDate(trimmed);
    if (date.isValid())
        return QDateTime(date, QTime(0, 0));
    const QTime time = parseLongTime(trimmed);
    if (time.isValid())
        return QDateTime(dayZero(), time);
    return {};
}

} // namespace DateFormats
