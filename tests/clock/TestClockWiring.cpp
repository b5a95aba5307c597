#include "ProgramWindows.h"
#include "TFrmMain.h"
#include "clock/Tfrmclock.h"
#include "fakes/TestEnvironment.h"
#include "shutdown/TFrmShutdown.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

/// How the main window and the desktop clock reach each other: the tray item, hiding the main window, the clock's
/// own menu; and the navigation button of the shutdown window.
class TestClockWiring : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_windows = std::make_unique<ProgramWindows>();
        m_main = &m_windows->window<TFrmMain>();
        m_clock = &m_windows->window<Tfrmclock>();
    }
    void cleanup()
    {
        m_windows.reset();
        m_env.reset();
    }

    void trayItemToggles()
    {
        QCOMPARE(m_main->N11->text(), QStringLiteral("打开电子钟"));
        m_main->N11->trigger();
        QVERIFY(m_clock->isVisible());
        QCOMPARE(m_main->N11->text(), QStringLiteral("关闭电子钟"));
        m_main->N11->trigger();
        QVERIFY(!m_clock->isVisible());
        QCOMPARE(m_main->N11->text(), QStringLiteral("打开电子钟"));
    }

    void clockClosedFromItsOwnMenuLeavesTheItemStale()
    {
        m_main->N11->trigger();
        m_clock->N1->trigger();
        QVERIFY(!m_clock->isVisible());
        QCOMPARE(m_main->N11->text(), QStringLiteral("关闭电子钟"));
        // The next click only closes the closed clock and puts the caption right; the one after opens it.
        m_main->N11->trigger();
        QVERIFY(!m_clock->isVisible());
        QCOMPARE(m_main->N11->text(), QStringLiteral("打开电子钟"));
        m_main->N11->trigger();
        QVERIFY(m_clock->isVisible());
    }

    void hidingTheMainWindowShowsTheClock_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close box") << QStringLiteral("close");
        QTest::newRow("隐藏Vantrel") << QStringLiteral("button");
    }
    void hidingTheMainWindowShowsTheClock()
    {
        QFETCH(QString, how);
        m_main->show();
        QVERIFY(!m_clock->isVisible());
        if (how == QStringLiteral("close"))
            m_main->close();
        else
            m_main->BtnHide->click();
        QVERIFY(!m_main->isVisible());
        QVERIFY(m_clock->isVisible());
        QCOMPARE(m_main->N11->text(), QStringLiteral("关闭电子钟"));

        m_clock->N2->trigger(); // "显示主窗口"
        QVERIFY(m_main->isVisible());
        QVERIFY(m_clock->isVisible());
    }

    void shutdownButtonOpensTheWindowModally()
    {
        TFrmShutdown& shutdown = m_windows->window<TFrmShutdown>();
        QWidget* modal = nullptr;
        QTimer::singleShot(0, this, [&] {
            modal = QApplication::activeModalWidget();
            shutdown.Button4->click();
        });
        m_main->BtnShutdown->click();
        QCOMPARE(modal, &shutdown);
        QVERIFY(!shutdown.isVisible());
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ProgramWindows> m_windows;
    TFrmMain* m_main = nullptr;
    Tfrmclock* m_clock = nullptr;
};

QTEST_MAIN(TestClockWiring)
#include "TestClockWiring.moc"
