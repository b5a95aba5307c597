#pragma once

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

/// Leaves at target what a crash in the middle of a write transaction leaves: the table file with part of the
/// transaction already written into it, and beside it the hot journal that undoes it. The committed statements run
/// first; the cut-short ones run in a transaction that never ends, with a cache so small that the engine has to
/// write pages into the file before the commit. The files are copied, so no connection holds them.
/// Returns an empty string on success, else what went wrong.
inline QString makeCrashImage(const QString& target, const QStringList& committed, const QStringList& cutShort)
{
    QTemporaryDir scratch;
    const QString file = scratch.filePath(QStringLiteral("image.db"));
    const QString name = QStringLiteral("crash-image");
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open())
            return db.lastError().text();
        QSqlQuery q(db);
        const QStringList setup{ QStringLiteral("PRAGMA journal_mode=DELETE"), QStringLiteral("PRAGMA cache_size=1") };
        for (const QString& statement : setup + committed + QStringList{ QStringLiteral("BEGIN") } + cutShort) {
            if (!q.exec(statement)) {
                problem = statement + QStringLiteral(": ") + q.lastError().text();
                break;
            }
        }
        if (problem.isEmpty() && !QFile::exists(file + QStringLiteral("-journal")))
            problem = QStringLiteral("the transaction left no journal");
        if (problem.isEmpty()) {
            QDir().mkpath(QFileInfo(target).absolutePath());
            for (const QString& suffix : { QString(), QStringLiteral("-journal") }) {
                QFile::remove(target + suffix);
                if (!QFile::copy(file + suffix, target + suffix))
                    problem = QStringLiteral("cannot copy ") + file + suffix;
            }
        }
        q.finish();
        q.exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}
