#include "ProgramUnderTest.h"
#include "RealInput.h"

#include <QDateTime>
#include <QFile>
#include <QtTest>

/// The real program, ended by a person and started again: a reminder that fell due in between is listed on the
/// pop-up "错过的提醒" and its program is not run; one that fired while the program ran is not listed.
class TestMissedReminderReport : public QObject
{
    Q_OBJECT

private slots:
    void reminderDueWhileOffIsListedAtTheNextStart();
};

void TestMissedReminderReport::reminderDueWhileOffIsListedAtTheNextStart()
{
    ProgramUnderTest program;
    program.sqlite(QStringLiteral("data/time.db"), ProgramUnderTest::reminderTableSql());
    // Today's plan would list the same reminders on a pop-up of its own.
    program.writeFile(QStringLiteral("helper.ini"), "[system]\r\nshow=0\r\n");
    // Each reminder's program appends a line to a file of its own.
    auto marker = [&](const QString& name) {
        const QString script = program.path(name + QStringLiteral(".sh"));
        program.writeFile(
            name + QStringLiteral(".sh"),
            QStringLiteral("#!/bin/sh\necho ran >> '%1'\n").arg(program.path(name + QStringLiteral(".txt"))).toUtf8());
        QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
        return script;
    };
    const QString firedScript = marker(QStringLiteral("fired"));
    const QString missedScript = marker(QStringLiteral("missed"));

    const int first = program.start();
    const qint64 firstPid = program.pid(first);
    QVERIFY2(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty(), "main window");
    const QDateTime firedAt = ProgramUnderTest::wholeSecondsAhead(3);
    program.sqlite(
        QStringLiteral("data/time.db"),
        ProgramUnderTest::reminderRowSql(firedAt, QStringLiteral("运行时到期"), {}, firedScript, QStringLiteral("30")));
    QVERIFY2(ProgramUnderTest::waitFor([&] { return !program.readFile(QStringLiteral("fired.txt")).isEmpty(); }, 10000),
             qPrintable(program.errorOutput(first)));

    // The user ends the program from the navigation bar and confirms.
    QVERIFY(RealInput::clickControl(firstPid, QStringLiteral("Vantrel"), QStringLiteral("关机Vantrel")));
    QVERIFY(RealInput::clickControl(firstPid, QStringLiteral("Vantrel"), QStringLiteral("退出Vantrel")));
    QVERIFY2(RealInput::clickControl(firstPid, QStringLiteral("提示"), QStringLiteral("确定"),
                                     QStringLiteral("push button")),
             "the exit is confirmed");
    QVERIFY2(ProgramUnderTest::waitFor([&] { return program.process(first).state() == QProcess::NotRunning; }, 15000),
             "the program ends");
    QCOMPARE(program.process(first).exitCode(), 0);
    QVERIFY(program.readFile(QStringLiteral("helper.ini")).contains("lastalive="));

    // A reminder falls due while the program is not running.
    const QDateTime missedAt = ProgramUnderTest::wholeSecondsAhead(2);
    program.sqlite(QStringLiteral("data/time.db"),
                   ProgramUnderTest::reminderRowSql(missedAt, QStringLiteral("关着时到期"), {}, missedScript,
                                                    QStringLiteral("30")));
    QTest::qWait(int(QDateTime::currentDateTime().msecsTo(missedAt)) + 1500);

    const int second = program.start();
    const qint64 secondPid = program.pid(second);
    const QStringList report
        = ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("错过的提醒")), 20000);
    QVERIFY2(report.size() == 1, qPrintable(program.errorOutput(second)));
    // Its one line: the one that fired while the program ran is not listed.
    const QString line = missedAt.toString(QStringLiteral("yyyy-M-d H:mm:ss")) + QStringLiteral("-->关着时到期\r");
    QVERIFY2(RealInput::findControl(secondPid, QStringLiteral("错过的提醒"), line).isValid(), qPrintable(line));

    // It stays until the user clicks it.
    QTest::qWait(3000);
    QCOMPARE(ProgramUnderTest::windows(ProgramUnderTest::titled(QStringLiteral("错过的提醒"))), report);
    QVERIFY(RealInput::click(RealInput::windowRect(report.first()).center()));
    QVERIFY2(
        ProgramUnderTest::waitFor(
            [] { return ProgramUnderTest::windows(ProgramUnderTest::titled(QStringLiteral("错过的提醒"))).isEmpty(); },
            5000),
        "a click closes it");

    // Nothing was run again.
    QVERIFY(!QFile::exists(program.path(QStringLiteral("missed.txt"))));
    QCOMPARE(program.readFile(QStringLiteral("fired.txt")), QByteArray("ran\n"));
    QCOMPARE(program.process(second).state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestMissedReminderReport)
#include "TestMissedReminderReport.moc"
