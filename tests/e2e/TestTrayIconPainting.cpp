#include "NotificationAreas.h"
#include "ProgramUnderTest.h"
#include "RealInput.h"
#include "fakes/TestEnvironment.h"
#include "platform/Services.h"
#include "platform/linux/LinuxDesktop.h"
#include "widgets/TLightTimer.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace {
constexpr int kFrames = 8;

QColor frameColour(int index)
{
    return QColor(QColor::fromHsv(index * 40, 255, 255).rgb()); // as the screen reads back
}

/// Even frames fill all 16 x 16 pixels; odd ones only a 6 x 6 square in the middle and are transparent around it,
/// so a frame left behind by the one before shows around an odd one.
QList<QIcon> frames()
{
    QList<QIcon> icons;
    for (int i = 0; i < kFrames; ++i) {
        QPixmap picture(16, 16);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.fillRect(i % 2 == 0 ? QRect(0, 0, 16, 16) : QRect(5, 5, 6, 6), frameColour(i));
        painter.end();
        icons << QIcon(picture);
    }
    return icons;
}

QWidget* dockedWidget()
{
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->objectName() == QLatin1String("QSystemTrayIconSys") && window->internalWinId())
            return window;
    }
    return nullptr;
}

/// What the screen shows of the docked icon, read back from the X server.
struct Look
{
    QColor middle; ///< inside every frame
    QColor nearCorner; ///< inside the even frames only
    QColor outside; ///< beyond the 16 x 16 icon: the notification area's own background
};

Look look(const QRect& icon)
{
    const QImage shot
        = QGuiApplication::primaryScreen()->grabWindow(0, icon.x(), icon.y(), icon.width(), icon.height()).toImage();
    const QPoint centre(icon.width() / 2, icon.height() / 2);
    return { shot.pixelColor(centre), shot.pixelColor(centre - QPoint(6, 6)), shot.pixelColor(0, 0) };
}
} // namespace

/// The animated icon in a real XEmbed notification area (trayer on the test's X server), where the program paints
/// the docked window itself: what the screen shows must be the icon of each step and nothing left of the one before,
/// also after the icon was covered and uncovered.
class TestTrayIconPainting : public QObject
{
    Q_OBJECT

private slots:
    void everyStepShowsItsOwnFrameAlsoAfterAnExposure()
    {
        NotificationAreas areas;
        QVERIFY(areas.startTrayer());
        TestEnvironment env;
        LinuxDesktop desktop;
        Services::setDesktop(&desktop);

        QWidget owner;
        auto* tray = new TTrayIcon(&owner);
        tray->setIconList(frames());
        tray->setIcon(tray->IconList().constFirst());
        tray->setCycleIcons(true);
        tray->setCycleInterval(3600 * 1000); // the test steps the animation itself
        tray->setIconVisible(true);
        tray->Loaded();

        QWidget* docked = nullptr;
        QRect icon;
        QVERIFY2(ProgramUnderTest::waitFor(
                     [&] {
                         docked = dockedWidget();
                         if (!docked)
                             return false;
                         icon = RealInput::windowRect(QStringLiteral("0x%1").arg(docked->internalWinId(), 0, 16));
                         // Docked: trayer has moved it into its panel at the top of the screen.
                         return icon.isValid() && icon.y() < 30 && icon.width() >= 16 && icon.height() >= 16;
                     },
                     20000),
                 "the icon was not docked");
        tray->TrayWatchTimer()->tick(); // the once-a-second look takes painting over where it is not yet
        QVERIFY2(!docked->updatesEnabled(), "the program does not paint the docked icon itself");

        const QColor background = look(icon).outside;
        for (int step = 0; step <= kFrames; ++step) {
            const int index = tray->IconIndex();
            const bool whole = index % 2 == 0;
            Look seen;
            const bool shown = ProgramUnderTest::waitFor(
                [&] {
                    seen = look(icon);
                    return seen.middle == frameColour(index)
                        && seen.nearCorner == (whole ? frameColour(index) : background);
                },
                3000);
            QVERIFY2(shown,
                     qPrintable(QStringLiteral("frame %1: middle %2, near the corner %3, background %4")
                                    .arg(index)
                                    .arg(seen.middle.name(), seen.nearCorner.name(), background.name())));
            QCOMPARE(seen.outside, background);
            tray->AnimationTimer()->tick();
        }

        // Covered by a window and uncovered: the X server clears the icon, and it must be painted again.
        QWidget cover(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
        cover.setAutoFillBackground(true);
        cover.setPalette(QPalette(Qt::black));
        cover.setGeometry(icon.adjusted(-4, -4, 4, 4));
        cover.show();
        QVERIFY(ProgramUnderTest::waitFor([&] { return look(icon).middle == QColor(Qt::black); }, 5000));
        cover.hide();
        const int index = tray->IconIndex();
        QVERIFY2(ProgramUnderTest::waitFor([&] { return look(icon).middle == frameColour(index); }, 5000),
                 "the icon was not painted again after it was uncovered");

        delete tray;
        Services::setDesktop(&env.desktop);
    }
};

QTEST_MAIN(TestTrayIconPainting)
#include "TestTrayIconPainting.moc"
