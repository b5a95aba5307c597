#include "Leftovers.h"

#include "AtomicFile.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>

namespace {

/// Hidden copies "<.name>.Dat.XXXXXX" that card backups of earlier versions left in bak/ when they were cut short.
/// Only an empty file or a table engine file with such a name counts; anything else stays.
bool isOlderBackupLeftover(const QFileInfo& info)
{
    static const QRegularExpression re(QStringLiteral("^\\..+\\.dat\\.[A-Za-z0-9]{6}$"),
                                       QRegularExpression::CaseInsensitiveOption);
    if (!re.match(info.fileName()).hasMatch())
        return false;
    if (info.size() == 0)
        return true;
    QFile file(info.absoluteFilePath());
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

/// A crash while the engine fills a journal, before it marks the journal valid (it does so only once the journal is
/// on disk, before it changes the table), leaves a journal the engine will never play back and ignores until the
/// next write to the table. It goes now. Beginning a write transaction first plays back a journal that is valid and
/// takes the table's write lock, so what is left then is neither needed nor in use by another program.
void removeStaleJournal(const QString& tableFile)
{
    const QString journal = tableFile + QStringLiteral("-journal");
    if (!QFileInfo(journal).isFile() || !QFileInfo(tableFile).isFile())
        return;
    const QString name = QStringLiteral("vantrel-leftovers");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(tableFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
                QFile::remove(journal);
                q.exec(QStringLiteral("ROLLBACK"));
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

namespace Leftovers {

void removeAtStart()
{
    const QString appDir = AppPaths::appDir();
    const auto ours = [](const QFileInfo& entry) { return AtomicFile::isTemporaryName(entry.fileName()); };
    AtomicFile::removeMatching(appDir, ours);
    AtomicFile::removeMatching(appDir + QStringLiteral("data/"), ours);
    AtomicFile::removeMatching(appDir + QStringLiteral("bak/"),
                               [&ours](const QFileInfo& entry) { return ours(entry) || isOlderBackupLeftover(entry); });
    for (const char* table : { "data/time.db", "data/card.db", "data/classify.db" })
        removeStaleJournal(appDir + QString::fromLatin1(table));
}

} // namespace Leftovers
