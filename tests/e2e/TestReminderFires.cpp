#include "ProgramUnderTest.h"

#include <QDateTime>
#include <QFile>
#include <QtTest>

/// A reminder written straight into the table fires in its second in the running program: its program runs once
/// and its pop-up window appears.
class TestReminderFires : public QObject
{
    Q_OBJECT

private slots:
    void rowWrittenWithSqliteFiresInItsSecond();
};

void TestReminderFires::rowWrittenWithSqliteFiresInItsSecond()
{
    ProgramUnderTest program;
    program.sqlite(QStringLiteral("data/time.db"), ProgramUnderTest::reminderTableSql());
    const QString marker = program.path(QStringLiteral("fired.txt"));
    const QString script = program.path(QStringLiteral("on-reminder.sh"));
    program.writeFile(QStringLiteral("on-reminder.sh"),
                      QStringLiteral("#!/bin/sh\ndate +%s.%N >> '%1'\n").arg(marker).toUtf8());
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);

    const int copy = program.start();
    QVERIFY2(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty(), "main window");

    // Due a few seconds ahead of the running program's clock, the same local time as ours.
    const QDateTime due = ProgramUnderTest::wholeSecondsAhead(4);
    program.sqlite(QStringLiteral("data/time.db"),
                   ProgramUnderTest::reminderRowSql(due, QStringLiteral("端到端提醒"), QStringLiteral("小闹钟"), script,
                                                    QStringLiteral("30")));

    QVERIFY2(
        ProgramUnderTest::waitFor([&] { return program.readFile(QStringLiteral("fired.txt")).endsWith('\n'); }, 10000),
        qPrintable(program.errorOutput(copy)));
    const QList<QByteArray> runs = program.readFile(QStringLiteral("fired.txt")).trimmed().split('\n');
    const double ranAt = runs.first().toDouble();
    const double dueAt = due.toMSecsSinceEpoch() / 1000.0;
    // In its own second: the engine ticks just past the turn of each second.
    QVERIFY2(ranAt >= dueAt && ranAt < dueAt + 1.0,
             qPrintable(QStringLiteral("due %1, ran %2").arg(dueAt, 0, 'f', 3).arg(ranAt, 0, 'f', 3)));

    QVERIFY2(!ProgramUnderTest::waitForWindows(QStringLiteral("^提醒$"), 5000).isEmpty(), "pop-up window");

    // It fired once: the next seconds do not run the program again.
    QTest::qWait(2500);
    QCOMPARE(program.readFile(QStringLiteral("fired.txt")).trimmed().split('\n').size(), 1);
    QCOMPARE(program.process(copy).state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestReminderFires)
#include "TestReminderFires.moc"
