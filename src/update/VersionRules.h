#pragma once

#include <QDate>
#include <QString>

/// Compares two dotted versions of up to four whole numbers: 1 when a is newer, -1 when older, 0 when equal.
/// Missing parts count as 0 and parts beyond the fourth are ignored; when a pair of parts is not made of whole
/// numbers, the two whole texts are compared byte by byte instead.
qint8 CompareVersions(const QString& a, const QString& b);

/// Reads a date written MM/DD/YYYY; anything unreadable gives today.
QDate ParseVersionDate(const QString& text);

/// Whether the text is a date ParseVersionDate can read (so it does not fall back to today).
bool IsVersionDateValid(const QString& text);

/// Writes a date the way ParseVersionDate reads it.
QString FormatVersionDate(const QDate& date);
