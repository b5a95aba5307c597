#include "Tfrmclock.h"

#include "ClockFace.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Guarded.h"
#include "platform/SecondTimer.h"
#include "platform/Services.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOption>

Tfrmclock::Tfrmclock(QWidget& mainWindow, QWidget* parent)
    // A tool window keeps the clock off the task bar; it is not kept above other windows.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("frmclock"));
    setWindowTitle(QStringLiteral("电子钟"));
    setAccessibleName(QStringLiteral("电子钟"));
    setFixedSize(ClockFace::kSize, ClockFace::kSize);
    setCursor(Qt::PointingHandCursor);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setAutoFillBackground(true);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("隐藏电子钟"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = PopupMenu1->addAction(QStringLiteral("显示主窗口"));
    N2->setObjectName(QStringLiteral("N2"));
    connect(N1, &QAction::triggered, this, guarded(this, &Tfrmclock::N1Click));
    connect(N2, &QAction::triggered, this, guarded(this, &Tfrmclock::N2Click));

    // The timer runs while the clock is on screen: a hidden face has nothing to redraw, and a shown one is painted
    // afresh from the current time before the first tick comes.
    Timer1 = new SecondTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &SecondTimer::timeout, this, guarded(this, &Tfrmclock::Timer1Timer));

    FormCreate();
}

void Tfrmclock::FormCreate()
{
    shapeAndPlace();
}

void Tfrmclock::FormActivate()
{
    shapeAndPlace();
}

void Tfrmclock::shapeAndPlace()
{
    setMask(QRegion(ClockFace::shapeRect(), QRegion::Ellipse));
    update();
    move(ClockFace::topRight(Services::desktop().screenGeometry(), width()));
}

bool Tfrmclock::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

void Tfrmclock::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    shapeAndPlace();
    Timer1->start();
}

void Tfrmclock::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    Timer1->stop();
}

void Tfrmclock::Timer1Timer()
{
    update();
}

void Tfrmclock::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // A new skin or font changes the face; it is drawn afresh at the next paint.
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::FontChange:
        m_face = QPixmap();
        break;
    default:
        break;
    }
}

std::array<QRect, 2> Tfrmclock::halves() const
{
    // Qt hands a fill or copy of more than about a hundred lines to its worker threads, which would wake two more
    // threads every second for a window this small; above and below the centre, each half stays under that.
    const int middle = ClockFace::centre(width(), height()).y();
    return { QRect(0, 0, width(), middle), QRect(0, middle, width(), height() - middle) };
}

QPixmap Tfrmclock::drawFace() const
{
    const qreal scale = devicePixelRatio();
    QPixmap face(size() * scale);
    face.setDevicePixelRatio(scale);
    QPainter painter(&face);
    // The window's own background first, as the window would draw it: the palette, then a skin's style sheet.
    painter.fillRect(rect(), palette().brush(QPalette::Window));
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    const QPoint c = ClockFace::centre(width(), height());
    const int r = ClockFace::kDialRadius;
    const QColor aqua(0, 255, 255);

    const QRect dial(c.x() - r, c.y() - r, 2 * r, 2 * r);
    // The hatching goes in halves; the ring is drawn on top.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(QColor(166, 202, 240), Qt::DiagCrossPattern));
    for (const QRect& half : halves()) {
        painter.setClipRect(half);
        painter.drawEllipse(dial);
    }
    painter.setClipping(false);
    painter.setPen(QPen(aqua, 5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(dial);

    QFont font = this->font();
    font.setPointSize(10);
    font.setBold(true);
    painter.setFont(font);
    for (int k = 0; k <= 12; ++k) {
        const QPoint dot = ClockFace::dotCentre(c, k);
        painter.setPen(QPen(aqua, 0));
        painter.setBrush(Qt::red);
        painter.drawEllipse(QRect(dot.x() - 5, dot.y() - 5, 10, 10));
        const ClockFace::Numeral numeral = ClockFace::numeral(c, k);
        if (!numeral.text.isEmpty()) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(Qt::black);
            painter.drawText(QRect(numeral.topLeft, QSize(40, 40)), Qt::AlignLeft | Qt::AlignTop, numeral.text);
        }
    }
    return face;
}

void Tfrmclock::paintEvent(QPaintEvent*)
{
    // Only the hands move: the rest of the face is drawn once and copied every second.
    if (m_face.isNull() || m_face.size() != size() * devicePixelRatio())
        m_face = drawFace();
    QPainter painter(this);
    const QPoint c = ClockFace::centre(width(), height());
    const qreal scale = m_face.devicePixelRatio();
    for (const QRect& half : halves()) {
        const QRectF source(half.x() * scale, half.y() * scale, half.width() * scale, half.height() * scale);
        painter.drawPixmap(QRectF(half), m_face, source);
    }
    for (const ClockFace::Hand& hand : ClockFace::hands(c, Services::clock().now().time())) {
        painter.setPen(QPen(hand.colour, hand.width));
        painter.drawLine(c, hand.tip);
        painter.drawLine(c, hand.tail);
    }
}

void Tfrmclock::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        move(ClockFace::dropPosition(Services::desktop().cursorPos()));
    QWidget::mouseReleaseEvent(event);
}

void Tfrmclock::contextMenuEvent(QContextMenuEvent* event)
{
    PopupMenu1->popup(event->globalPos());
}

void Tfrmclock::N1Click()
{
    close();
}

void Tfrmclock::N2Click()
{
    m_mainWindow.show();
    m_mainWindow.raise();
    m_mainWindow.activateWindow();
}
