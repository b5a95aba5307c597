#include "TNotifyPopup.h"

#include "TfrmNotifyPopup.h"
#include "platform/Desktop.h"
#include "platform/Services.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

TNotifyPopup::TNotifyPopup(QObject* parent)
    : QObject(parent)
{
    m_font.font = QFont();
    m_font.color = QColor(Qt::black);
    m_hoverFont.font = QFont();
    m_hoverFont.font.setUnderline(true);
    m_hoverFont.color = QColor(0, 0, 255);
    m_titleFont.font = QFont();
    m_titleFont.font.setBold(true);
    m_titleFont.color = QColor(Qt::black);
}

TNotifyPopup::~TNotifyPopup()
{
    // The pop-ups live as long as the component's owner; those still open go with it.
    const auto popups = m_popups;
    for (const QPointer<TfrmNotifyPopup>& popup : popups)
        delete popup.data();
}

void TNotifyPopup::applyProgramSettings(TNotifyPopup* popup)
{
    if (!popup)
        return;
    popup->setWidth(180);
    popup->setHeight(150);
    popup->setGradientColor1(QColor(153, 204, 255));
    popup->setGradientColor2(QColor(255, 255, 255));
    popup->setGradientOrientation(TOrientation::mbVertical);
    popup->setScrollSpeed(9);
    popup->setTimeOut(10);
    popup->setIconLeft(8);
    popup->setIconTop(8);
    popup->setOptions(npCascadePopups | npAllowScroll);
    popup->setTextAlignment(Qt::AlignHCenter);
    popup->setBackgroundDrawMethod(TNotifyImageDrawMethod::dmFit);
    popup->setBackgroundImage(QPixmap());
    popup->setTextCursor(Qt::ArrowCursor);
    popup->setPopupMarge(2);
    popup->setPopupStartX(16);
    popup->setPopupStartY(2);
    popup->setDefaultMonitor(TDefaultMonitor::dmDesktop);
    popup->setIconBitmap(QPixmap());
    popup->OnClick = nullptr;
    popup->OnURLClick = nullptr;

    // The Windows names come first; the CJK face is what a Linux desktop has for them.
    QFont body;
    body.setFamilies({ QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC") });
    body.setPixelSize(12);
    popup->setFont({ body, QColor(0, 0, 255) });
    QFont hover;
    hover.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("Noto Sans CJK SC") });
    hover.setPixelSize(11);
    hover.setUnderline(true);
    popup->setHoverFont({ hover, QColor(0, 0, 255) });
    QFont title = hover;
    title.setUnderline(false);
    title.setBold(true);
    popup->setTitleFont({ title, QColor(255, 0, 0) });
}

void TNotifyPopup::setScrollSpeed(int speed)
{
    m_scrollSpeed = std::clamp(speed, 1, 50);
}

int TNotifyPopup::detectTaskbarEdge(const QRect& screen, const QRect& workArea)
{
    if (screen.isEmpty() || workArea.isEmpty() || screen == workArea)
        return teUnknown;
    // Several panels may take space; the pop-ups go beside the one that takes the most. Ties prefer the bottom,
    // where a taskbar usually is.
    struct Loss
    {
        int edge;
        int pixels;
    };
    const Loss losses[] = {
        { teBottom, (screen.y() + screen.height()) - (workArea.y() + workArea.height()) },
        { teTop, workArea.y() - screen.y() },
        { teRight, (screen.x() + screen.width()) - (workArea.x() + workArea.width()) },
        { teLeft, workArea.x() - screen.x() },
    };
    Loss best{ teUnknown, 0 };
    for (const Loss& loss : losses) {
        if (loss.pixels > best.pixels)
            best = loss;
    }
    return best.edge;
}

int TNotifyPopup::TaskbarEdge()
{
    const Desktop& desktop = Services::desktop();
    const int edge = detectTaskbarEdge(desktop.screenGeometry(), desktop.availableGeometry());
    return edge == teUnknown ? teBottom : edge;
}

int TNotifyPopup::mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

QImage TNotifyPopup::gradientImage(const QSize& size, const QColor& color1, const QColor& color2,
                                   TOrientation orientation)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(color1);
    const QColor c1 = color1.toRgb();
    const QColor c2 = color2.toRgb();
    const bool vertical = orientation == TOrientation::mbVertical;
    const int n = vertical ? image.height() : image.width();
    QPainter painter(&image);
    // Line n lies just past the picture, so the last visible line is one step short of colour 2.
    for (int i = 0; i <= n; ++i) {
        const QColor color((c1.red() + mulDiv(i, c2.red() - c1.red(), n)) & 0xFF,
                           (c1.green() + mulDiv(i, c2.green() - c1.green(), n)) & 0xFF,
                           (c1.blue() + mulDiv(i, c2.blue() - c1.blue(), n)) & 0xFF);
        painter.setPen(color);
        if (vertical)
            painter.drawLine(0, i, image.width() - 1, i);
        else
            painter.drawLine(i, 0, i, image.height() - 1);
    }
    return image;
}

QImage TNotifyPopup::stripImage()
{
    // Four bands (72, 22, 22 and 22 columns) of three lines each.
    static const QRgb colours[3][4] = {
        { 0xFFFF33, 0xF7A310, 0x3399CC, 0x99CC99 },
        { 0xFBDA30, 0xFF0000, 0x3366CC, 0x73BC88 },
        { 0xFFCC33, 0xCC0000, 0x2B2990, 0x0F8D30 },
    };
    static const int bandStart[5] = { 0, 72, 94, 116, 138 };
    QImage image(138, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y) {
        for (int band = 0; band < 4; ++band) {
            for (int x = bandStart[band]; x < bandStart[band + 1]; ++x)
                image.setPixel(x, y, 0xFF000000 | colours[y][band]);
        }
    }
    return image;
}

bool TNotifyPopup::ShowNotification()
{
    const int edge = TaskbarEdge();
    if (edge != m_lastEdge) {
        // Pop-ups already on screen stay where they are but no longer count for stacking.
        m_lastEdge = edge;
        m_openCount = 0;
    }
    const QRect area = Services::desktop().availableGeometry();
    const int areaBottom = area.y() + area.height();
    if (m_openCount <= 0) {
        m_cascadeOffset = 0;
    } else {
        // Measured from the work area's own top, so that no stacked pop-up reaches under a panel or off screen.
        const int extent = m_cascadeOffset + m_height + m_popupStartY;
        if (edge == teTop ? area.y() + extent > areaBottom : areaBottom - extent < area.y())
            return false;
    }
    ++m_openCount;
    auto* popup = new TfrmNotifyPopup(this, edge, m_cascadeOffset);
    m_popups.append(popup);
    if (m_options.testFlag(npCascadePopups))
        m_cascadeOffset += m_height + m_popupMarge;
    else
        m_cascadeOffset = 0;
    popup->start();
    return true;
}

QList<TfrmNotifyPopup*> TNotifyPopup::popups() const
{
    QList<TfrmNotifyPopup*> result;
    for (const QPointer<TfrmNotifyPopup>& popup : m_popups) {
        if (popup)
            result.append(popup.data());
    }
    return result;
}

void TNotifyPopup::popupClosed()
{
    m_openCount = std::max(0, m_openCount - 1);
    m_popups.removeIf([](const QPointer<TfrmNotifyPopup>& popup) { return popup.isNull() || popup->isClosed(); });
}
