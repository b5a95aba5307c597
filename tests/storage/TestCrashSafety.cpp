#include "CrashRounds.h"
#include "cards/CardFiles.h"
#include "cards/CardTables.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "reminders/PhraseFile.h"
#include "reminders/ReminderTable.h"
#include "storage/Leftovers.h"
#include "storage/SettingsFile.h"
#include "storage/TableFiles.h"
#include "storage/TableQuery.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

constexpr int kCycles = 200;

/// The writes the child reported as returned, over all its runs.
struct Reported
{
    int settings = 0;
    int phrases = 0;
    int backup = 0;
    QSet<int> table;
    QSet<int> cards;
};

/// Reads one column of every row through a connection of its own, after the engine's integrity check. The connection
/// may write, so a journal left by the kill is rolled back first, as the program's next start would.
QString readChecked(const QString& file, const QString& select, QStringList* values)
{
    const QString name = QStringLiteral("crash-check");
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        QSqlQuery q(db);
        if (!db.open())
            problem = db.lastError().text();
        else if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next())
            problem = q.lastError().text();
        else if (q.value(0).toString() != QLatin1String("ok"))
            problem = QStringLiteral("integrity check: ") + q.value(0).toString();
        else if (!q.exec(select))
            problem = q.lastError().text();
        while (problem.isEmpty() && q.next())
            values->append(q.value(0).toString());
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem.isEmpty() ? QString() : file + QStringLiteral(": ") + problem;
}

/// Everything the program finds after the kill: each file whole, every reported write in it.
QString problemAfterKill(const Reported& done)
{
    SettingsFile settings(AppPaths::settingsFilePath());
    if (!settings.problem().isEmpty())
        return settings.problem();
    if (settings.readInteger(CrashRounds::section(), CrashRounds::key(), 0) < done.settings)
        return QStringLiteral("helper.ini lost round %1").arg(done.settings);

    // The program opens them as its next start would (a table never written is created).
    for (const QString& statement :
         { ReminderTable::selectAll(AppPaths::reminderTablePath()), CardTables::selectAllCards() }) {
        try {
            TableQuery query;
            query.setSql(statement);
            query.open();
        } catch (const AppError& error) {
            TableFiles::releaseAll();
            return error.text();
        }
    }
    TableFiles::releaseAll();

    QStringList reminders;
    QString problem
        = readChecked(AppPaths::reminderTablePath(), QStringLiteral("SELECT content FROM time"), &reminders);
    if (!problem.isEmpty())
        return problem;
    for (const int round : done.table) {
        if (!reminders.contains(CrashRounds::reminderText(round)))
            return QStringLiteral("time.db lost round %1").arg(round);
    }

    const std::optional<QStringList> phrases = PhraseFile::read();
    if (done.phrases > 0) {
        if (!phrases || phrases->isEmpty())
            return QStringLiteral("content.dat is gone");
        const int round = phrases->first().mid(2).toInt();
        if (*phrases != CrashRounds::phrases(round) || round < done.phrases)
            return QStringLiteral("content.dat holds %1 after round %2").arg(phrases->join(u'|')).arg(done.phrases);
    }

    QStringList cards;
    problem = readChecked(CardTables::cardTableFile(), QStringLiteral("SELECT name FROM card"), &cards);
    if (!problem.isEmpty())
        return problem;
    for (const int round : done.cards) {
        if (!cards.contains(CrashRounds::cardName(round)))
            return QStringLiteral("card.db lost round %1").arg(round);
    }
    if (done.backup > 0) {
        QStringList backedUp;
        problem = readChecked(CrashRounds::backupFile(), QStringLiteral("SELECT name FROM card"), &backedUp);
        if (!problem.isEmpty())
            return problem;
        if (!CardFiles::isCardTable(CrashRounds::backupFile())
            || !backedUp.contains(CrashRounds::cardName(done.backup)))
            return QStringLiteral("the backup lost round %1").arg(done.backup);
    }

    return {};
}

/// What is left once the next start has cleared the leftovers: the program's files and nothing else.
QString strayFilesAfterNextStart()
{
    Leftovers::removeAtStart();
    const QSet<QString> expected{ QStringLiteral("helper.ini"), QStringLiteral("content.dat"),
                                  QStringLiteral("data/time.db"), QStringLiteral("data/card.db"),
                                  QStringLiteral("bak/名片数据[20260101].Dat") };
    QStringList stray;
    QDirIterator it(AppPaths::appDir(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = it.next().mid(AppPaths::appDir().size());
        if (!expected.contains(relative))
            stray << relative + QStringLiteral(" (%1 bytes)").arg(it.fileInfo().size());
    }
    return stray.join(QStringLiteral(", "));
}

/// A folder in memory where there is one: a kill keeps what the page cache holds, so disk syncs only cost time.
QString scratchBase()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.absoluteFilePath() : QDir::tempPath();
}

} // namespace

/// The writers killed at random moments: settings, a table, the phrase file, a card backup and a restore. After
/// every kill each file is whole, every write reported as done is there, and no temporary file outlives the next
/// start. The seed is printed; VANTREL_CRASH_SEED repeats a run's kill moments.
class TestCrashSafety : public QObject
{
    Q_OBJECT
private slots:
    void killedWritersLoseNothing();
};

void TestCrashSafety::killedWritersLoseNothing()
{
    bool seeded = false;
    quint32 seed = qEnvironmentVariable("VANTREL_CRASH_SEED").toUInt(&seeded);
    if (!seeded)
        seed = QRandomGenerator::global()->generate();
    qInfo("seed %u (VANTREL_CRASH_SEED=%u repeats it)", seed, seed);
    QRandomGenerator random(seed);

    QTemporaryDir folder(scratchBase() + QStringLiteral("/vantrel-crash-XXXXXX"));
    QVERIFY(folder.isValid());
    AppPaths::setAppDir(folder.path());
    QDir(folder.path()).mkpath(QStringLiteral("data"));
    QDir(folder.path()).mkpath(QStringLiteral("bak"));

    Reported done;
    const QByteArrayList kWriters{ "settings", "table", "phrases", "card", "backup", "restore" };
    QMap<QByteArray, int> killedIn;
    qint64 microsecondsWriting = 0;
    qint64 writesReported = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        QProcess child;
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(QStringLiteral(VANTREL_CRASH_WRITER), { folder.path() });
        QVERIFY2(child.waitForStarted(10000), qPrintable(child.errorString()));
        QByteArray output;
        while (!output.contains("ready") && child.waitForReadyRead(10000))
            output += child.readAllStandardOutput();
        QVERIFY2(output.contains("ready"), child.readAllStandardError().constData());

        // A kill falls anywhere in the child's first two rounds or so, however fast this machine writes.
        const qint64 roundMicroseconds
            = writesReported > 0 ? microsecondsWriting * kWriters.size() / writesReported : 10000;
        const qint64 delay
            = qint64(random.generateDouble() * double(std::clamp<qint64>(2 * roundMicroseconds, 2000, 2000000)));
        QElapsedTimer writing;
        writing.start();
        QThread::usleep(quint64(delay));
        child.kill();
        microsecondsWriting += writing.nsecsElapsed() / 1000;
        QVERIFY(child.waitForFinished(10000));
        output += child.readAllStandardOutput();
        QVERIFY2(child.exitStatus() == QProcess::CrashExit,
                 qPrintable(QStringLiteral("cycle %1: the writer stopped by itself: %2")
                                .arg(cycle)
                                .arg(QString::fromUtf8(child.readAllStandardError()))));

        const QList<QByteArray> lines = output.split('\n');
        for (const QByteArray& line : lines) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() != 2)
                continue;
            const int round = words.at(1).toInt();
            if (kWriters.contains(words.at(0)))
                ++writesReported;
            if (words.at(0) == "settings")
                done.settings = round;
            else if (words.at(0) == "table")
                done.table.insert(round);
            else if (words.at(0) == "phrases")
                done.phrases = round;
            else if (words.at(0) == "card")
                done.cards.insert(round);
            else if (words.at(0) == "backup")
                done.backup = round;
        }
        // The writer the kill cut short: the one after the last that reported.
        const QByteArray last = output.left(output.lastIndexOf('\n')).split('\n').last().split(' ').first();
        const qsizetype next = (kWriters.indexOf(last) + 1) % kWriters.size();
        ++killedIn[kWriters.at(next)];

        const QString problem = problemAfterKill(done);
        QVERIFY2(problem.isEmpty(),
                 qPrintable(QStringLiteral("cycle %1, seed %2: %3").arg(cycle).arg(seed).arg(problem)));
        const QString stray = strayFilesAfterNextStart();
        QVERIFY2(stray.isEmpty(),
                 qPrintable(QStringLiteral("cycle %1, seed %2: left behind: %3").arg(cycle).arg(seed).arg(stray)));
    }
    QStringList spread;
    for (auto it = killedIn.cbegin(); it != killedIn.cend(); ++it)
        spread << QString::fromLatin1(it.key()) + QLatin1Char(' ') + QString::number(it.value());
    qInfo("%d rounds; kills during each writer: %s", done.settings, qPrintable(spread.join(QStringLiteral(", "))));
    // Kills that mostly came before the first write would prove little.
    QVERIFY(writesReported >= kCycles);
    AppPaths::setAppDir(QString());
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "TestCrashSafety.moc"
