#include "CardFiles.h"

#include "CardTables.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "storage/AtomicFile.h"
#include "storage/TableFiles.h"
#include "storage/TableQuery.h"
#include "storage/TableSchema.h"
#include "text/Gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

/// A connection of its own to one database file, gone when the object is.
class PrivateConnection
{
public:
    PrivateConnection(const QString& file, bool readOnly)
    {
        static int counter = 0;
        m_name = QStringLiteral("vantrel-cards-%1").arg(++counter);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(file);
        db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000")
                                      : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        m_open = db.open();
        if (!m_open)
            m_error = db.lastError().text();
    }
    ~PrivateConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    PrivateConnection(const PrivateConnection&) = delete;
    PrivateConnection& operator=(const PrivateConnection&) = delete;

    bool isOpen() const { return m_open; }
    const QString& error() const { return m_error; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    QString m_error;
    bool m_open = false;
};

/// Before the table file is replaced, nothing of the old one may be left to act on the new one. A journal beside it
/// may hold a write cut short by a crash: the engine rolls it back when it next reads the file, so it reads it now.
/// A journal left beside the new file would be played into it, and one deleted unplayed would make the half-written
/// rows of the old file permanent should the replacement then fail. False when the old table is busy in another
/// program or its side files cannot be removed; the replacement must not go ahead then.
bool settleOldTable(const QString& tableFile)
{
    if (QFile::exists(tableFile)) {
        PrivateConnection connection(tableFile, false);
        if (connection.isOpen()) {
            QSqlQuery q(connection.database());
            if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
                const int code = q.lastError().nativeErrorCode().toInt() & 0xFF;
                if (code == 5 || code == 6) // SQLITE_BUSY, SQLITE_LOCKED
                    return false;
            }
        }
    }
    // What is still there belongs to a file the engine cannot read, which the restore replaces.
    for (const char* suffix : { "-journal", "-wal", "-shm" }) {
        const QString side = tableFile + QString::fromLatin1(suffix);
        if (QFile::exists(side) && !QFile::remove(side))
            return false;
    }
    return true;
}

[[noreturn]] void backupFailed(const QString& target, const QString& why)
{
    throw AppError(QStringLiteral("名片数据没有保存到 %1：%2").arg(QDir::toNativeSeparators(target), why));
}

} // namespace

namespace CardFiles {

QString backupFolder()
{
    return AppPaths::appDir() + QStringLiteral("bak/");
}

QString backupFileName(const QDate& date)
{
    return QStringLiteral("名片数据[") + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("].Dat");
}

void backup(const QString& target)
{
    const QString source = CardTables::cardTableFile();
    // Opens (and checks) the table the way every statement does, so a missing table is created first.
    TableFiles::connection(TableFiles::resolve(source));

    AtomicFile part(target);
    if (!part.open())
        backupFailed(target, part.errorString());

    // The engine copies from one read transaction, so the copy never holds half of a write going on meanwhile.
    {
        PrivateConnection connection(source, false);
        if (!connection.isOpen())
            backupFailed(target, connection.error());
        QSqlQuery q(connection.database());
        if (!q.prepare(QStringLiteral("VACUUM INTO ?")))
            backupFailed(target, q.lastError().text());
        q.addBindValue(part.temporaryPath());
        if (!q.exec())
            backupFailed(target, q.lastError().text());
    }
    if (!part.commit())
        backupFailed(target, part.errorString());
}

bool isCardTable(const QString& file)
{
    QFile probe(file);
    if (!probe.open(QIODevice::ReadOnly) || probe.read(16) != QByteArray("SQLite format 3\0", 16))
        return false;
    probe.close();

    PrivateConnection connection(file, true);
    if (!connection.isOpen())
        return false;
    QSqlQuery q(connection.database());
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() || q.value(0).toString() != QLatin1String("ok"))
        return false;
    if (!q.exec(QStringLiteral("PRAGMA table_info(\"card\")")))
        return false;
    QStringList present;
    while (q.next())
        present << q.value(1).toString().toLower();
    for (const QString& column : TableSchema::columns(QStringLiteral("card"))) {
        if (!present.contains(column))
            return false;
    }
    return true;
}

bool restore(const QString& source)
{
    if (!isCardTable(source))
        return false;
    const QString tableFile = CardTables::cardTableFile();
    if (!QDir().mkpath(QFileInfo(tableFile).absolutePath()))
        return false;

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    AtomicFile out(tableFile);
    if (!out.open())
        return false;
    for (;;) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty()) {
            if (in.error() != QFileDevice::NoError)
                return false;
            break;
        }
        if (!out.write(chunk))
            return false;
    }

    TableFiles::release(tableFile);
    if (!settleOldTable(tableFile) || !out.commit())
        return false;
    // A copy made by another program may carry its own journal mode; the table keeps the rollback journal, so the
    // one file is always the whole table.
    QSqlDatabase db = TableFiles::connection(TableFiles::resolve(tableFile));
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    return true;
}

QString exportFileName()
{
    return AppPaths::appDir() + QStringLiteral("Card.txt");
}

void exportText(const QString& file)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw AppError(QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(file), out.errorString()));

    TableQuery query;
    CardTables::setStatement(query, CardTables::selectAllCards());
    query.open();
    for (query.first(); !query.eof(); query.next()) {
        const Card card = Card::fromQuery(query);
        QStringList fields;
        for (const QString& column : Card::columns())
            fields << card.value(column);
        const QByteArray line = Gbk::encode(fields.join(QLatin1Char('\t'))) + QByteArrayLiteral("\r\n");
        if (out.write(line) != line.size())
            throw AppError(
                QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(file), out.errorString()));
    }
    if (!out.flush())
        throw AppError(QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(file), out.errorString()));
}

} // namespace CardFiles
