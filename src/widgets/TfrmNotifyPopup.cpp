#include "TfrmNotifyPopup.h"

#include "platform/Desktop.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "text/TextLines.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
constexpr int kStepMs = 25;
constexpr int kBevel = 2;
constexpr int kStripHeight = 3;

/// Halves go to the even neighbour, as the window library of the original rounds.
int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

/// A picture whose bottom-left pixel colour is treated as transparent.
QPixmap transparentByCorner(const QPixmap& source)
{
    QPixmap result = source;
    const QImage image = source.toImage();
    if (image.isNull())
        return result;
    const QColor corner = image.pixelColor(0, image.height() - 1);
    result.setMask(QBitmap::fromImage(image.createMaskFromColor(corner.rgb(), Qt::MaskInColor)));
    return result;
}
} // namespace

TfrmNotifyPopup::TfrmNotifyPopup(TNotifyPopup* component, int edge, int stackOffset)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_component(component)
    , m_edge(edge)
    , m_stackOffset(stackOffset)
{
    setObjectName(QStringLiteral("frmNotifyPopup"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false); // a closing pop-up never ends the program
    setFocusPolicy(Qt::NoFocus);

    m_text = component->Text();
    m_url = component->URL();
    m_title = component->Title();
    m_timeOut = component->TimeOut();
    // A window needs at least one pixel each way.
    m_width = std::max(1, component->Width());
    m_height = std::max(1, component->Height());
    m_scrollSpeed = component->ScrollSpeed();
    m_gradientColor1 = component->GradientColor1();
    m_gradientColor2 = component->GradientColor2();
    m_gradientOrientation = component->GradientOrientation();
    m_textCursor = component->TextCursor();
    m_drawMethod = component->BackgroundDrawMethod();
    m_defaultMonitor = component->DefaultMonitor();
    m_scroll = component->Options().testFlag(npAllowScroll);
    m_hyperlink = component->Options().testFlag(npAllowHyperlink);
    m_autoOpenUrl = component->Options().testFlag(npAutoOpenURL);
    m_iconBitmap = component->IconBitmap();
    m_iconLeft = component->IconLeft();
    m_iconTop = component->IconTop();
    m_backgroundImage = component->BackgroundImage();
    m_font = component->Font();
    m_hoverFont = component->HoverFont();
    m_titleFont = component->TitleFont();
    m_popupStartX = component->PopupStartX();
    m_popupStartY = component->PopupStartY();

    // Tools find the window by its title.
    setWindowTitle(m_title);
    setAccessibleName(m_title);

    pnlBorder = new QFrame(this);
    pnlBorder->setObjectName(QStringLiteral("pnlBorder"));
    pnlBorder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlBorder->setLineWidth(kBevel);
    pnlBorder->setAutoFillBackground(true);

    imgGradient = new QLabel(pnlBorder);
    imgGradient->setObjectName(QStringLiteral("imgGradient"));
    imgIcon = new QLabel(pnlBorder);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setGeometry(3, 8, 32, 32);

    lblText = new QLabel(pnlBorder);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setTextFormat(Qt::PlainText); // "&" and "<" show as themselves
    lblText->setWordWrap(true);
    lblText->setAlignment(component->TextAlignment() | Qt::AlignVCenter);
    lblText->setCursor(m_textCursor);
    lblText->setText(withLineFeeds(m_text));
    lblText->setAccessibleName(m_text);

    lblTitle = new QLabel(pnlBorder);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->move(48, 8);

    imgStrip = new QLabel(pnlBorder);
    imgStrip->setObjectName(QStringLiteral("imgStrip"));
    imgStrip->setScaledContents(true);

    for (QWidget* child : { static_cast<QWidget*>(imgGradient), static_cast<QWidget*>(imgIcon),
                            static_cast<QWidget*>(lblText), static_cast<QWidget*>(lblTitle) })
        child->installEventFilter(this);

    tmrExit = new QTimer(this);
    tmrExit->setObjectName(QStringLiteral("tmrExit"));
    tmrScroll = new QTimer(this);
    tmrScroll->setObjectName(QStringLiteral("tmrScroll"));
    tmrScroll->setInterval(kStepMs);
    tmrScrollDown = new QTimer(this);
    tmrScrollDown->setObjectName(QStringLiteral("tmrScrollDown"));
    tmrScrollDown->setInterval(kStepMs);
    connect(tmrExit, &QTimer::timeout, this, &TfrmNotifyPopup::tmrExitTimer);
    connect(tmrScroll, &QTimer::timeout, this, &TfrmNotifyPopup::tmrScrollTimer);
    connect(tmrScrollDown, &QTimer::timeout, this, &TfrmNotifyPopup::tmrScrollDownTimer);

    // Placing against the work area beside the taskbar.
    const QRect area = workArea();
    const int areaRight = area.x() + area.width();
    const int areaBottom = area.y() + area.height();
    int left = areaRight - m_width - m_popupStartX;
    int top = areaBottom - m_popupStartY - m_height - m_stackOffset;
    if (m_edge == teLeft)
        left = area.x() + m_popupStartX;
    else if (m_edge == teTop)
        top = area.y() + m_popupStartY + m_stackOffset;
    m_full = QRect(left, top, m_width, m_height);

    // The contents keep the full size; while the window is smaller they are uncovered and covered, not resized.
    pnlBorder->setGeometry(0, 0, m_width, m_height);
    const int innerWidth = std::max(1, m_width - 2 * kBevel);
    imgStrip->setGeometry(kBevel, m_height - kBevel - kStripHeight, innerWidth, kStripHeight);
    imgGradient->setGeometry(kBevel, kBevel, innerWidth, std::max(1, m_height - 2 * kBevel - kStripHeight));
    setPlacedGeometry(m_full);
}

TfrmNotifyPopup::~TfrmNotifyPopup() = default;

QRect TfrmNotifyPopup::workArea() const
{
    return Services::desktop().availableGeometry();
}

TPopupFont TfrmNotifyPopup::currentFont() const
{
    return m_component ? m_component->Font() : m_font;
}
TPopupFont TfrmNotifyPopup::currentHoverFont() const
{
    return m_component ? m_component->HoverFont() : m_hoverFont;
}
TPopupFont TfrmNotifyPopup::currentTitleFont() const
{
    return m_component ? m_component->TitleFont() : m_titleFont;
}

void TfrmNotifyPopup::applyFont(QLabel* label, const TPopupFont& font)
{
    label->setFont(font.font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, font.color);
    label->setPalette(palette);
}

void TfrmNotifyPopup::setPlacedGeometry(const QRect& geometry)
{
    m_geometry = geometry;
    setGeometry(geometry);
}

void TfrmNotifyPopup::paintContents()
{
    applyFont(lblTitle, currentTitleFont());
    lblTitle->setText(m_title);
    lblTitle->adjustSize();

    const QSize size = imgGradient->size();
    QPixmap picture;
    if (m_backgroundImage.isNull()) {
        imgStrip->setPixmap(QPixmap::fromImage(TNotifyPopup::stripImage()));
        picture = QPixmap::fromImage(
            TNotifyPopup::gradientImage(size, m_gradientColor1, m_gradientColor2, m_gradientOrientation));
    } else {
        picture = QPixmap(size);
        picture.fill(Qt::transparent);
        const QPixmap background = transparentByCorner(m_backgroundImage);
        QPainter painter(&picture);
        switch (m_drawMethod) {
        case TNotifyImageDrawMethod::dmActualSize:
            painter.drawPixmap(0, 0, background);
            break;
        case TNotifyImageDrawMethod::dmTile:
            for (int x = 0; x < size.width(); x += background.width()) {
                for (int y = 0; y < size.height(); y += background.height())
                    painter.drawPixmap(x, y, background);
            }
            break;
        case TNotifyImageDrawMethod::dmFit:
            painter.drawPixmap(QRect(QPoint(0, 0), size), background);
            break;
        }
    }
    if (m_iconBitmap.isNull()) {
        lblTitle->move(8, 8);
    } else {
        QPainter painter(&picture);
        painter.drawPixmap(m_iconLeft, m_iconTop, transparentByCorner(m_iconBitmap));
    }
    imgGradient->setPixmap(picture);

    const qint64 ms = std::max<qint64>(0, static_cast<qint64>(m_timeOut) * 1000);
    tmrExit->setInterval(static_cast<int>(std::min<qint64>(ms, INT_MAX)));
}

void TfrmNotifyPopup::layoutText(const TPopupFont& font)
{
    applyFont(lblText, font);
    const int panelWidth = pnlBorder->width();
    const int panelHeight = pnlBorder->height();
    const int labelWidth = panelWidth - 15;
    const int labelHeight = lblText->heightForWidth(labelWidth);
    // A text taller than the pop-up is centred too, and so cut off at the top and the bottom.
    lblText->setGeometry(roundHalfEven((panelWidth - labelWidth) / 2.0),
                         roundHalfEven((panelHeight - labelHeight) / 2.0), labelWidth, labelHeight);
}

void TfrmNotifyPopup::start()
{
    paintContents();
    if (m_scroll) {
        QRect sliver = m_full;
        switch (m_edge) {
        case teLeft:
            sliver.setWidth(1);
            break;
        case teTop:
            sliver.setHeight(1);
            break;
        case teRight:
            sliver = QRect(m_full.x() + m_full.width(), m_full.y(), 1, m_full.height());
            break;
        default:
            sliver = QRect(m_full.x(), m_full.y() + m_full.height(), m_full.width(), 1);
            break;
        }
        setPlacedGeometry(sliver);
        tmrScroll->start();
    } else if (m_timeOut > 0) {
        tmrExit->start(); // a time-out of 0 keeps the pop-up until it is clicked
    }
    show();
    layoutText(currentHoverFont());
    layoutText(currentFont());
}

void TfrmNotifyPopup::tmrScrollTimer()
{
    QRect g = m_geometry;
    const int s = m_scrollSpeed;
    bool full = false;
    const QRect area = workArea();
    switch (m_edge) {
    case teLeft:
        full = g.width() + s >= m_width;
        g.setWidth(full ? m_width : g.width() + s);
        break;
    case teTop:
        full = g.height() + s >= m_height;
        g.setHeight(full ? m_height : g.height() + s);
        break;
    case teRight:
        full = g.width() + s >= m_width;
        if (full)
            g = QRect(area.x() + area.width() - m_popupStartX - m_width, g.y(), m_width, g.height());
        else
            g.setLeft(g.left() - s); // the right side stays put
        break;
    default:
        full = g.height() + s >= m_height;
        if (full)
            g = QRect(g.x(), area.y() + area.height() - m_popupStartY - m_height - m_stackOffset, g.width(), m_height);
        else
            g.setTop(g.top() - s);
        break;
    }
    setPlacedGeometry(g);
    if (full) {
        tmrScroll->stop();
        if (m_timeOut > 0)
            tmrExit->start();
    }
}

void TfrmNotifyPopup::tmrExitTimer()
{
    tmrExit->stop();
    tmrScrollDown->start();
}

void TfrmNotifyPopup::tmrScrollDownTimer()
{
    QRect g = m_geometry;
    const int s = m_scrollSpeed;
    const bool vertical = m_edge == teTop || m_edge == teBottom || m_edge == teUnknown;
    if ((vertical ? g.height() : g.width()) - s <= 0) {
        tmrScrollDown->stop();
        close();
        return;
    }
    switch (m_edge) {
    case teLeft:
        g.setWidth(g.width() - s);
        break;
    case teTop:
        g.setHeight(g.height() - s);
        break;
    case teRight:
        g.setLeft(g.left() + s);
        break;
    default:
        g.setTop(g.top() + s);
        break;
    }
    setPlacedGeometry(g);
}

void TfrmNotifyPopup::textClicked()
{
    m_freeOnClose = false;
    if (m_hyperlink) {
        if (m_component && m_component->OnURLClick)
            m_component->OnURLClick(this, m_url);
        if (m_autoOpenUrl)
            Services::shell().open(m_url);
    } else if (m_component && m_component->OnClick) {
        m_component->OnClick(this);
    }
    m_freeOnClose = true;
    closeAndFree();
}

void TfrmNotifyPopup::otherReleased()
{
    if (m_component && m_component->OnClick) {
        m_freeOnClose = false;
        m_component->OnClick(m_component.data());
        m_freeOnClose = true;
    }
    closeAndFree();
}

void TfrmNotifyPopup::closeAndFree()
{
    // A handler may have closed (hidden) the window already; the click still ends it.
    if (isVisible()) {
        close();
    } else {
        QCloseEvent event;
        closeEvent(&event);
    }
}

void TfrmNotifyPopup::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!m_freeOnClose || m_closed)
        return;
    m_closed = true;
    tmrExit->stop();
    tmrScroll->stop();
    tmrScrollDown->stop();
    if (m_component)
        m_component->popupClosed();
    hide();
    deleteLater();
}

bool TfrmNotifyPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblText && m_hyperlink && (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
        layoutText(event->type() == QEvent::Enter ? currentHoverFont() : currentFont());
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !widget->rect().contains(mouse->position().toPoint()))
        return false;
    if (watched == lblText) {
        if (mouse->button() == Qt::LeftButton)
            textClicked();
        else if (mouse->button() == Qt::RightButton)
            otherReleased();
        return true;
    }
    otherReleased();
    return true;
}
