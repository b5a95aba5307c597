#include "ProgramUnderTest.h"
#include "RealInput.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

/// The real program keeps answering and keeps every reminder in its second when the table engine or the audio stack
/// is slow: a table locked by another program, and reminders that open sounds.
class TestResponsiveness : public QObject
{
    Q_OBJECT

private slots:
    void lockedTableLosesNothing_data();
    void lockedTableLosesNothing();
    void sameSecondRemindersWithSoundsRunInTheirSecond();
};

namespace {

/// A script that appends its name and the moment it ran to a file; returns its path.
QString recorder(const ProgramUnderTest& program, const QString& name, const QString& log)
{
    const QString script = program.path(name + QStringLiteral(".sh"));
    program.writeFile(
        name + QStringLiteral(".sh"),
        QStringLiteral("#!/bin/sh\necho \"%1 $(date +%s.%N)\" >> '%2'\n").arg(name, program.path(log)).toUtf8());
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    return script;
}

/// The runs recorded in a log: name → moments, in seconds since the epoch.
QMultiMap<QString, double> runs(const ProgramUnderTest& program, const QString& log)
{
    QMultiMap<QString, double> result;
    for (const QByteArray& line : program.readFile(log).split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            result.insert(QString::fromUtf8(parts.at(0)), parts.at(1).toDouble());
    }
    return result;
}

void waitUntil(const QDateTime& moment)
{
    ProgramUnderTest::waitFor([&] { return QDateTime::currentDateTime() >= moment; }, 60000);
}

} // namespace

void TestResponsiveness::lockedTableLosesNothing_data()
{
    // A short lock is held for its seconds. A long one is held until the program has told of it (the report is
    // due after five locked seconds), so a slow machine's late tick cannot end the lock before the report.
    QTest::addColumn<int>("lockSeconds");
    QTest::addColumn<int>("errors");
    QTest::newRow("3 s lock: nothing shown") << 3 << 0;
    QTest::newRow("long lock: one error") << 8 << 1;
}

void TestResponsiveness::lockedTableLosesNothing()
{
    QFETCH(int, lockSeconds);
    QFETCH(int, errors);
    ProgramUnderTest program;
    program.sqlite(QStringLiteral("data/time.db"), ProgramUnderTest::reminderTableSql());
    const QString script = recorder(program, QStringLiteral("due"), QStringLiteral("fired.txt"));
    const int copy = program.start();
    const qint64 pid = program.pid(copy);
    QVERIFY(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty());
    // The user is in a dialog meanwhile: an error box raised by the timer must still take the user's click.
    QVERIFY(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("提醒列表")));
    QVERIFY(!ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("提醒列表")), 10000).isEmpty());

    // The lock starts a little before the reminder's second and lasts beyond it.
    const QDateTime lockAt = ProgramUnderTest::wholeSecondsAhead(3);
    const QDateTime due = lockAt.addSecs(1);
    program.sqlite(
        QStringLiteral("data/time.db"),
        ProgramUnderTest::reminderRowSql(due, QStringLiteral("锁定时到期"), {}, script, QStringLiteral("1")));
    waitUntil(lockAt);
    const QString release = program.path(QStringLiteral("release"));
    QProcess writer;
    writer.start(QStringLiteral("sqlite3"), { program.path(QStringLiteral("data/time.db")) });
    QVERIFY(writer.waitForStarted());
    writer.write(QStringLiteral("BEGIN EXCLUSIVE;\n.print locked\n.shell while [ ! -e '%1' ]; do sleep 0.1; done\n"
                                "COMMIT;\n")
                     .arg(release)
                     .toUtf8());
    writer.closeWriteChannel();
    QVERIFY(ProgramUnderTest::waitFor([&] { return writer.canReadLine(); }, 5000));
    QElapsedTimer locked;
    locked.start();

    // The program answers input while the table is locked: an accessibility round trip to its main thread comes
    // back before the lock ends, however long the lock lasts.
    QElapsedTimer answer;
    answer.start();
    QVERIFY(RealInput::findControl(pid, QStringLiteral("Vantrel"), QStringLiteral("提醒列表"), {}, 20000).isValid());
    const bool answeredDuringLock = writer.state() == QProcess::Running;
    qInfo("answer during a %d s lock: %lld ms", lockSeconds, answer.elapsed());
    QVERIFY2(answeredDuringLock, "the program answered only after the lock ended");

    ProgramUnderTest::waitFor([&] { return locked.elapsed() >= lockSeconds * 1000; }, 60000);
    if (errors)
        ProgramUnderTest::waitFor([&] { return program.errorOutput(copy).contains(QStringLiteral("locked")); }, 20000);
    const qint64 heldMs = locked.elapsed();
    program.writeFile(QStringLiteral("release"), {});
    QVERIFY(ProgramUnderTest::waitFor([&] { return writer.state() == QProcess::NotRunning; }, 30000));
    qInfo("lock held for %lld ms", heldMs);
    const double lockEnded = QDateTime::currentMSecsSinceEpoch() / 1000.0;
    QVERIFY2(ProgramUnderTest::waitFor([&] { return !runs(program, QStringLiteral("fired.txt")).isEmpty(); }, 5000),
             "the reminder due during the lock fires after it");
    QTest::qWait(2000);
    const QList<double> fired = runs(program, QStringLiteral("fired.txt")).values(QStringLiteral("due"));
    QCOMPARE(fired.size(), 1);
    QVERIFY(fired.first() >= lockEnded - 0.5);

    const QString output = program.errorOutput(copy);
    QVERIFY2(output.count(QStringLiteral("locked")) == errors, qPrintable(output));
    if (errors)
        QVERIFY2(heldMs >= 5000, "the lock was told of before it had lasted five seconds");
    if (errors) {
        const QString box = QStringLiteral("Vantrel");
        QVERIFY2(RealInput::clickControl(pid, box, QStringLiteral("确定"), QStringLiteral("push button")), "error box");
        QVERIFY2(ProgramUnderTest::waitFor(
                     [&] {
                         return !RealInput::findControl(pid, box, QStringLiteral("确定"), QStringLiteral("push button"),
                                                        0)
                                     .isValid();
                     },
                     5000),
                 "the error box closes on a click");
    }
    QCOMPARE(program.process(copy).state(), QProcess::Running);
}

void TestResponsiveness::sameSecondRemindersWithSoundsRunInTheirSecond()
{
    // Five reminders in each of ten seconds, each with a catalogue sound: every one shows its pop-up and runs its
    // program in its own second, however long the audio stack takes to open a sound.
    const QStringList sounds{ QStringLiteral("小闹钟"), QStringLiteral("致爱丽丝"), QStringLiteral("小汽车"),
                              QStringLiteral("天鹅湖"), QStringLiteral("月亮代表我的心") };
    constexpr int kRuns = 10;
    ProgramUnderTest program;
    program.sqlite(QStringLiteral("data/time.db"), ProgramUnderTest::reminderTableSql());
    QStringList scripts;
    for (int i = 0; i < sounds.size(); ++i)
        scripts << recorder(program, QStringLiteral("r%1").arg(i), QStringLiteral("runs.txt"));
    const int copy = program.start();
    QVERIFY(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty());

    const QDateTime first = ProgramUnderTest::wholeSecondsAhead(4);
    QString rows;
    QList<double> dueSeconds;
    for (int run = 0; run < kRuns; ++run) {
        const QDateTime due = first.addSecs(2 * run);
        dueSeconds << due.toMSecsSinceEpoch() / 1000.0;
        for (int i = 0; i < sounds.size(); ++i)
            rows += ProgramUnderTest::reminderRowSql(due, QStringLiteral("同一秒 %1").arg(i), sounds.at(i),
                                                     scripts.at(i), QStringLiteral("1"));
    }
    program.sqlite(QStringLiteral("data/time.db"), rows);
    waitUntil(first.addSecs(2 * kRuns + 2));

    const QMultiMap<QString, double> all = runs(program, QStringLiteral("runs.txt"));
    QCOMPARE(all.size(), kRuns * int(sounds.size()));
    double latest = 0;
    for (int i = 0; i < sounds.size(); ++i) {
        QList<double> moments = all.values(QStringLiteral("r%1").arg(i));
        std::sort(moments.begin(), moments.end());
        QCOMPARE(moments.size(), kRuns);
        for (int run = 0; run < kRuns; ++run) {
            const double late = moments.at(run) - dueSeconds.at(run);
            latest = std::max(latest, late);
            QVERIFY2(late >= 0 && late < 1.0,
                     qPrintable(QStringLiteral("reminder %1 of run %2 ran %3 s after its second began")
                                    .arg(i)
                                    .arg(run)
                                    .arg(late, 0, 'f', 3)));
        }
    }
    qInfo("latest program: %.0f ms after the start of its second", latest * 1000);
    QCOMPARE(program.process(copy).state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestResponsiveness)
#include "TestResponsiveness.moc"
