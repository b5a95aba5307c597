#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

/// The platform's short date and long time formats ("yyyy-M-d" and "H:mm:ss", the Simplified Chinese defaults).
/// Every date or time shown to the user or compared as text goes through here.
namespace DateFormats {

/// The format strings themselves, for date and time pickers.
QString shortDateFormat();
QString longTimeFormat();

QString shortDate(const QDate& date);
QString longTime(const QTime& time);

/// Parses a short date; also takes "yyyy-MM-dd" and "yyyy/M/d". Invalid when the text is none of these.
QDate parseShortDate(const QString& text);
/// Parses a long time; also takes "HH:mm" and "H:mm". Invalid when the text is none of these.
QTime parseLongTime(const QString& text);
/// Parses "date time", a lone date (midnight) or a lone time (on 1899-12-30, the day zero of the date-time value).
QDateTime parseDateTime(const QString& text);

/// The day zero that a time without a date is placed on.
QDate dayZero();

} // namespace DateFormats
