#include "TestEnvironment.h"
#include "storage/AtomicFile.h"

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
};

void TestAtomicFile::replacesWhole()
{
    TestEnvironment env;
    env.writeFile(u"content.dat"_s, "old");
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
    env.writeFile(file, content);

    AtomicFile write(env.path(u"content.dat"_s));
    QVERIFY(write.open());
    QVERIFY(write.commit());
    QCOMPARE(!QFile::exists(env.path(file)), goneAtNextWrite);

    AtomicFile::removeProgramLeftovers();
    QCOMPARE(!QFile::exists(env.path(file)), goneAtStart);
    QVERIFY(QFile::exists(env.path(u"content.dat"_s)));
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "TestAtomicFile.moc"
