#pragma once

#include "TableFiles.h"
#include "platform/AppError.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

/// Holds the statements on one table file, and on the table files attached to it, in one transaction: after
/// commit() all of them are on disk, and if the object goes before that (an error thrown halfway included) none of
/// them is. TableQuery statements on the main table join it because they share the table's connection. An attached
/// table is written with statements on database() that name it as attachedTable(i); the engine commits the files
/// together or not at all.
class TableTransaction
{
public:
    explicit TableTransaction(const QString& spelledPath, const QStringList& attachedPaths = {})
        : m_table(TableFiles::resolve(spelledPath))
        , m_db(TableFiles::connection(m_table))
    {
        for (const QString& path : attachedPaths) {
            const TableFiles::Table other = TableFiles::resolve(path);
            // Opens (and creates, when missing) the file the way every statement does, so its table is there.
            TableFiles::connection(other);
            const QString alias = QStringLiteral("attached%1").arg(m_attached.size() + 1);
            QSqlQuery q(m_db);
            q.prepare(QStringLiteral("ATTACH DATABASE ? AS ") + alias);
            q.addBindValue(other.filePath);
            if (!q.exec()) {
                detachAll();
                fail(q);
            }
            m_attached << alias + QStringLiteral(".\"") + other.name + QLatin1Char('"');
        }
        QSqlQuery begin(m_db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            detachAll();
            fail(begin);
        }
        m_open = true;
    }

    ~TableTransaction()
    {
        if (m_open)
            QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        detachAll();
    }

    TableTransaction(const TableTransaction&) = delete;
    TableTransaction& operator=(const TableTransaction&) = delete;

    QSqlDatabase database() const { return m_db; }
    /// The name an attached table goes by in statements on database(), in the order the files were given.
    QString attachedTable(int index) const { return m_attached.at(index); }

    /// Throws AppError, with nothing written, when the engine cannot commit.
    void commit()
    {
        QSqlQuery q(m_db);
        if (!q.exec(QStringLiteral("COMMIT")))
            fail(q);
        m_open = false;
    }

private:
    void detachAll()
    {
        for (int i = 0; i < m_attached.size(); ++i)
            QSqlQuery(m_db).exec(QStringLiteral("DETACH DATABASE attached%1").arg(i + 1));
        m_attached.clear();
    }

    [[noreturn]] void fail(const QSqlQuery& q) const
    {
        throw AppError(
            QStringLiteral("数据表 %1 出错：%2").arg(QDir::toNativeSeparators(m_table.filePath), q.lastError().text()));
    }

    TableFiles::Table m_table;
    QSqlDatabase m_db;
    QStringList m_attached;
    bool m_open = false;
};
