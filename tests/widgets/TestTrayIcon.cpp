#include "fakes/TestEnvironment.h"
#include "widgets/TLightTimer.h"
#include "widgets/TTrayIcon.h"

#include <QGuiApplication>
#include <QMenu>
#include <QStyleHints>
#include <QTest>
#include <QWidget>

namespace {
QList<QIcon> eightIcons()
{
    QList<QIcon> icons;
    for (int i = 0; i < 8; ++i) {
        QPixmap picture(16, 16);
        picture.fill(QColor::fromHsv(i * 40, 255, 255));
        icons << QIcon(picture);
    }
    return icons;
}

/// A tray icon that counts its additions to the notification area.
class TestableTrayIcon : public TTrayIcon
{
public:
    using TTrayIcon::TTrayIcon;
    void AddToTray() override
    {
        ++adds;
        TTrayIcon::AddToTray();
    }

    int adds = 0;
};
} // namespace

/// The tray icon's animation, tooltip, click state machine, menu and main-window handling, driven through its
/// timers' ticks and the reports the notification area delivers.
class TestTrayIcon : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QWidget> m_owner;
    TestableTrayIcon* m_tray = nullptr;
    QStringList m_log;

    void logEvents()
    {
        auto name = [](Qt::MouseButton button) {
            return button == Qt::LeftButton ? QStringLiteral("L")
                : button == Qt::RightButton ? QStringLiteral("R")
                                            : QStringLiteral("M");
        };
        m_tray->OnClick = [this](QObject*) { m_log << QStringLiteral("click"); };
        m_tray->OnMouseDown = [this, name](QObject*, Qt::MouseButton button, TShiftState shift, int x, int y) {
            QVERIFY(shift.buttons.testFlag(button));
            QCOMPARE(QPoint(x, y), m_env->desktop.cursor);
            m_log << QStringLiteral("down") + name(button);
        };
        m_tray->OnMouseUp = [this, name](QObject*, Qt::MouseButton button, TShiftState, int, int) {
            m_log << QStringLiteral("up") + name(button);
        };
        m_tray->OnMouseMove
            = [this](QObject*, TShiftState, int x, int y) { m_log << QStringLiteral("move %1,%2").arg(x).arg(y); };
        m_tray->OnMouseEnter = [this](QObject*) { m_log << QStringLiteral("enter"); };
        m_tray->OnMouseExit = [this](QObject*) { m_log << QStringLiteral("exit"); };
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_env->desktop.cursor = QPoint(1000, 760);
        m_owner = std::make_unique<QWidget>();
        m_tray = new TestableTrayIcon(m_owner.get());
        m_log.clear();
    }

    void cleanup()
    {
        m_owner.reset();
        m_env.reset();
    }

    void animationStartsAtTheFirstIconAndWrapsAround()
    {
        const QList<QIcon> icons = eightIcons();
        m_tray->setIconList(icons);
        m_tray->setCycleIcons(true);
        m_tray->setCycleInterval(400);
        m_tray->setIconIndex(5);
        QList<int> cycled;
        m_tray->OnCycle = [&](QObject* sender, int next) {
            QCOMPARE(sender, m_tray);
            cycled << next;
        };
        m_tray->Loaded();
        QCOMPARE(m_tray->IconIndex(), 0);
        QVERIFY(m_tray->AnimationTimer()->isRunning());
        QCOMPARE(m_tray->AnimationTimer()->Interval(), 400);

        QList<int> indexes;
        for (int i = 0; i < 10; ++i) {
            m_tray->AnimationTimer()->tick();
            indexes << m_tray->IconIndex();
            QCOMPARE(m_tray->Icon().cacheKey(), icons.at(m_tray->IconIndex()).cacheKey());
            QCOMPARE(m_tray->systemTrayIcon()->icon().cacheKey(), icons.at(m_tray->IconIndex()).cacheKey());
        }
        QCOMPARE(indexes, QList<int>({ 1, 2, 3, 4, 5, 6, 7, 0, 1, 2 }));
        // The reported next index is always one the list holds.
        QCOMPARE(cycled, indexes);

        m_tray->setCycleIcons(false);
        QVERIFY(!m_tray->AnimationTimer()->isRunning());
    }

    void animationNeedsAnIntervalAndAList_data()
    {
        QTest::addColumn<unsigned>("interval");
        QTest::addColumn<bool>("list");
        QTest::addColumn<bool>("running");
        QTest::newRow("400 ms") << 400u << true << true;
        QTest::newRow("0 ms does not animate") << 0u << true << false;
        QTest::newRow("no list: runs but shows nothing") << 400u << false << true;
    }

    void animationNeedsAnIntervalAndAList()
    {
        QFETCH(unsigned, interval);
        QFETCH(bool, list);
        QFETCH(bool, running);
        if (list)
            m_tray->setIconList(eightIcons());
        m_tray->setCycleInterval(interval);
        m_tray->setCycleIcons(true);
        m_tray->setIconIndex(3);
        m_tray->Loaded();
        QCOMPARE(m_tray->AnimationTimer()->isRunning(), running);
        QCOMPARE(m_tray->IconIndex(), 0);
        m_tray->AnimationTimer()->tick();
        QCOMPARE(m_tray->IconIndex(), list ? 1 : 0);
    }

    void iconIndexStaysInsideTheList()
    {
        m_tray->setIconIndex(4);
        QCOMPARE(m_tray->IconIndex(), 0);
        m_tray->setIconList(eightIcons());
        m_tray->setIconIndex(20);
        QCOMPARE(m_tray->IconIndex(), 7);
        m_tray->setIconIndex(-3);
        QCOMPARE(m_tray->IconIndex(), 0);
    }

    void hintIsCutTo127GbkBytes_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("showHint");
        QTest::addColumn<QString>("tip");
        const QString chinese(100, QChar(0x63D0)); // 200 bytes
        QTest::newRow("short") << QStringLiteral("Vantrel") << true << QStringLiteral("Vantrel");
        QTest::newRow("Chinese: 63 characters, 126 bytes") << chinese << true << chinese.left(63);
        QTest::newRow("odd start: 1 + 63 x 2 bytes")
            << QStringLiteral("a") + chinese << true << QStringLiteral("a") + chinese.left(63);
        QTest::newRow("ASCII") << QString(200, QLatin1Char('x')) << true << QString(127, QLatin1Char('x'));
        QTest::newRow("ShowHint off") << QStringLiteral("Vantrel") << false << QString();
        QTest::newRow("empty") << QString() << true << QString();
    }

    void hintIsCutTo127GbkBytes()
    {
        QFETCH(QString, hint);
        QFETCH(bool, showHint);
        QFETCH(QString, tip);
        m_tray->setHint(hint);
        m_tray->setShowHint(showHint);
        QCOMPARE(m_tray->tipText(), tip);
        QCOMPARE(m_tray->systemTrayIcon()->toolTip(), tip);
        QCOMPARE(m_tray->Hint(), hint);
    }

    void clickStateMachine_data()
    {
        QTest::addColumn<bool>("statusNotifier");
        QTest::addColumn<bool>("dblHandler");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("reports"); // T: left click, D: double click, W: the double-click wait ends
        QTest::addColumn<QString>("expected");
        // XEmbed: Qt reports the press as T and a second press as D.
        QTest::newRow("click, no double-click handler") << false << false << true << "T"
                                                        << "downL click upL";
        QTest::newRow("click waits for the double-click time") << false << true << true << "T"
                                                               << "downL upL";
        QTest::newRow("click after the wait") << false << true << true << "TW"
                                              << "downL upL click";
        QTest::newRow("double click drops the click") << false << true << true << "TDW"
                                                      << "downL upL dbl upL";
        QTest::newRow("two separate clicks") << false << true << true << "TWTW"
                                             << "downL upL click downL upL click";
        QTest::newRow("double without handler") << false << false << true << "TD"
                                                << "downL click upL upL";
        QTest::newRow("disabled") << false << true << false << "TDWRM"
                                  << "";
        QTest::newRow("right and middle") << false << false << true << "RM"
                                          << "downR upR downM upM";
        // A StatusNotifierItem host reports its primary activation as T, once per click.
        QTest::newRow("host activation opens at once") << true << true << true << "TW"
                                                       << "downL dbl upL";
        QTest::newRow("host activation twice") << true << true << true << "TT"
                                               << "downL dbl upL downL dbl upL";
        QTest::newRow("host activation, no double-click handler") << true << false << true << "T"
                                                                  << "downL click upL";
        QTest::newRow("host: context and secondary activation") << true << false << true << "RM"
                                                                << "downR upR downM upM";
        QTest::newRow("host, disabled") << true << true << false << "TRM"
                                        << "";
    }

    void clickStateMachine()
    {
        QFETCH(bool, statusNotifier);
        QFETCH(bool, dblHandler);
        QFETCH(bool, enabled);
        QFETCH(QString, reports);
        QFETCH(QString, expected);
        m_env->desktop.statusNotifier = statusNotifier;
        m_tray = new TestableTrayIcon(m_owner.get());
        QCOMPARE(m_tray->onStatusNotifierHost(), statusNotifier);
        logEvents();
        if (dblHandler)
            m_tray->OnDblClick = [this](QObject*) { m_log << QStringLiteral("dbl"); };
        m_tray->setEnabled(enabled);
        m_tray->Loaded();
        for (const QChar report : reports) {
            switch (report.toLatin1()) {
            case 'T':
                m_tray->trayActivated(QSystemTrayIcon::Trigger);
                if (dblHandler && enabled && !statusNotifier) {
                    QVERIFY(m_tray->DoubleClickWaitTimer()->isRunning());
                    QCOMPARE(m_tray->DoubleClickWaitTimer()->Interval(),
                             QGuiApplication::styleHints()->mouseDoubleClickInterval());
                }
                break;
            case 'D':
                m_tray->trayActivated(QSystemTrayIcon::DoubleClick);
                break;
            case 'W':
                m_tray->DoubleClickWaitTimer()->tick();
                break;
            case 'R':
                m_tray->trayActivated(QSystemTrayIcon::Context);
                break;
            case 'M':
                m_tray->trayActivated(QSystemTrayIcon::MiddleClick);
                break;
            }
        }
        QCOMPARE(m_log.join(QLatin1Char(' ')), expected);
    }

    void menuOpensOnTheRightButtonAtTheCursor()
    {
        QMenu menu;
        menu.addAction(QStringLiteral("打开Vantrel"));
        m_tray->setPopupMenu(&menu);
        m_tray->Loaded();
        m_env->desktop.cursor = QPoint(300, 200);
        m_tray->trayActivated(QSystemTrayIcon::Trigger);
        QVERIFY(!menu.isVisible());
        m_tray->trayActivated(QSystemTrayIcon::Context);
        QVERIFY(menu.isVisible());
        QCOMPARE(menu.pos(), QPoint(300, 200));
        menu.close();

        m_tray->setEnabled(false);
        m_tray->trayActivated(QSystemTrayIcon::Context);
        QVERIFY(!menu.isVisible());
    }

    void menuGoesToAStatusNotifierHostOnly_data()
    {
        QTest::addColumn<bool>("statusNotifier");
        QTest::newRow("XEmbed: the icon opens the menu itself") << false;
        QTest::newRow("StatusNotifierItem host: Qt exports the menu") << true;
    }

    void menuGoesToAStatusNotifierHostOnly()
    {
        QFETCH(bool, statusNotifier);
        m_env->desktop.statusNotifier = statusNotifier;
        m_tray = new TestableTrayIcon(m_owner.get());
        auto* menu = new QMenu;
        menu->addAction(QStringLiteral("打开Vantrel"));
        m_tray->setPopupMenu(menu);
        m_tray->setHint(QStringLiteral("Vantrel"));
        m_tray->setIconList(eightIcons());
        m_tray->setIconIndex(2);
        m_tray->setIconVisible(true);
        m_tray->Loaded();
        QCOMPARE(m_tray->systemTrayIcon()->contextMenu(), statusNotifier ? menu : nullptr);

        // A menu that goes away is forgotten; the host must not be left with it.
        const QSystemTrayIcon* before = m_tray->systemTrayIcon();
        delete menu;
        QCOMPARE(m_tray->PopupMenu(), nullptr);
        QSystemTrayIcon* after = m_tray->systemTrayIcon();
        QCOMPARE(after->contextMenu(), nullptr);
        QCOMPARE(after == before, !statusNotifier);
        QCOMPARE(after->toolTip(), QStringLiteral("Vantrel"));
        QCOMPARE(after->icon().cacheKey(), m_tray->Icon().cacheKey());
        QTRY_VERIFY(after->isVisible());
        m_tray->trayActivated(QSystemTrayIcon::Trigger); // still answers
    }

    void doubleClickRunsTheMenusDefaultItem()
    {
        QMenu menu;
        menu.addAction(QStringLiteral("a"));
        QAction* byDefault = menu.addAction(QStringLiteral("b"));
        menu.setDefaultAction(byDefault);
        int triggered = 0;
        connect(byDefault, &QAction::triggered, this, [&] { ++triggered; });
        m_tray->setPopupMenu(&menu);
        m_tray->Loaded();
        m_tray->trayActivated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(triggered, 1);
        m_tray->setLeftPopup(true);
        m_tray->trayActivated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(triggered, 1);
        menu.close();
    }

    void startupDecidesWhetherTheMainWindowShows_data()
    {
        QTest::addColumn<int>("answer"); // -1: no handler
        QTest::addColumn<bool>("showMainForm");
        QTest::newRow("no handler") << -1 << true;
        QTest::newRow("show") << 1 << true;
        QTest::newRow("keep hidden") << 0 << false;
    }

    void startupDecidesWhetherTheMainWindowShows()
    {
        QFETCH(int, answer);
        QFETCH(bool, showMainForm);
        int raised = 0;
        if (answer >= 0) {
            m_tray->OnStartup = [&](QObject* sender, bool& show) {
                QCOMPARE(sender, m_tray);
                QVERIFY(show);
                ++raised;
                show = answer == 1;
            };
        }
        m_tray->setIconVisible(true);
        QCOMPARE(m_tray->adds, 0); // nothing reaches the notification area before loading ends
        m_tray->Loaded();
        QCOMPARE(raised, answer >= 0 ? 1 : 0);
        QCOMPARE(m_tray->ShowMainForm(), showMainForm);
        QCOMPARE(m_tray->adds, 1); // the icon shows either way
        QVERIFY(!m_owner->isVisible());
    }

    void restoreAndMinimizeToTray()
    {
        int minimized = 0;
        m_tray->OnMinimizeToTray = [&](QObject*) { ++minimized; };
        m_tray->setMinimizeToTray(true);
        m_tray->Loaded();
        m_owner->show();
        m_owner->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!m_owner->isVisible());
        QCOMPARE(minimized, 1);
        QCOMPARE(m_tray->adds, 1);
        QVERIFY(m_tray->IconVisible());

        m_tray->RestoreMainWindow();
        QVERIFY(m_owner->isVisible());
        QVERIFY(!(m_owner->windowState() & Qt::WindowMinimized));

        m_tray->setMinimizeToTray(false);
        m_owner->setWindowState(Qt::WindowMinimized);
        QTest::qWait(10);
        QVERIFY(m_owner->isVisible());
        QCOMPARE(minimized, 1);
    }

    void iconComesBackWithANewNotificationArea_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("areas"); // who runs the notification area at each look; "-": nobody
        QTest::addColumn<QList<int>>("adds"); // additions after each look
        QTest::newRow("panel restarted") << true << "--aaa" << QList<int>{ 0, 0, 0, 1, 1 };
        QTest::newRow("hidden icon stays out") << false << "--aa" << QList<int>{ 0, 0, 0, 0 };
        // A watcher started anew between two looks knows no icon either.
        QTest::newRow("new watcher at once") << true << "bbb" << QList<int>{ 0, 1, 1 };
        QTest::newRow("a glimpse of nobody") << true << "-aa" << QList<int>{ 0, 0, 0 };
        QTest::newRow("first seen late") << true << "---bb" << QList<int>{ 0, 0, 0, 0, 1 };
    }

    void iconComesBackWithANewNotificationArea()
    {
        QFETCH(bool, visible);
        QFETCH(QString, areas);
        QFETCH(QList<int>, adds);
        m_env->desktop.trayArea = QStringLiteral("a");
        m_tray->setIconVisible(visible);
        m_tray->Loaded();
        QVERIFY(m_tray->TrayWatchTimer()->isRunning());
        const int before = m_tray->adds;
        QList<int> seen;
        for (const QChar area : areas) {
            m_env->desktop.trayArea = area == u'-' ? QString() : QString(area);
            m_tray->TrayWatchTimer()->tick();
            seen << m_tray->adds - before;
        }
        QCOMPARE(seen, adds);
    }

    void enterMoveAndExitFromTheCursor()
    {
        logEvents();
        m_tray->setWantEnterExitEvents(true);
        m_tray->Loaded();
        QVERIFY(m_tray->LeaveTimer()->isRunning());
        QCOMPARE(m_tray->LeaveTimer()->Interval(), 20);
        m_tray->mouseMovedOverIcon(QPoint(10, 10));
        m_tray->mouseMovedOverIcon(QPoint(11, 10));
        m_env->desktop.cursor = QPoint(500, 500); // away from the icon
        m_tray->LeaveTimer()->tick();
        m_tray->LeaveTimer()->tick();
        QCOMPARE(m_log.join(QLatin1Char(' ')), QStringLiteral("enter move 10,10 move 11,10 exit"));

        m_log.clear();
        m_tray->setEnabled(false);
        m_tray->mouseMovedOverIcon(QPoint(10, 10));
        QVERIFY(m_log.isEmpty());
    }

    void lightTimer()
    {
        TLightTimer timer;
        QCOMPARE(timer.Interval(), 1000);
        int ticks = 0;
        timer.setHandler([&] { ++ticks; });
        timer.setInterval(0);
        QVERIFY(!timer.Start());
        QVERIFY(!timer.Enabled());
        timer.setInterval(50);
        QVERIFY(timer.Start());
        QVERIFY(timer.Enabled() && timer.isRunning());
        timer.setInterval(0); // stops, stays marked enabled
        QVERIFY(!timer.isRunning());
        QVERIFY(timer.Enabled());
        timer.setInterval(50);
        QVERIFY(timer.Start());
        timer.setHandler(nullptr);
        QVERIFY(!timer.isRunning());

        timer.setHandler([&] { ++ticks; });
        timer.setAutoDisable(true);
        timer.Start();
        timer.tick();
        QCOMPARE(ticks, 1);
        QVERIFY(!timer.isRunning());
        QVERIFY(!timer.Enabled());

        // A once-a-second look rides the shared beat, and keeps the timer's own rules.
        TLightTimer watch;
        int looks = 0;
        watch.setHandler([&] { ++looks; });
        watch.setOnSecondBeat(true);
        QVERIFY(watch.Start());
        QVERIFY(watch.isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(looks >= 2, 5000);
        watch.setInterval(0);
        QVERIFY(!watch.isRunning());
        QVERIFY(watch.Enabled());
        watch.setInterval(1000);
        QVERIFY(watch.Start());
        watch.Stop();
        QVERIFY(!watch.isRunning());
        QVERIFY(!watch.Enabled());
    }
};

QTEST_MAIN(TestTrayIcon)
#include "TestTrayIcon.moc"
