#include "ProgramWindows.h"
#include "TFrmMain.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>

/// Where the windows come up: those that are "centred on the screen" have their centre on the screen's centre,
/// whichever window was active when they were shown.
class TestWindowPlacement : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void centredOnTheScreen_data();
    void centredOnTheScreen();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ProgramWindows> m_windows;
};

void TestWindowPlacement::initTestCase()
{
    m_env = std::make_unique<TestEnvironment>();
    m_windows = std::make_unique<ProgramWindows>();
}

void TestWindowPlacement::cleanupTestCase()
{
    m_windows.reset();
    m_env.reset();
}

void TestWindowPlacement::centredOnTheScreen_data()
{
    QTest::addColumn<QString>("window");
    for (const char* name :
         { "FrmSystemset", "frmaddcontent", "Frmabout", "FrmUpdate", "FrmAlarm", "FrmAlarminf", "FrmEdit", "FrmCard",
           "frmaddcard", "frmeditcard", "frmsetclass", "frmaddclass", "frmeditclass", "FrmCalendar", "FrmShutdown" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestWindowPlacement::centredOnTheScreen()
{
    QFETCH(QString, window);
    QDialog* dialog = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName().compare(window, Qt::CaseInsensitive) == 0)
            dialog = qobject_cast<QDialog*>(top);
    }
    QVERIFY2(dialog, "no such window");

    // The main window, off the screen's centre, is the active one, as when a button of its bar opened the window.
    QWidget* main = &m_windows->window<TFrmMain>();
    main->move(10, 10);
    main->show();
    main->activateWindow();
    dialog->show();
    const QRect screen = dialog->screen()->geometry();
    const QRect frame = dialog->frameGeometry();
    dialog->hide();
    main->hide();
    // Whole pixels: a window of odd size is half a pixel off at most.
    const double dx = frame.x() + frame.width() / 2.0 - (screen.x() + screen.width() / 2.0);
    const double dy = frame.y() + frame.height() / 2.0 - (screen.y() + screen.height() / 2.0);
    QVERIFY2(std::abs(dx) <= 0.5 && std::abs(dy) <= 0.5,
             qPrintable(QStringLiteral("%1 × %2 at (%3, %4) on a %5 × %6 screen")
                            .arg(frame.width())
                            .arg(frame.height())
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(screen.width())
                            .arg(screen.height())));
}

QTEST_MAIN(TestWindowPlacement)
#include "TestWindowPlacement.moc"
