#pragma once

#include <QString>
#include <QStringList>

/// The three tables of the program and how their columns are encoded on disk.
/// Each table file holds one table named after the file's stem; `num` is the integer key and every other column is
/// text. Dates are stored as YYYY-MM-DD and times as HH:MM:SS.
namespace TableSchema {

enum class ColumnKind { Key, Text, Date, Time };

/// The columns of a table in table order, num first; empty for a table the program does not know.
QStringList columns(const QString& table);
ColumnKind kind(const QString& table, const QString& column);
/// The CREATE TABLE statement for a known table.
QString createStatement(const QString& table);

} // namespace TableSchema
