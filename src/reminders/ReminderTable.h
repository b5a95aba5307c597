#pragma once

#include <QDate>
#include <QString>
#include <QTime>

class TableQuery;
class TableRow;

/// One row of the reminder table data/time.db.
struct Reminder
{
    QString num;
    QString hint; ///< "是" active, anything else stopped
    QDate hintdate;
    QTime hinttime;
    QString content;
    QString sound;
    QString frequency;
    QString program;
    QString dispear;
};

/// The statements issued on the reminder table, built as the windows build them.
namespace ReminderTable {

QString selectAll(const QString& tablePath); ///< 1
QString selectToday(const QString& tablePath); ///< 2, parameter :today
QString insert(const QString& tablePath); ///< 3, parameters :a … :h
QString updateLine1(const QString& tablePath); ///< 4, first line (with its trailing blank)
QString updateLine2(const QString& num); ///< 4, second line
QString setActive(const QString& tablePath, const QString& num); ///< 5
QString setStopped(const QString& tablePath, const QString& num); ///< 6
QString remove(const QString& tablePath, const QString& num); ///< 7

/// Binds :a … :h of statements 3 and 4 by position from a reminder's values.
void bindValues(TableQuery& query, const Reminder& reminder);
/// The current row of an open result as a Reminder.
Reminder current(const TableQuery& query);

/// The places of a reminder's fields in the rows of a scan.
struct Columns
{
    int num, hint, hintdate, hinttime, content, sound, frequency, program, dispear;
    static Columns of(const TableRow& row);
};
/// A row of a scan as a Reminder, read as current() reads it.
Reminder read(const TableRow& row, const Columns& columns);

} // namespace ReminderTable
