#include "ProgramUnderTest.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtTest>

/// The real program on a private X display: one running copy at a time, and a damaged program folder never stops
/// it from starting nor loses what is on disk.
class TestStartUp : public QObject
{
    Q_OBJECT

private slots:
    void secondCopyIsRefusedAndFirstRunsOn();
    void deadHoldersLockIsTakenOver();
    void damagedFilesAreReportedAndKept_data();
    void damagedFilesAreReportedAndKept();
    void unwritableDataFolderIsReported();
    void crashLeftoversGoAtStart();
};

void TestStartUp::secondCopyIsRefusedAndFirstRunsOn()
{
    ProgramUnderTest program;
    const int first = program.start();
    QVERIFY2(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty(), "main window");

    const int second = program.start();
    const QStringList boxes = ProgramUnderTest::waitForWindows(QStringLiteral("^提示$"), 20000);
    QVERIFY2(boxes.size() == 1, "the second copy says it is already running, once");
    QCOMPARE(program.process(second).state(), QProcess::Running);

    // The second copy ends with status 0 only once its message is answered.
    ProgramUnderTest::sendKey(boxes.first(), QStringLiteral("Return"));
    QVERIFY(program.process(second).waitForFinished(15000));
    QCOMPARE(program.process(second).exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process(second).exitCode(), 0);
    QCOMPARE(program.process(first).state(), QProcess::Running);
}

void TestStartUp::deadHoldersLockIsTakenOver()
{
    ProgramUnderTest program;
    const int crashed = program.start();
    QVERIFY(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty());
    program.kill(crashed);

    const int next = program.start();
    QVERIFY(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty());
    QTest::qWait(1000);
    QVERIFY(ProgramUnderTest::windows(QStringLiteral("^提示$")).isEmpty());
    QCOMPARE(program.process(next).state(), QProcess::Running);
}

void TestStartUp::damagedFilesAreReportedAndKept_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("named");
    QTest::newRow("helper.ini is binary")
        << "helper.ini" << QByteArray("\x00\x01\xff[system]\x00hide=1", 17) << "helper.ini";
    QTest::newRow("time.db is text") << "data/time.db" << QByteArray("not a table at all\n") << "time.db";
}

void TestStartUp::damagedFilesAreReportedAndKept()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, named);
    ProgramUnderTest program;
    program.writeFile(file, content);
    const int copy = program.start();
    QVERIFY2(ProgramUnderTest::waitFor([&] { return program.errorOutput(copy).contains(named); }, 20000),
             qPrintable(program.errorOutput(copy)));
    // Only one box however often the cause recurs: the program keeps running and does not stack them.
    QTest::qWait(3000);
    QCOMPARE(program.process(copy).state(), QProcess::Running);
    QVERIFY(ProgramUnderTest::windows(QStringLiteral("^Vantrel$")).size() <= 2);
    QCOMPARE(program.readFile(file), content);
}

void TestStartUp::unwritableDataFolderIsReported()
{
    // A file standing where the data folder must be: nothing can be created there, whoever runs the program.
    ProgramUnderTest program;
    QDir(program.path(QStringLiteral("data"))).removeRecursively();
    program.writeFile(QStringLiteral("data"), "in the way");
    const int copy = program.start();
    QVERIFY2(
        ProgramUnderTest::waitFor([&] { return program.errorOutput(copy).contains(QStringLiteral("time.db")); }, 20000),
        qPrintable(program.errorOutput(copy)));
    QCOMPARE(program.process(copy).state(), QProcess::Running);
    QCOMPARE(program.readFile(QStringLiteral("data")), QByteArray("in the way"));
}

// What writes cut short by a crash left goes at the next start; a file the program did not make stays.
void TestStartUp::crashLeftoversGoAtStart()
{
    ProgramUnderTest program;
    const QStringList leftovers{ QStringLiteral("content.dat.vantrel-tmp.Ab3dE9"),
                                 QStringLiteral("data/card.db.vantrel-tmp.zzZZ00"),
                                 QStringLiteral("bak/.名片数据[20260101].Dat.q1W2e3") };
    for (const QString& file : leftovers)
        program.writeFile(file, QByteArray("SQLite format 3\0", 16));
    program.writeFile(QStringLiteral("content.dat.backup"), "the user's own");
    program.start();
    QVERIFY(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty());
    for (const QString& file : leftovers)
        QVERIFY2(!QFile::exists(program.path(file)), qPrintable(file));
    QCOMPARE(program.readFile(QStringLiteral("content.dat.backup")), QByteArray("the user's own"));
}

QTEST_GUILESS_MAIN(TestStartUp)
#include "TestStartUp.moc"
