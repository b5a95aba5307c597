#include "Forms.h"
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
        m_main = std::make_unique<TFrmMain>();
        m_clock = std::make_unique<Tfrmclock>();
        Forms::FrmMain = m_main.get();
        Forms::frmclock = m_clock.get();
    }
    void cleanup()
    {
        Forms::FrmMain = nullptr;
        Forms::frmclock = nullptr;
        Forms::FrmShutdown = nullptr;
        m_clock.reset();
        m_main.reset();
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
        TFrmShutdown shutdown;
        Forms::FrmShutdown = &shutdown;
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
    std::unique_ptr<TFrmMain> m_main;
    std::unique_ptr<Tfrmclock> m_clock;
};

QTEST_MAIN(TestClockWiring)
#include "TestClockWiring.moc"
