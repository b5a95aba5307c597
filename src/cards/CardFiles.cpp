#include "CardFiles.h"

#include "CardTables.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "storage/Gbk.h"
#include "storage/TableFiles.h"
#include "storage/TableQuery.h"
#include "storage/TableSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

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

bool syncFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    return ::fsync(file.handle()) == 0;
}

bool replaceFile(const QString& from, const QString& to)
{
    // rename() replaces the target in one step: a reader sees the old file or the new one, never half of either.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
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

    const QFileInfo targetInfo(target);
    QTemporaryFile part(targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName()
                        + QStringLiteral(".XXXXXX"));
    if (!part.open())
        backupFailed(target, part.errorString());
    part.close();

    // The engine copies from one read transaction, so the copy never holds half of a write going on meanwhile.
    {
        PrivateConnection connection(source, false);
        if (!connection.isOpen())
            backupFailed(target, connection.error());
        QSqlQuery q(connection.database());
        if (!q.prepare(QStringLiteral("VACUUM INTO ?")))
            backupFailed(target, q.lastError().text());
        q.addBindValue(part.fileName());
        if (!q.exec())
            backupFailed(target, q.lastError().text());
    }
    if (!syncFile(part.fileName()))
        backupFailed(target, QStringLiteral("无法写入磁盘。"));
    if (!replaceFile(part.fileName(), targetInfo.absoluteFilePath()))
        backupFailed(target, QString::fromLocal8Bit(std::strerror(errno)));
    part.setAutoRemove(false);
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
    // QSaveFile writes beside the table and renames over it on commit, after flushing to disk.
    QSaveFile out(tableFile);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return false;
        if (out.write(chunk) != chunk.size())
            return false;
    }

    TableFiles::release(tableFile);
    // A journal left by the old file must never be applied to the new one.
    for (const char* suffix : { "-journal", "-wal", "-shm" })
        QFile::remove(tableFile + QString::fromLatin1(suffix));
    if (!out.commit())
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
