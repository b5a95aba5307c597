#include "CardSeed.h"
#include "CrashImage.h"
#include "TestEnvironment.h"
#include "cards/CardFiles.h"
#include "platform/AppError.h"
#include "storage/TableFiles.h"
#include "storage/TableSchema.h"
#include "text/Gbk.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <cstdio>
#include <dlfcn.h>

using namespace CardSeed;

namespace {

bool failRename = false;

} // namespace

// Replacing a file ends in rename(); this one fails on request, which no file permission can do for root.
extern "C" int rename(const char* from, const char* to) noexcept
{
    if (failRename) {
        errno = EIO;
        return -1;
    }
    using Rename = int (*)(const char*, const char*);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

namespace {

QByteArray digest(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

void makeSqlite(const QString& file, const QString& createStatement)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(createStatement));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
}

} // namespace

class TestCardFiles : public QObject
{
    Q_OBJECT
private slots:
    void backupNameCarriesTheDate();
    void backupAndRestoreRoundTrip();
    void backupReplacesAnExistingFile();
    void failedBackupIsAnError();
    void restoreRefusesWhatIsNoCardTable_data();
    void restoreRefusesWhatIsNoCardTable();
    void restoredTableKeepsOneFile();
    void failedRestoreOverAHotJournalKeepsTheOldRows();
    void exportWritesGbkLines();
    void exportKeepsTextOutsideGbk();
    void exportOfAnEmptyTableIsEmpty();
    void exportThatCannotWriteIsAnError();
};

void TestCardFiles::backupNameCarriesTheDate()
{
    QCOMPARE(CardFiles::backupFileName(QDate(2026, 3, 7)), QStringLiteral("名片数据[20260307].Dat"));
    QCOMPARE(CardFiles::backupFileName(QDate(1999, 12, 31)), QStringLiteral("名片数据[19991231].Dat"));
}

void TestCardFiles::backupAndRestoreRoundTrip()
{
    TestEnvironment env;
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    addCard(QStringLiteral("同事"), QStringLiteral("O'Brien"));
    const QString backup = env.path(QStringLiteral("bak/名片数据[20261210].Dat"));
    CardFiles::backup(backup);
    QVERIFY(CardFiles::isCardTable(backup));

    // Changes after the backup are undone by the restore, through the engine's reopened connection.
    TableQuery q;
    CardTables::setStatement(q, CardTables::deleteCardsOfCategory(QStringLiteral("朋友")));
    q.execSql();
    addCard(QStringLiteral("同事"), QStringLiteral("李四"));
    QCOMPARE(cardNames(), (QStringList{ QStringLiteral("O'Brien"), QStringLiteral("李四") }));

    QVERIFY(CardFiles::restore(backup));
    QCOMPARE(cardNames(), (QStringList{ QStringLiteral("张三"), QStringLiteral("O'Brien") }));
    addCard(QStringLiteral("同事"), QStringLiteral("王五"));
    QCOMPARE(cardNames().size(), 3);
    // The backup itself is left as it was.
    QVERIFY(CardFiles::isCardTable(backup));
    QCOMPARE(QDir(env.path(QStringLiteral("data"))).entryList(QDir::Files), QStringList{ QStringLiteral("card.db") });
}

void TestCardFiles::backupReplacesAnExistingFile()
{
    TestEnvironment env;
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    env.writeFile(QStringLiteral("bak/old.Dat"), "not a table");
    CardFiles::backup(env.path(QStringLiteral("bak/old.Dat")));
    QVERIFY(CardFiles::isCardTable(env.path(QStringLiteral("bak/old.Dat"))));
    QCOMPARE(QDir(env.path(QStringLiteral("bak"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{ QStringLiteral("old.Dat") });
}

void TestCardFiles::failedBackupIsAnError()
{
    TestEnvironment env;
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    QVERIFY_THROWS_EXCEPTION(AppError, CardFiles::backup(env.path(QStringLiteral("missing/folder/x.Dat"))));
}

void TestCardFiles::restoreRefusesWhatIsNoCardTable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file") << QStringLiteral("text");
    QTest::newRow("empty file") << QStringLiteral("empty");
    QTest::newRow("missing file") << QStringLiteral("missing");
    QTest::newRow("reminder table") << QStringLiteral("reminders");
    QTest::newRow("card table without memo") << QStringLiteral("columns");
    QTest::newRow("damaged backup") << QStringLiteral("damaged");
}

void TestCardFiles::restoreRefusesWhatIsNoCardTable()
{
    QFETCH(QString, kind);
    TestEnvironment env;
    addCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    const QString chosen = env.path(QStringLiteral("bak/chosen.Dat"));
    if (kind == QLatin1String("text")) {
        env.writeFile(QStringLiteral("bak/chosen.Dat"), "张三\t13800001111\r\n");
    } else if (kind == QLatin1String("empty")) {
        env.writeFile(QStringLiteral("bak/chosen.Dat"), QByteArray());
    } else if (kind == QLatin1String("reminders")) {
        makeSqlite(chosen, QStringLiteral("CREATE TABLE time (num INTEGER PRIMARY KEY, hint TEXT)"));
    } else if (kind == QLatin1String("columns")) {
        makeSqlite(chosen, QStringLiteral("CREATE TABLE card (num INTEGER PRIMARY KEY, classify TEXT, name TEXT)"));
    } else if (kind == QLatin1String("damaged")) {
        CardFiles::backup(chosen);
        QFile f(chosen);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QByteArray head = f.read(100);
        QVERIFY(f.resize(0));
        f.write(head + QByteArray(int(4096 - head.size()), '\xff'));
    }
    const QByteArray before = digest(CardTables::cardTableFile());

    QVERIFY(!CardFiles::restore(chosen));
    QCOMPARE(digest(CardTables::cardTableFile()), before);
    QCOMPARE(cardNames(), QStringList{ QStringLiteral("张三") });
}

// A card table written elsewhere in WAL mode still becomes a table whose one file holds everything.
void TestCardFiles::restoredTableKeepsOneFile()
{
    TestEnvironment env;
    const QString chosen = env.path(QStringLiteral("bak/wal.Dat"));
    makeSqlite(chosen, TableSchema::createStatement(QStringLiteral("card")));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("wal"));
        db.setDatabaseName(chosen);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode=WAL")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO card (classify, name) VALUES ('朋友', '张三')")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("wal"));

    QVERIFY(CardFiles::restore(chosen));
    addCard(QStringLiteral("朋友"), QStringLiteral("李四"));
    QCOMPARE(cardNames(), (QStringList{ QStringLiteral("张三"), QStringLiteral("李四") }));
    QVERIFY(!QFile::exists(CardTables::cardTableFile() + QStringLiteral("-wal")));
}

// The card table holds a write cut short by a crash, with its journal. A restore that then cannot replace the file
// must leave the old rows as they were committed: the journal is played back, never thrown away unplayed.
void TestCardFiles::failedRestoreOverAHotJournalKeepsTheOldRows()
{
    TestEnvironment env;
    addCard(QStringLiteral("朋友"), QStringLiteral("备份"));
    const QString chosen = env.path(QStringLiteral("bak/chosen.Dat"));
    CardFiles::backup(chosen);
    TableFiles::releaseAll();

    const QString rows
        = QStringLiteral("INSERT INTO card (classify, name, memo) WITH RECURSIVE n(x) AS (SELECT 1 UNION "
                         "ALL SELECT x + 1 FROM n WHERE x < 100) SELECT '朋友', '张三', printf('%0500d', "
                         "x) FROM n");
    const QString problem
        = makeCrashImage(CardTables::cardTableFile(), { TableSchema::createStatement(QStringLiteral("card")), rows },
                         { QStringLiteral("UPDATE card SET name = '撕裂'") });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    failRename = true;
    const bool restored = CardFiles::restore(chosen);
    failRename = false;
    QVERIFY(!restored);
    const QStringList names = cardNames();
    QCOMPARE(names.size(), 100);
    QCOMPARE(names.count(QStringLiteral("张三")), 100);
    QCOMPARE(QDir(env.path(QStringLiteral("data"))).entryList(QDir::Files), QStringList{ QStringLiteral("card.db") });
}

void TestCardFiles::exportWritesGbkLines()
{
    TestEnvironment env;
    Card first;
    first.classify = QStringLiteral("朋友");
    first.name = QStringLiteral("张三");
    first.netname = QStringLiteral("zs");
    first.qq = QStringLiteral("10001");
    first.email = QStringLiteral("zs@example.com");
    first.mobile = QStringLiteral("13800001111");
    first.address = QStringLiteral("北京");
    first.memo = CardTables::noteForTable(QStringLiteral("第一行\n第二行"));
    addCard(first);
    addCard(QStringLiteral("x"), QStringLiteral("Bob"));

    CardFiles::exportText(CardFiles::exportFileName());
    const QByteArray expected = QByteArray::fromHex("c5f3d3d1") + '\t' + QByteArray::fromHex("d5c5c8fd")
        + "\tzs\t10001\t\t\tzs@example.com\t13800001111\t\t\t" + QByteArray::fromHex("b1b1bea9") + '\t'
        + QByteArray::fromHex("b5dad2bbd0d0") + "\r\n" + QByteArray::fromHex("b5dab6fed0d0") + "\r\n"
        + "x\tBob\t\t\t\t\t\t\t\t\t\t\r\n";
    QCOMPARE(env.readFile(QStringLiteral("Card.txt")), expected);
}

void TestCardFiles::exportKeepsTextOutsideGbk()
{
    TestEnvironment env;
    Card card;
    card.classify = QStringLiteral("朋友");
    card.name = QStringLiteral("\U00020000张"); // a rare name character from outside the basic plane
    card.memo = QStringLiteral("\U0001F600€");
    addCard(card);
    CardFiles::exportText(CardFiles::exportFileName());
    const QByteArray bytes = env.readFile(QStringLiteral("Card.txt"));
    QCOMPARE(bytes.toHex(),
             (QByteArray::fromHex("c5f3d3d1") + '\t' + QByteArray::fromHex("95328236d5c5") + "\t\t\t\t\t\t\t\t\t\t"
              + QByteArray::fromHex("9439fc3680") + "\r\n")
                 .toHex());
    QCOMPARE(Gbk::decode(bytes).split(QLatin1Char('\t')).value(1), card.name);
}

void TestCardFiles::exportOfAnEmptyTableIsEmpty()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("Card.txt"), "old content");
    CardFiles::exportText(CardFiles::exportFileName());
    QVERIFY(QFile::exists(env.path(QStringLiteral("Card.txt"))));
    QCOMPARE(env.readFile(QStringLiteral("Card.txt")), QByteArray());
}

void TestCardFiles::exportThatCannotWriteIsAnError()
{
    TestEnvironment env;
    QDir().mkpath(env.path(QStringLiteral("Card.txt"))); // a folder where the file should go
    QVERIFY_THROWS_EXCEPTION(AppError, CardFiles::exportText(CardFiles::exportFileName()));
}

QTEST_GUILESS_MAIN(TestCardFiles)
#include "TestCardFiles.moc"
