#include "NotificationAreas.h"
#include "ProgramUnderTest.h"
#include "RealInput.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

/// What a person does with the mouse while a dialog is open, done with real X input on the real program: windows
/// that come up while the dialog is open (reminder pop-ups, today's plan, the tray menu and what it opens) take
/// clicks; the window the dialog was opened from does not.
class TestRealInput : public QObject
{
    Q_OBJECT

private slots:
    void popupTakesAClickWhileTheListIsOpen();
    void trayMenuWorksWhileTheListIsOpen();
    void secondStartBringsTheRunningCopyBack();
};

namespace {

bool visible(const QString& titlePattern)
{
    return !ProgramUnderTest::windows(titlePattern).isEmpty();
}

} // namespace

void TestRealInput::popupTakesAClickWhileTheListIsOpen()
{
    ProgramUnderTest program;
    program.sqlite(QStringLiteral("data/time.db"), ProgramUnderTest::reminderTableSql());
    const int copy = program.start();
    const qint64 pid = program.pid(copy);
    QVERIFY2(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty(), "main window");

    QVERIFY2(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("提醒列表")), "nav button");
    QVERIFY2(!ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("提醒列表")), 10000).isEmpty(),
             "the list opens");

    // A reminder that stays until it is clicked fires while the list is open.
    program.sqlite(QStringLiteral("data/time.db"),
                   ProgramUnderTest::reminderRowSql(ProgramUnderTest::wholeSecondsAhead(3), QStringLiteral("点我关闭"),
                                                    {}, {}, QStringLiteral("0")));
    const QStringList popups
        = ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("提醒")), 10000);
    QVERIFY2(popups.size() == 1, "the pop-up comes up");
    QTest::qWait(1500); // slid in
    const QRect popup = RealInput::windowRect(popups.first());
    QVERIFY(popup.isValid());

    QVERIFY(RealInput::click(popup.center()));
    QVERIFY2(ProgramUnderTest::waitFor([] { return !visible(ProgramUnderTest::titled(QStringLiteral("提醒"))); }, 5000),
             "the click closes the pop-up while the list is open");

    // The window the list was opened from stays blocked: its bar opens nothing else.
    QVERIFY(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("系统设置")));
    QTest::qWait(1000);
    QVERIFY(!visible(ProgramUnderTest::titled(QStringLiteral("系统设置"))));

    // And the list itself answers the mouse.
    QVERIFY(RealInput::clickControl(pid, QStringLiteral("提醒列表"), QStringLiteral("关闭"),
                                    QStringLiteral("push button")));
    QVERIFY(
        ProgramUnderTest::waitFor([] { return !visible(ProgramUnderTest::titled(QStringLiteral("提醒列表"))); }, 5000));
    QCOMPARE(program.process(copy).state(), QProcess::Running);
}

void TestRealInput::trayMenuWorksWhileTheListIsOpen()
{
    NotificationAreas areas;
    QVERIFY2(areas.startTrayer(), "trayer is needed (see README)");
    ProgramUnderTest program;
    program.sqlite(QStringLiteral("data/time.db"), ProgramUnderTest::reminderTableSql());
    // Dated today, so that today's plan has a line; far enough ahead never to fire during the test.
    const QDateTime later = QDateTime(QDate::currentDate(), QTime(23, 59, 59));
    program.sqlite(QStringLiteral("data/time.db"), ProgramUnderTest::reminderRowSql(later, QStringLiteral("今天的事")));
    program.writeFile(QStringLiteral("helper.ini"), "[system]\r\nshow=0\r\n");
    const int copy = program.start();
    const qint64 pid = program.pid(copy);
    QVERIFY(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty());
    QVERIFY2(ProgramUnderTest::waitFor([] { return NotificationAreas::dockedIcon().isValid(); }, 20000), "icon docked");

    QVERIFY(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("提醒列表")));
    QVERIFY(!ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("提醒列表")), 10000).isEmpty());

    // The menu opens on a real right click. Qt does not show its menus on the accessibility bus, so its items are
    // chosen with real keys, as a person may: 打开Vantrel, 今日计划, 打开电子钟, 关闭提醒音乐, Brellan主页, 关于, 退出.
    auto trayItem = [&](int index) {
        const int menusBefore = int(ProgramUnderTest::windows(QStringLiteral("^Vantrel$")).size());
        if (!RealInput::click(NotificationAreas::dockedIcon().center(), 3))
            return false;
        if (!ProgramUnderTest::waitFor(
                [&] { return ProgramUnderTest::windows(QStringLiteral("^Vantrel$")).size() > menusBefore; }, 5000))
            return false;
        QTest::qWait(300); // the menu takes the keyboard once it is up
        return RealInput::key(QStringLiteral("Down ").repeated(index + 1) + QStringLiteral("Return"));
    };

    // Today's plan comes up and takes a click.
    QVERIFY2(trayItem(1), "the tray menu opens and its item takes the click");
    const QStringList plan = ProgramUnderTest::waitForWindows(QStringLiteral("^今日事"), 10000);
    QVERIFY2(plan.size() == 1, "today's plan comes up");
    QTest::qWait(1500);
    QVERIFY(RealInput::click(RealInput::windowRect(plan.first()).center()));
    QVERIFY2(ProgramUnderTest::waitFor([] { return !visible(QStringLiteral("^今日事")); }, 5000),
             "today's plan closes on a click");

    // "关于" opens on top of the list, and its button works.
    QVERIFY(trayItem(5));
    QVERIFY2(!ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("关于")), 10000).isEmpty(),
             "about window");
    QVERIFY(RealInput::clickControl(pid, QStringLiteral("关于"), QStringLiteral("确定")));
    QVERIFY(ProgramUnderTest::waitFor([] { return !visible(ProgramUnderTest::titled(QStringLiteral("关于"))); }, 5000));

    // Stopping the reminder sound from the menu is reachable too.
    QVERIFY(trayItem(3));
    QTest::qWait(500);
    QCOMPARE(program.process(copy).state(), QProcess::Running);

    QVERIFY(RealInput::clickControl(pid, QStringLiteral("提醒列表"), QStringLiteral("关闭"),
                                    QStringLiteral("push button")));
    QVERIFY(
        ProgramUnderTest::waitFor([] { return !visible(ProgramUnderTest::titled(QStringLiteral("提醒列表"))); }, 5000));
}

void TestRealInput::secondStartBringsTheRunningCopyBack()
{
    ProgramUnderTest program;
    // Started hidden, without a notification area the program would show itself; so hide it once it is up.
    const int first = program.start();
    const qint64 firstPid = program.pid(first);
    QVERIFY(!ProgramUnderTest::waitForWindows(QStringLiteral("^Vantrel$"), 20000).isEmpty());
    QVERIFY(RealInput::clickControl(firstPid, QStringLiteral("Vantrel"), QStringLiteral("关机Vantrel")));
    QVERIFY(RealInput::clickControl(firstPid, QStringLiteral("Vantrel"), QStringLiteral("隐藏Vantrel")));
    QVERIFY2(ProgramUnderTest::waitFor([] { return !visible(QStringLiteral("^Vantrel$")); }, 5000), "hidden");

    const int second = program.start();
    QVERIFY2(!ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("提示")), 20000).isEmpty(),
             "the message");
    QVERIFY(!visible(QStringLiteral("^Vantrel$")));

    // The user answers the message with the mouse.
    QVERIFY(RealInput::clickControl(program.pid(second), QStringLiteral("提示"), QStringLiteral("确定"),
                                    QStringLiteral("push button")));
    QVERIFY(ProgramUnderTest::waitFor([&] { return program.process(second).state() == QProcess::NotRunning; }, 15000));
    QCOMPARE(program.process(second).exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process(second).exitCode(), 0);

    // The running copy shows its main window and brings it to the front.
    QVERIFY2(ProgramUnderTest::waitFor([] { return visible(QStringLiteral("^Vantrel$")); }, 10000),
             "the running copy comes back");
    const QString main = ProgramUnderTest::windows(QStringLiteral("^Vantrel$")).constFirst();
    QVERIFY2(ProgramUnderTest::waitFor([&] { return RealInput::focusedWindow() == main; }, 5000),
             "the main window has the keyboard");
    QCOMPARE(program.process(first).state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestRealInput)
#include "TestRealInput.moc"
