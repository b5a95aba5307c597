#pragma once

#include <QSqlDatabase>
#include <QString>

/// The open SQLite connections, one per table file, shared by every TableQuery.
namespace TableFiles {

struct Table
{
    QString filePath; ///< absolute path of the .db file
    QString name; ///< the table inside it: the file's stem
};

/// Turns a table name as the statements spell it ("…/data\card.db", "…/data/classify") into the file and table.
Table resolve(const QString& spelledPath);

/// The connection for a table file, opened on first use. A missing file is created empty with its columns, and its
/// folder with it. Throws AppError when the file is not a database, is a foreign one, or cannot be opened.
QSqlDatabase connection(const Table& table);

/// Closes the connection to a table file (before the file is replaced); the next statement opens it again.
void release(const QString& filePath);
/// Closes every connection.
void releaseAll();

} // namespace TableFiles
