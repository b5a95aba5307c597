#include "CrashImage.h"
#include "TestEnvironment.h"
#include "storage/AtomicFile.h"
#include "storage/Leftovers.h"
#include "storage/TableFiles.h"
#include "storage/TableSchema.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

/// Temporary files a crash leaves go at the next write of the same file and at the next start; nothing the program
/// did not make is ever touched.
class TestAtomicFile : public QObject
{
    Q_OBJECT
private slots:
    void replacesWhole();
    void leftoversAreRemovedOnlyWhenOurs_data();
    void leftoversAreRemovedOnlyWhenOurs();
    void finishedJournalIsPlayedBackNotRemoved();
};

void TestAtomicFile::replacesWhole()
{
    TestEnvironment env;
    env.writeFile(u"content.dat"_s, "old");
    QFile::setPermissions(env.path(u"content.dat"_s), QFile::ReadOwner | QFile::WriteOwner);
    {
        AtomicFile file(env.path(u"content.dat"_s));
        QVERIFY(file.open());
        QVERIFY(file.write("new"));
        QCOMPARE(env.readFile(u"content.dat"_s), QByteArray("old"));
        QVERIFY(file.commit());
    }
    {
        AtomicFile abandoned(env.path(u"content.dat"_s));
        QVERIFY(abandoned.open());
        QVERIFY(abandoned.write("never committed"));
    }
    QCOMPARE(env.readFile(u"content.dat"_s), QByteArray("new"));
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QCOMPARE(QFile::permissions(env.path(u"content.dat"_s)) & mode, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(QDir(env.appDir()).entryList(QDir::Files | QDir::Hidden), QStringList{ u"content.dat"_s });
}

void TestAtomicFile::leftoversAreRemovedOnlyWhenOurs_data()
{
    QTest::addColumn<QString>("file"); // relative to the program folder
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("goneAtNextWrite"); // of content.dat
    QTest::addColumn<bool>("goneAtStart");

    const QByteArray table("SQLite format 3\0 and pages", 26);
    QTest::newRow("ours, same file") << u"content.dat.vantrel-tmp.Ab3dE9"_s << QByteArray("x") << true << true;
    QTest::newRow("ours, other file") << u"helper.ini.vantrel-tmp.000000"_s << QByteArray("x") << false << true;
    QTest::newRow("ours, in data") << u"data/card.db.vantrel-tmp.zzZZ00"_s << table << false << true;
    QTest::newRow("engine journal of ours")
        << u"data/card.db.vantrel-tmp.zzZZ00-journal"_s << QByteArray() << false << true;
    QTest::newRow("ours, in bak") << u"bak/名片数据[20260101].Dat.vantrel-tmp.q1w2e3"_s << table << false << true;
    QTest::newRow("earlier backup copy in bak") << u"bak/.名片数据[20260101].Dat.q1W2e3"_s << table << false << true;
    QTest::newRow("earlier empty backup copy") << u"bak/.x.Dat.q1W2e3"_s << QByteArray() << false << true;
    QTest::newRow("user's hidden text in bak") << u"bak/.x.Dat.q1W2e3"_s << QByteArray("notes") << false << false;
    QTest::newRow("user's backup of the phrases") << u"content.dat.backup"_s << QByteArray("x") << false << false;
    QTest::newRow("six letters after the name") << u"content.dat.Ab3dE9"_s << QByteArray("x") << false << false;
    QTest::newRow("five letters after the marker")
        << u"content.dat.vantrel-tmp.Ab3dE"_s << QByteArray("x") << false << false;
    QTest::newRow("engine's empty journal beside a table")
        << u"data/classify.db-journal"_s << QByteArray() << false << true;
    // The engine marks a journal valid only once it is on disk; a crash before that leaves its header zero.
    QTest::newRow("engine's unfinished journal")
        << u"data/classify.db-journal"_s << QByteArray(28, '\0') << false << true;
    QTest::newRow("empty journal of no table of ours") << u"data/other.db-journal"_s << QByteArray() << false << false;
    QTest::newRow("ours, in another folder")
        << u"sound/a.wav.vantrel-tmp.Ab3dE9"_s << QByteArray("x") << false << false;
}

void TestAtomicFile::leftoversAreRemovedOnlyWhenOurs()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, goneAtNextWrite);
    QFETCH(bool, goneAtStart);
    TestEnvironment env;
    TableFiles::connection(TableFiles::resolve(env.path(u"data/classify.db"_s)));
    TableFiles::releaseAll();
    env.writeFile(file, content);

    AtomicFile write(env.path(u"content.dat"_s));
    QVERIFY(write.open());
    QVERIFY(write.commit());
    QCOMPARE(!QFile::exists(env.path(file)), goneAtNextWrite);

    Leftovers::removeAtStart();
    QCOMPARE(!QFile::exists(env.path(file)), goneAtStart);
    QVERIFY(QFile::exists(env.path(u"content.dat"_s)));
    QVERIFY(QFile::exists(env.path(u"data/classify.db"_s)));
}

// A journal the engine finished holds the old rows of a write cut short: the start must play it back, not delete it.
void TestAtomicFile::finishedJournalIsPlayedBackNotRemoved()
{
    TestEnvironment env;
    const QString table = env.path(u"data/card.db"_s);
    const QString problem
        = makeCrashImage(table,
                         { TableSchema::createStatement(u"card"_s),
                           u"INSERT INTO card (name, memo) WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL "
                           "SELECT x + 1 FROM n WHERE x < 100) SELECT 'kept', printf('%0500d', x) "
                           "FROM n"_s },
                         { u"UPDATE card SET name = 'torn'"_s });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    Leftovers::removeAtStart();
    QVERIFY(!QFile::exists(table + u"-journal"_s));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(table);
        QVERIFY(db.open());
        QSqlQuery q(u"SELECT count(*) FROM card WHERE name = 'kept'"_s, db);
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 100);
    }
    QSqlDatabase::removeDatabase(u"check"_s);
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "TestAtomicFile.moc"
