#include "TableFiles.h"

#include "TableSchema.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

struct Entry
{
    QString connectionName;
    QByteArray encodedPath; ///< the file's path as the system spells it
    quint64 device = 0;
    quint64 inode = 0;
    int lockWaitMs = 0; ///< the busy timeout the connection has now
    QHash<QString, TableFiles::KeptStatement> statements; ///< kept prepared on the connection, by their text
};

/// The file's identity: device and inode, or zeros when it is missing or empty (an empty file is made anew).
std::pair<quint64, quint64> identityOf(const QByteArray& encodedPath)
{
    struct stat st
    {
    };
    if (::stat(encodedPath.constData(), &st) != 0 || st.st_size <= 0)
        return { 0, 0 };
    return { quint64(st.st_dev), quint64(st.st_ino) };
}

QHash<QString, Entry>& entries()
{
    static QHash<QString, Entry> map;
    return map;
}

[[noreturn]] void fail(const QString& filePath, const QString& engineText)
{
    throw AppError(QStringLiteral("数据表 %1 出错：%2").arg(QDir::toNativeSeparators(filePath), engineText));
}

[[noreturn]] void fail(const QString& filePath, const QSqlError& error)
{
    if (TableFiles::isLockError(error))
        throw TableFiles::TableLocked(
            QStringLiteral("数据表 %1 出错：%2").arg(QDir::toNativeSeparators(filePath), error.text()));
    fail(filePath, error.text());
}

void exec(QSqlDatabase& db, const QString& filePath, const QString& statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        fail(filePath, q.lastError());
}

/// A crash while a table file is first created leaves a file that the engine rolls back to nothing at its first
/// read (this query): that is a missing table, not a foreign file.
bool holdsNoTable(QSqlDatabase& db, const QString& filePath)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next())
        fail(filePath, q.lastError().text());
    return q.value(0).toInt() == 0;
}

/// Checks that the file holds our table with all its columns; a foreign or damaged file is an error, never
/// re-created, because that would lose what it holds.
void verify(QSqlDatabase& db, const TableFiles::Table& table)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table.name)))
        fail(table.filePath, q.lastError());
    QStringList present;
    while (q.next())
        present << q.value(1).toString().toLower();
    if (present.isEmpty())
        fail(table.filePath, QStringLiteral("文件中没有数据表“%1”，它不是本程序的数据文件。").arg(table.name));
    for (const QString& column : TableSchema::columns(table.name)) {
        if (!present.contains(column))
            fail(table.filePath, QStringLiteral("数据表“%1”缺少字段“%2”。").arg(table.name, column));
    }
}

} // namespace

namespace TableFiles {

bool isLockError(const QSqlError& error)
{
    // SQLITE_BUSY and SQLITE_LOCKED, with any extended code.
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok && ((code & 0xff) == 5 || (code & 0xff) == 6);
}

Table resolve(const QString& spelledPath)
{
    QString path = spelledPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QFileInfo info(path);
    if (info.suffix().isEmpty())
        path += QStringLiteral(".db");
    info.setFile(path);
    Table table{ info.absoluteFilePath(), info.completeBaseName().toLower() };
    if (TableSchema::columns(table.name).isEmpty())
        throw AppError(QStringLiteral("未知的数据表：%1").arg(QDir::toNativeSeparators(spelledPath)));
    return table;
}

QSqlDatabase connection(const Table& table, int lockWaitMs)
{
    auto& map = entries();
    auto it = map.find(table.filePath);
    if (it != map.end()) {
        // A file replaced or removed behind our back is opened afresh, so writes never go to a vanished file. This
        // runs every second for the reminder table, so it costs one stat() and nothing more.
        const auto [device, inode] = identityOf(it->encodedPath);
        if (inode != 0 && inode == it->inode && device == it->device) {
            QSqlDatabase db = QSqlDatabase::database(it->connectionName, false);
            if (db.isOpen()) {
                if (it->lockWaitMs != lockWaitMs) {
                    exec(db, table.filePath, QStringLiteral("PRAGMA busy_timeout=%1").arg(lockWaitMs));
                    it->lockWaitMs = lockWaitMs;
                }
                return db;
            }
        }
        release(table.filePath);
    }

    const QFileInfo info(table.filePath);
    const bool create = !info.exists() || (info.isFile() && info.size() == 0);
    if (info.exists() && !info.isFile())
        fail(table.filePath, QStringLiteral("不是一个文件。"));
    if (create && !QDir().mkpath(info.absolutePath()))
        fail(table.filePath, QStringLiteral("无法创建文件夹 %1。").arg(QDir::toNativeSeparators(info.absolutePath())));

    static int counter = 0;
    const QString name = QStringLiteral("vantrel-table-%1").arg(++counter);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(table.filePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(lockWaitMs));
        try {
            if (!db.open())
                fail(table.filePath, db.lastError());
            // One .db file is the whole table, and a commit survives a crash or a power loss.
            exec(db, table.filePath, QStringLiteral("PRAGMA synchronous=FULL"));
            if (create || holdsNoTable(db, table.filePath)) {
                exec(db, table.filePath, QStringLiteral("PRAGMA journal_mode=DELETE"));
                exec(db, table.filePath, TableSchema::createStatement(table.name));
            } else {
                verify(db, table);
            }
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw;
        }
    }
    const QByteArray encoded = QFile::encodeName(table.filePath);
    const auto [device, inode] = identityOf(encoded);
    map.insert(table.filePath, Entry{ name, encoded, device, inode, lockWaitMs, {} });
    return QSqlDatabase::database(name, false);
}

KeptStatement& keptStatement(const Table& table, const QString& statement)
{
    auto it = entries().find(table.filePath);
    if (it == entries().end())
        throw AppError(QStringLiteral("数据表 %1 出错：连接未打开。").arg(QDir::toNativeSeparators(table.filePath)));
    return it->statements[statement];
}

void release(const QString& filePath)
{
    const QString key = QFileInfo(filePath).absoluteFilePath();
    auto& map = entries();
    auto it = map.find(key);
    if (it == map.end())
        return;
    const QString name = it->connectionName;
    // A statement still prepared on it would keep the connection, and the replaced file, open.
    for (const KeptStatement& kept : std::as_const(it->statements))
        sqlite3_finalize(kept.statement);
    map.erase(it);
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void releaseAll()
{
    const QStringList keys = entries().keys();
    for (const QString& key : keys)
        release(key);
}

} // namespace TableFiles
