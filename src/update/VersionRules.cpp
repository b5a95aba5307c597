#include "VersionRules.h"

#include "platform/Clock.h"
#include "platform/Services.h"

#include <QRegularExpression>
#include <QStringList>

#include <climits>

namespace {

/// A whole number written with an optional sign and digits only: "3 " or "" are not numbers.
bool parseWhole(const QString& text, qint64& value)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]{1,10}$"));
    if (!whole.match(text).hasMatch())
        return false;
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value >= INT_MIN && value <= INT_MAX;
}

QStringList fourParts(const QString& version)
{
    QString rest = version + QLatin1Char('.');
    QStringList parts;
    for (int i = 0; i < 4; ++i) {
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        if (dot < 0) {
            parts << QStringLiteral("0");
            continue;
        }
        parts << rest.left(dot);
        rest = rest.mid(dot + 1);
    }
    return parts;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

qint8 CompareVersions(const QString& a, const QString& b)
{
    const QStringList partsA = fourParts(a);
    const QStringList partsB = fourParts(b);
    for (int i = 0; i < 4; ++i) {
        qint64 numberA = 0;
        qint64 numberB = 0;
        if (!parseWhole(partsA.at(i), numberA) || !parseWhole(partsB.at(i), numberB))
            return qint8(sign(a.toUtf8().compare(b.toUtf8())));
        if (numberA != numberB)
            return numberA > numberB ? 1 : -1;
    }
    return 0;
}

namespace {

/// The date written MM/DD/YYYY, or an invalid date.
QDate readVersionDate(const QString& text)
{
    const qsizetype first = text.indexOf(QLatin1Char('/'));
    const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char('/'), first + 1);
    if (second < 0)
        return {};
    qint64 month = 0;
    qint64 day = 0;
    qint64 year = 0;
    if (!parseWhole(text.left(first), month) || !parseWhole(text.mid(first + 1, second - first - 1), day)
        || !parseWhole(text.mid(second + 1), year) || month > 12 || day > 31 || year > 9999)
        return {};
    return QDate(int(year), int(month), int(day));
}

} // namespace

QDate ParseVersionDate(const QString& text)
{
    const QDate date = readVersionDate(text);
    return date.isValid() ? date : Services::clock().now().date();
}

bool IsVersionDateValid(const QString& text)
{
    return readVersionDate(text).isValid();
}

QString FormatVersionDate(const QDate& date)
{
    return QStringLiteral("%1/%2/%3")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}
