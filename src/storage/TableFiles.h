#pragma once

#include "platform/AppError.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

class QSqlError;
struct sqlite3;
struct sqlite3_stmt;

/// The open SQLite connections, one per table file, shared by every TableQuery.
namespace TableFiles {

struct Table
{
    QString filePath; ///< absolute path of the .db file
    QString name; ///< the table inside it: the file's stem
};

/// Turns a table name as the statements spell it ("…/data\card.db", "…/data/classify") into the file and table.
Table resolve(const QString& spelledPath);

/// A table file that another program holds locked: the statement gave up waiting for it and changed nothing.
class TableLocked : public AppError
{
public:
    using AppError::AppError;
};

/// Whether an engine error means that another connection holds the file locked.
bool isLockError(const QSqlError& error);

/// How long a statement waits for a locked file unless its caller says otherwise.
constexpr int kDefaultLockWaitMs = 2000;

/// The connection for a table file, opened on first use. A missing file is created empty with its columns, and its
/// folder with it. Statements on it wait up to lockWaitMs for a file another program holds locked. Throws AppError
/// when the file is not a database, is a foreign one, or cannot be opened; TableLocked when it stayed locked.
QSqlDatabase connection(const Table& table, int lockWaitMs = kDefaultLockWaitMs);

/// A statement prepared once on the connection of a table file and kept with it, for a statement run every second,
/// with what its caller worked out about its rows, so that a run costs the engine's work and little else.
struct KeptStatement
{
    sqlite3_stmt* statement = nullptr; ///< null until the caller prepares it
    sqlite3* db = nullptr; ///< the connection's engine
    QStringList fields;
    QVector<int> kinds; ///< TableSchema::ColumnKind of each field
    QVector<bool> textual; ///< whether each column has text affinity
};

/// The slot of a kept statement on the connection of a table file. The connection finalizes it before it closes
/// (when the file was replaced or released), so the slot is empty again on a connection opened afresh. Valid until
/// the next call into TableFiles; call connection() first.
KeptStatement& keptStatement(const Table& table, const QString& statement);

/// Closes the connection to a table file (before the file is replaced); the next statement opens it again.
void release(const QString& filePath);
/// Closes every connection.
void releaseAll();

} // namespace TableFiles
