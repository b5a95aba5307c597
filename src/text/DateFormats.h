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

/// A moment to the second as ISO 8601 with its offset from UTC ("2026-12-10T08:00:05+08:00"), for values the program
/// reads back itself: it names the same second whatever time zone or daylight saving time reads it.
QString moment(const QDateTime& moment);
/// Parses moment() (a text without an offset is local time); the result is in local time, invalid when the text is
/// no such moment.
QDateTime parseMoment(const QString& text);

/// The day zero that a time without a date is placed on.
QDate dayZero();

} // namespace DateFormats
