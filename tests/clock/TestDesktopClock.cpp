#include "clock/ClockFace.h"
#include "clock/Tfrmclock.h"
#include "fakes/TestEnvironment.h"

#include <QAction>
#include <QTest>
#include <QTimer>

namespace {
/// Counts the events of one type that reach the watched object.
class EventCounter : public QObject
{
public:
    EventCounter(QEvent::Type type, int& count)
        : m_type(type)
        , m_count(count)
    { }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == m_type)
            ++m_count;
        return false;
    }

private:
    QEvent::Type m_type;
    int& m_count;
};
} // namespace

class TestDesktopClock : public QObject
{
    Q_OBJECT
private slots:
    void roundsHalvesToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("56.5") << 56.5 << 56;
        QTest::newRow("57.5") << 57.5 << 58;
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("-1.5") << -1.5 << -2;
        QTest::newRow("just under a half") << 2.4999 << 2;
        QTest::newRow("just over a half") << 2.5001 << 3;
    }
    void roundsHalvesToEven()
    {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(ClockFace::roundHalfEven(value), rounded);
    }

    void hourDots_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<QString>("numeral");
        QTest::addColumn<QPoint>("numeralAt");
        const QList<QPoint> dots{ { 57, 7 },   { 82, 14 },  { 100, 32 }, { 107, 57 }, { 100, 82 },
                                  { 82, 100 }, { 57, 107 }, { 32, 100 }, { 14, 82 },  { 7, 57 },
                                  { 14, 32 },  { 32, 14 },  { 57, 7 } };
        for (int k = 0; k <= 12; ++k) {
            QString text;
            QPoint at;
            switch (k) {
            case 3:
                text = QStringLiteral("3");
                at = QPoint(97, 52);
                break;
            case 6:
                text = QStringLiteral("6");
                at = QPoint(52, 87);
                break;
            case 9:
                text = QStringLiteral("9");
                at = QPoint(12, 52);
                break;
            case 12:
                text = QStringLiteral("12");
                at = QPoint(50, 12);
                break;
            default:
                break;
            }
            QTest::addRow("k=%d", k) << k << dots.at(k) << text << at;
        }
    }
    void hourDots()
    {
        QFETCH(int, k);
        QFETCH(QPoint, centre);
        QFETCH(QString, numeral);
        QFETCH(QPoint, numeralAt);
        const QPoint c = ClockFace::centre();
        QCOMPARE(c, QPoint(57, 57));
        QCOMPARE(ClockFace::dotCentre(c, k), centre);
        const ClockFace::Numeral n = ClockFace::numeral(c, k);
        QCOMPARE(n.text, numeral);
        if (!numeral.isEmpty())
            QCOMPARE(n.topLeft, numeralAt);
    }

    void hands_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QList<QPoint>>("points"); // tip and tail of second, minute, hour
        QTest::newRow("3:00:00, hour right, minute and second up")
            << QTime(3, 0) << QList<QPoint>{ { 57, 7 }, { 57, 62 }, { 57, 17 }, { 57, 61 }, { 87, 57 }, { 55, 57 } };
        QTest::newRow("15:30, hour half-way between 3 and 4")
            << QTime(15, 30) << QList<QPoint>{ { 57, 7 }, { 57, 62 }, { 57, 97 }, { 57, 53 }, { 86, 65 }, { 55, 56 } };
        QTest::newRow("15:30:59, the hour hand ignores seconds")
            << QTime(15, 30, 59)
            << QList<QPoint>{ { 52, 7 }, { 58, 62 }, { 57, 97 }, { 57, 53 }, { 86, 65 }, { 55, 56 } };
    }
    void hands()
    {
        QFETCH(QTime, time);
        QFETCH(QList<QPoint>, points);
        const QList<ClockFace::Hand> hands = ClockFace::hands(ClockFace::centre(), time);
        QCOMPARE(hands.size(), 3);
        QList<QPoint> actual;
        for (const ClockFace::Hand& hand : hands)
            actual << hand.tip << hand.tail;
        QCOMPARE(actual, points);
        // Drawn second, minute, hour, so the hour hand lies on top.
        QCOMPARE(hands.at(0).colour, QColor(255, 0, 0));
        QCOMPARE(hands.at(0).width, 2);
        QCOMPARE(hands.at(1).colour, QColor(0, 128, 0));
        QCOMPARE(hands.at(1).width, 3);
        QCOMPARE(hands.at(2).colour, QColor(0, 0, 255));
        QCOMPARE(hands.at(2).width, 4);
    }

    void windowIsRoundWithoutBorderOrTaskbarEntry()
    {
        TestEnvironment env;
        QWidget mainWindow;
        Tfrmclock clock(mainWindow);
        QCOMPARE(clock.size(), QSize(115, 115));
        QCOMPARE(clock.mask(), QRegion(QRect(4, 4, 107, 107), QRegion::Ellipse));
        QVERIFY(clock.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(clock.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!(clock.windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(clock.Timer1->interval(), 1000);
        QCOMPARE(clock.N1->text(), QStringLiteral("隐藏电子钟"));
        QCOMPARE(clock.N2->text(), QStringLiteral("显示主窗口"));
        // Painting goes through the whole face without a screen of its own.
        QImage image(clock.size(), QImage::Format_ARGB32);
        clock.render(&image);
    }

    // The face is redrawn every second while it is on screen, and not at all while it is hidden; shown again, it
    // shows the time of that moment at once and goes on with the seconds.
    void faceFollowsTheSecondsOnlyWhileShown()
    {
        TestEnvironment env;
        env.clock.set(QDateTime(QDate(2026, 12, 10), QTime(8, 0)));
        QWidget mainWindow;
        Tfrmclock clock(mainWindow);
        QVERIFY(!clock.Timer1->isActive());

        int paints = 0;
        EventCounter counter(QEvent::Paint, paints);
        clock.installEventFilter(&counter);
        clock.show();
        QVERIFY(QTest::qWaitForWindowExposed(&clock));
        QVERIFY(clock.Timer1->isActive());
        int before = paints;
        QTRY_VERIFY_WITH_TIMEOUT(paints > before + 1, 5000); // the ticks redraw it

        clock.N1->trigger(); // "隐藏电子钟"
        QVERIFY(!clock.isVisible());
        QVERIFY(!clock.Timer1->isActive());

        // Hidden while the time moved on to 3:00:00: the hour hand points right, the minute hand straight up.
        env.clock.set(QDateTime(QDate(2026, 12, 10), QTime(3, 0)));
        before = paints;
        clock.show();
        QVERIFY(clock.Timer1->isActive());
        QTRY_VERIFY(paints > before);
        const QImage face = clock.grab().toImage();
        QCOMPARE(face.pixelColor(75, 57), QColor(0, 0, 255));
        QCOMPARE(face.pixelColor(57, 30), QColor(0, 128, 0));
        before = paints;
        QTRY_VERIFY_WITH_TIMEOUT(paints > before + 1, 5000);

        clock.hide();
        QVERIFY(!clock.Timer1->isActive());
    }

    void faceFollowsASkinChange()
    {
        // The face without its hands is drawn once and kept: a new skin must still reach it.
        TestEnvironment env;
        env.clock.set(QDateTime(QDate(2026, 12, 10), QTime(8, 0)));
        QWidget mainWindow;
        Tfrmclock clock(mainWindow);
        clock.show();
        QVERIFY(QTest::qWaitForWindowExposed(&clock));
        const QColor magenta(255, 0, 255);
        auto magentaPixels = [&] {
            const QImage face = clock.grab().toImage();
            int count = 0;
            for (int y = 0; y < face.height(); ++y) {
                for (int x = 0; x < face.width(); ++x)
                    count += face.pixelColor(x, y) == magenta;
            }
            return count;
        };
        QCOMPARE(magentaPixels(), 0);
        QPalette palette = clock.palette();
        palette.setColor(QPalette::Window, magenta);
        clock.setPalette(palette);
        QVERIFY2(magentaPixels() > 1000, "the background between the hatching shows the new colour");
        env.clock.set(QDateTime(QDate(2026, 12, 10), QTime(3, 0)));
        QCOMPARE(clock.grab().toImage().pixelColor(75, 57), QColor(0, 0, 255)); // the hands still move over it
    }

    void placementAndClicks()
    {
        TestEnvironment env;
        env.desktop.screen = QRect(0, 0, 1280, 1024);
        QWidget mainWindow;
        Tfrmclock clock(mainWindow);
        const QPoint corner(1280 - 115, 0);
        QCOMPARE(clock.pos(), corner);

        clock.show();
        QVERIFY(QTest::qWaitForWindowExposed(&clock));
        QCOMPARE(clock.pos(), corner);

        env.desktop.cursor = QPoint(300, 200);
        QTest::mouseRelease(&clock, Qt::RightButton, {}, QPoint(50, 50));
        QCOMPARE(clock.pos(), corner);
        QTest::mouseRelease(&clock, Qt::LeftButton, {}, QPoint(50, 50));
        QTRY_COMPARE(clock.pos(), QPoint(250, 150));

        // Activation and every new show bring it back to the corner.
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&clock, &activate);
        QTRY_COMPARE(clock.pos(), corner);
        QTest::mouseRelease(&clock, Qt::LeftButton, {}, QPoint(50, 50));
        QTRY_COMPARE(clock.pos(), QPoint(250, 150));
        clock.N1->trigger();
        QVERIFY(!clock.isVisible());
        clock.show();
        QTRY_COMPARE(clock.pos(), corner);
    }
};

QTEST_MAIN(TestDesktopClock)
#include "TestDesktopClock.moc"
