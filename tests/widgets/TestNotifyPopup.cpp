#include "fakes/TestEnvironment.h"
#include "widgets/TNotifyPopup.h"
#include "widgets/TfrmNotifyPopup.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {
const QRect kScreen(0, 0, 1024, 768);

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void release(QWidget* widget, Qt::MouseButton button)
{
    const QPointF pos(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent event(QEvent::MouseButtonRelease, pos, widget->mapToGlobal(pos), button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
} // namespace

/// Placement, stacking, animation, painting and clicks of the notification pop-ups, against a fake desktop.
class TestNotifyPopup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TNotifyPopup> m_popup;

    TfrmNotifyPopup* show(const QString& text = QStringLiteral("text"))
    {
        m_popup->setText(text);
        if (!m_popup->ShowNotification())
            return nullptr;
        return m_popup->popups().constLast();
    }

    /// Runs the slide-in to its end and returns the extents it went through (width or height).
    static QList<int> slideIn(TfrmNotifyPopup* window, bool horizontal)
    {
        QList<int> extents;
        auto extent = [&] { return horizontal ? window->placedGeometry().width() : window->placedGeometry().height(); };
        extents << extent();
        for (int guard = 0; window->tmrScroll->isActive() && guard < 1000; ++guard) {
            window->tmrScrollTimer();
            extents << extent();
        }
        return extents;
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_popup = std::make_unique<TNotifyPopup>();
        TNotifyPopup::applyProgramSettings(m_popup.get());
        m_popup->setTitle(QStringLiteral("提醒"));
    }

    void cleanup()
    {
        m_popup.reset();
        flushDeletes();
        m_env.reset();
    }

    void defaultsOfANewComponent()
    {
        TNotifyPopup fresh;
        QCOMPARE(fresh.Text(), QStringLiteral("text"));
        QCOMPARE(fresh.Title(), QStringLiteral("title"));
        QCOMPARE(fresh.TimeOut(), 10);
        QCOMPARE(fresh.Width(), 148);
        QCOMPARE(fresh.Height(), 121);
        QCOMPARE(fresh.GradientColor1(), QColor(153, 204, 255));
        QCOMPARE(fresh.Options(), npAutoOpenURL | npCascadePopups | npAllowScroll | npAllowHyperlink);
        QCOMPARE(fresh.ScrollSpeed(), 9);
        fresh.setScrollSpeed(0);
        QCOMPARE(fresh.ScrollSpeed(), 1);
        fresh.setScrollSpeed(99);
        QCOMPARE(fresh.ScrollSpeed(), 50);
        QVERIFY(fresh.HoverFont().font.underline());
        QCOMPARE(fresh.HoverFont().color, QColor(0, 0, 255));
        QVERIFY(fresh.TitleFont().font.bold());
    }

    void taskbarEdge_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<int>("edge");
        QTest::newRow("bottom") << kScreen << QRect(0, 0, 1024, 738) << int(teBottom);
        QTest::newRow("top") << kScreen << QRect(0, 30, 1024, 738) << int(teTop);
        QTest::newRow("left") << kScreen << QRect(30, 0, 994, 768) << int(teLeft);
        QTest::newRow("right") << kScreen << QRect(0, 0, 994, 768) << int(teRight);
        QTest::newRow("top bar and bigger dock at the left") << kScreen << QRect(60, 27, 964, 741) << int(teLeft);
        QTest::newRow("no panel") << kScreen << kScreen << int(teUnknown);
        QTest::newRow("no screen") << QRect() << QRect() << int(teUnknown);
    }

    void taskbarEdge()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, available);
        QFETCH(int, edge);
        QCOMPARE(TNotifyPopup::detectTaskbarEdge(screen, available), edge);
    }

    void placementAndStackingPerEdge_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("first");
        QTest::addColumn<QPoint>("second");
        // 180 x 150, 16 pixels from the side, 2 from the taskbar, 2 between stacked ones.
        QTest::newRow("bottom") << QRect(0, 0, 1024, 738) << QPoint(828, 586) << QPoint(828, 434);
        QTest::newRow("top") << QRect(0, 30, 1024, 738) << QPoint(828, 32) << QPoint(828, 184);
        QTest::newRow("left") << QRect(30, 0, 994, 768) << QPoint(46, 616) << QPoint(46, 464);
        QTest::newRow("right") << QRect(0, 0, 994, 768) << QPoint(798, 616) << QPoint(798, 464);
        QTest::newRow("unknown is bottom") << kScreen << QPoint(828, 616) << QPoint(828, 464);
    }

    void placementAndStackingPerEdge()
    {
        QFETCH(QRect, available);
        QFETCH(QPoint, first);
        QFETCH(QPoint, second);
        m_env->desktop.available = available;
        TfrmNotifyPopup* a = show();
        TfrmNotifyPopup* b = show();
        QVERIFY(a && b);
        QCOMPARE(a->fullGeometry(), QRect(first, QSize(180, 150)));
        QCOMPARE(b->fullGeometry(), QRect(second, QSize(180, 150)));
        QCOMPARE(b->StackOffset(), 152);
    }

    void stacksUntilTheWorkAreaIsFullThenStartsOver()
    {
        QList<int> tops;
        QList<TfrmNotifyPopup*> windows;
        for (int i = 0; i < 4; ++i) {
            windows << show();
            QVERIFY(windows.constLast());
            tops << windows.constLast()->fullGeometry().top();
        }
        QCOMPARE(tops, QList<int>({ 586, 434, 282, 130 }));
        const int offset = m_popup->CascadeOffset();
        QVERIFY(!m_popup->ShowNotification());
        QCOMPARE(m_popup->OpenCount(), 4);
        QCOMPARE(m_popup->CascadeOffset(), offset);
        QCOMPARE(m_popup->popups().size(), 4);

        for (TfrmNotifyPopup* window : windows)
            window->close();
        flushDeletes();
        QCOMPARE(m_popup->OpenCount(), 0);
        QVERIFY(m_popup->popups().isEmpty());
        TfrmNotifyPopup* again = show();
        QVERIFY(again);
        QCOMPARE(again->fullGeometry().top(), 586);
    }

    void aClosedLowerPopupLeavesItsPlaceEmpty()
    {
        TfrmNotifyPopup* lowest = show();
        show();
        show();
        lowest->close();
        QCOMPARE(m_popup->OpenCount(), 2);
        QCOMPARE(show()->fullGeometry().top(), 130);
    }

    void aMovedTaskbarStartsANewStack()
    {
        show();
        show();
        m_env->desktop.available = QRect(0, 30, 1024, 738);
        TfrmNotifyPopup* moved = show();
        QCOMPARE(moved->fullGeometry().topLeft(), QPoint(828, 32));
        QCOMPARE(m_popup->OpenCount(), 1);
        QCOMPARE(m_popup->LastEdge(), int(teTop));
    }

    void withoutCascadingEveryPopupTakesTheFirstPlace()
    {
        m_popup->setOptions(npAllowScroll);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(show()->fullGeometry().topLeft(), QPoint(828, 586));
    }

    void stackedPopupsStayInsideAWorkAreaBelowATopPanel()
    {
        // A top bar of 100 pixels and the taskbar at the bottom: the third pop-up would reach under the top bar.
        m_env->desktop.available = QRect(0, 100, 1024, 560);
        for (int i = 0; i < 3; ++i)
            QVERIFY(show());
        QVERIFY(!m_popup->ShowNotification()); // its top would be 52
        for (TfrmNotifyPopup* window : m_popup->popups())
            QVERIFY(window->fullGeometry().top() >= 100);
    }

    void slideInSteps_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<bool>("horizontal");
        QTest::newRow("left") << QRect(30, 0, 994, 768) << true;
        QTest::newRow("top") << QRect(0, 30, 1024, 738) << false;
        QTest::newRow("right") << QRect(0, 0, 994, 768) << true;
        QTest::newRow("bottom") << QRect(0, 0, 1024, 738) << false;
    }

    void slideInSteps()
    {
        QFETCH(QRect, available);
        QFETCH(bool, horizontal);
        m_env->desktop.available = available;
        TfrmNotifyPopup* window = show();
        QVERIFY(window->tmrScroll->isActive());
        QCOMPARE(window->tmrScroll->interval(), 25);
        QVERIFY(!window->tmrExit->isActive());
        const QRect full = window->fullGeometry();

        const QList<int> extents = slideIn(window, horizontal);
        QList<int> expected;
        for (int extent = 1; extent < (horizontal ? 180 : 150); extent += 9)
            expected << extent;
        expected << (horizontal ? 180 : 150);
        QCOMPARE(extents, expected);
        if (horizontal)
            QCOMPARE(extents.size(), 21); // 1 and then 20 steps: 10, 19, ..., 172, 180
        QCOMPARE(window->placedGeometry(), full);
        QVERIFY(!window->tmrScroll->isActive());
        QVERIFY(window->tmrExit->isActive());
        QCOMPARE(window->tmrExit->interval(), 10000);
    }

    void slideOutClosesAndFrees_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::newRow("left") << QRect(30, 0, 994, 768);
        QTest::newRow("bottom") << QRect(0, 0, 1024, 738);
    }

    void slideOutClosesAndFrees()
    {
        QFETCH(QRect, available);
        m_env->desktop.available = available;
        QPointer<TfrmNotifyPopup> window = show();
        slideIn(window, true);
        const QRect full = window->placedGeometry();
        window->tmrExitTimer();
        QVERIFY(!window->tmrExit->isActive());
        QVERIFY(window->tmrScrollDown->isActive());
        window->tmrScrollDownTimer();
        const QRect step = window->placedGeometry();
        // The side against the taskbar stays; the far side moves in.
        if (available.x() > 0) {
            QCOMPARE(step.left(), full.left());
            QCOMPARE(step.width(), full.width() - 9);
        } else {
            QCOMPARE(step.bottom(), full.bottom());
            QCOMPARE(step.height(), full.height() - 9);
        }
        for (int guard = 0; window && window->tmrScrollDown->isActive() && guard < 100; ++guard)
            window->tmrScrollDownTimer();
        QVERIFY(window->isClosed());
        flushDeletes();
        QVERIFY(window.isNull());
        QCOMPARE(m_popup->OpenCount(), 0);
        QCOMPARE(m_popup->CascadeOffset(), 152); // never shrinks on close
    }

    void timeOutZeroStaysUntilClicked_data()
    {
        QTest::addColumn<bool>("scroll");
        QTest::newRow("sliding in") << true;
        QTest::newRow("at full size") << false;
    }

    void timeOutZeroStaysUntilClicked()
    {
        QFETCH(bool, scroll);
        m_popup->setTimeOut(0);
        m_popup->setOptions(scroll ? (npCascadePopups | npAllowScroll) : npCascadePopups);
        TfrmNotifyPopup* window = show();
        slideIn(window, false);
        QCOMPARE(window->placedGeometry(), window->fullGeometry());
        QVERIFY(!window->tmrExit->isActive());
        QVERIFY(!window->tmrScrollDown->isActive());
        QVERIFY(window->isVisible());
    }

    void aVeryLongTimeOutDoesNotOverflow()
    {
        m_popup->setTimeOut(3'000'000);
        TfrmNotifyPopup* window = show();
        QVERIFY(window->tmrExit->interval() > 0);
    }

    void mulDivRoundsHalvesAwayFromZero_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("result");
        QTest::newRow("half up") << 1 << 1 << 2 << 1;
        QTest::newRow("half down, negative") << 1 << -1 << 2 << -1;
        QTest::newRow("below half") << 149 << 102 << 150 << 101;
        QTest::newRow("above half") << 149 << 51 << 150 << 51;
        QTest::newRow("exact") << 75 << -102 << 150 << -51;
    }

    void mulDivRoundsHalvesAwayFromZero()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(int, result);
        QCOMPARE(TNotifyPopup::mulDiv(a, b, c), result);
    }

    void gradientLines_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("last");
        QTest::addColumn<QColor>("lastColor");
        // 153 + MulDiv(149, 102, 150) = 254 and 204 + MulDiv(149, 51, 150) = 255 on line 149 of 150.
        QTest::newRow("vertical") << int(TOrientation::mbVertical) << QSize(176, 150) << QPoint(100, 149)
                                  << QColor(254, 255, 255);
        // Column 9 of 10: 153 + MulDiv(9, 102, 10) = 245, 204 + MulDiv(9, 51, 10) = 250.
        QTest::newRow("horizontal") << int(TOrientation::mbHorizontal) << QSize(10, 40) << QPoint(9, 30)
                                    << QColor(245, 250, 255);
    }

    void gradientLines()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(QPoint, last);
        QFETCH(QColor, lastColor);
        const QImage image = TNotifyPopup::gradientImage(size, QColor(153, 204, 255), Qt::white,
                                                         static_cast<TOrientation>(orientation));
        QCOMPARE(image.size(), size);
        QCOMPARE(image.pixelColor(0, 0), QColor(153, 204, 255));
        const bool vertical = orientation == int(TOrientation::mbVertical);
        QCOMPARE(image.pixelColor(vertical ? QPoint(size.width() - 1, 0) : QPoint(0, size.height() - 1)),
                 QColor(153, 204, 255));
        QCOMPARE(image.pixelColor(last), lastColor);
    }

    void popupPaintsGradientAndStrip()
    {
        TfrmNotifyPopup* window = show();
        const QImage gradient = window->imgGradient->pixmap().toImage();
        QCOMPARE(gradient.size(), window->imgGradient->size());
        QCOMPARE(gradient.pixelColor(5, 0), QColor(153, 204, 255));
        const QImage strip = window->imgStrip->pixmap().toImage();
        QCOMPARE(strip.size(), QSize(138, 3));
        QCOMPARE(strip.pixelColor(0, 0), QColor(0xFF, 0xFF, 0x33));
        QCOMPARE(strip.pixelColor(71, 1), QColor(0xFB, 0xDA, 0x30));
        QCOMPARE(strip.pixelColor(72, 2), QColor(0xCC, 0x00, 0x00));
        QCOMPARE(strip.pixelColor(137, 2), QColor(0x0F, 0x8D, 0x30));
        QCOMPARE(window->imgStrip->geometry().bottom(), 150 - 2 - 1);
    }

    void backgroundImageReplacesTheGradient_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<QPoint>("green");
        QTest::addColumn<QPoint>("clear");
        // A 10 x 10 green picture whose bottom-left pixel (magenta) marks the transparent colour.
        QTest::newRow("actual size") << int(TNotifyImageDrawMethod::dmActualSize) << QPoint(5, 5) << QPoint(50, 50);
        QTest::newRow("tiled") << int(TNotifyImageDrawMethod::dmTile) << QPoint(55, 45) << QPoint(170, 139);
        QTest::newRow("fitted") << int(TNotifyImageDrawMethod::dmFit) << QPoint(150, 100) << QPoint(0, 142);
    }

    void backgroundImageReplacesTheGradient()
    {
        QFETCH(int, method);
        QFETCH(QPoint, green);
        QFETCH(QPoint, clear);
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(Qt::green);
        picture.setPixelColor(0, 9, Qt::magenta);
        m_popup->setBackgroundImage(QPixmap::fromImage(picture));
        m_popup->setBackgroundDrawMethod(static_cast<TNotifyImageDrawMethod>(method));
        TfrmNotifyPopup* window = show();
        const QImage painted = window->imgGradient->pixmap().toImage();
        QCOMPARE(painted.size(), QSize(176, 143));
        QCOMPARE(painted.pixelColor(green), QColor(Qt::green));
        QCOMPARE(painted.pixelColor(clear).alpha(), 0);
        QVERIFY(window->imgStrip->pixmap().isNull());
    }

    void titleMovesLeftWithoutAnIcon_data()
    {
        QTest::addColumn<bool>("icon");
        QTest::addColumn<int>("left");
        QTest::newRow("no icon") << false << 8;
        QTest::newRow("icon") << true << 48;
    }

    void titleMovesLeftWithoutAnIcon()
    {
        QFETCH(bool, icon);
        QFETCH(int, left);
        if (icon) {
            QPixmap picture(32, 32);
            picture.fill(Qt::red);
            m_popup->setIconBitmap(picture);
        }
        TfrmNotifyPopup* window = show();
        QCOMPARE(window->lblTitle->x(), left);
        QCOMPARE(window->lblTitle->text(), QStringLiteral("提醒"));
    }

    void textIsCentredEvenWhenTooTall()
    {
        TfrmNotifyPopup* window = show(QString(400, QChar(0x63D0)));
        const QRect label = window->lblText->geometry();
        QCOMPARE(label.left(), 8);
        QCOMPARE(label.width(), 165);
        QVERIFY(label.height() > 150);
        QVERIFY(label.top() < 0);
        QVERIFY(qAbs(label.top() + label.bottom() + 1 - 150) <= 1);
    }

    void windowIsAFramelessToolTitledAfterThePopup()
    {
        TfrmNotifyPopup* window = show(QStringLiteral("A & B"));
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags.testFlag(Qt::Tool));
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("提醒"));
        QCOMPARE(window->accessibleName(), QStringLiteral("提醒"));
        QCOMPARE(window->lblText->textFormat(), Qt::PlainText);
    }

    void loneCarriageReturnsBreakLines()
    {
        // Today's plan ends each line with a lone CR; each must show on a line of its own.
        TfrmNotifyPopup* window = show(QStringLiteral("8:00:00-->开会\r9:30:00-->出发\r"));
        QCOMPARE(window->lblText->text(), QStringLiteral("8:00:00-->开会\n9:30:00-->出发\n"));
    }

    void clicks_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("hyperlink");
        QTest::addColumn<QString>("expected"); // "window", "component", "url" or "" (no event)
        QTest::addColumn<bool>("closes");
        QTest::newRow("left on text") << "lblText" << int(Qt::LeftButton) << false << "window" << true;
        QTest::newRow("right on text") << "lblText" << int(Qt::RightButton) << false << "component" << true;
        QTest::newRow("middle on text") << "lblText" << int(Qt::MiddleButton) << false << "" << false;
        QTest::newRow("left on title") << "lblTitle" << int(Qt::LeftButton) << false << "component" << true;
        QTest::newRow("middle on picture") << "imgGradient" << int(Qt::MiddleButton) << false << "component" << true;
        QTest::newRow("left on icon area") << "imgIcon" << int(Qt::LeftButton) << false << "component" << true;
        QTest::newRow("hyperlink text") << "lblText" << int(Qt::LeftButton) << true << "url" << true;
    }

    void clicks()
    {
        QFETCH(QString, target);
        QFETCH(int, button);
        QFETCH(bool, hyperlink);
        QFETCH(QString, expected);
        QFETCH(bool, closes);
        m_popup->setOptions(hyperlink ? (npAllowHyperlink | npAutoOpenURL | npCascadePopups) : npCascadePopups);
        m_popup->setURL(QStringLiteral("http://127.0.0.1/x"));
        QString fired;
        bool freeOnCloseDuringHandler = true;
        QPointer<TfrmNotifyPopup> window = show();
        m_popup->OnClick = [&](QObject* sender) {
            fired = sender == window.data() ? QStringLiteral("window") : QStringLiteral("component");
            QVERIFY(sender == window.data() || sender == m_popup.get());
            freeOnCloseDuringHandler = window->FreeOnClose();
            window->close(); // a handler closing the window must not count it twice
        };
        m_popup->OnURLClick = [&](QObject* sender, const QString& url) {
            QCOMPARE(sender, window.data());
            QCOMPARE(url, QStringLiteral("http://127.0.0.1/x"));
            fired = QStringLiteral("url");
        };
        show(); // a second pop-up, so the count shows a double decrement
        release(window->findChild<QWidget*>(target), static_cast<Qt::MouseButton>(button));
        QCOMPARE(fired, expected);
        if (expected == QStringLiteral("window") || expected == QStringLiteral("component"))
            QVERIFY(!freeOnCloseDuringHandler);
        QCOMPARE(m_env->shell.opened, hyperlink ? QStringList{ QStringLiteral("http://127.0.0.1/x") } : QStringList());
        QCOMPARE(window->isClosed(), closes);
        QCOMPARE(m_popup->OpenCount(), closes ? 1 : 2);
        flushDeletes();
        QCOMPARE(window.isNull(), closes);
    }

    void shownPopupsFollowTheComponentsFontsOnHover()
    {
        m_popup->setOptions(npAllowHyperlink | npCascadePopups);
        TfrmNotifyPopup* window = show();
        TPopupFont hover = m_popup->HoverFont();
        hover.font.setPixelSize(20);
        m_popup->setHoverFont(hover);
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(window->lblText, &enter);
        QCOMPARE(window->lblText->font().pixelSize(), 20);
        QVERIFY(window->lblText->font().underline());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(window->lblText, &leave);
        QCOMPARE(window->lblText->font().pixelSize(), 12);
    }

    void openPopupsGoWithTheComponent()
    {
        QPointer<TfrmNotifyPopup> window = show();
        m_popup.reset();
        QVERIFY(window.isNull());
    }
};

QTEST_MAIN(TestNotifyPopup)
#include "TestNotifyPopup.moc"
