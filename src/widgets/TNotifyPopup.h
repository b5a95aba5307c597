#pragma once

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>

class TfrmNotifyPopup;

enum class TOrientation { mbHorizontal, mbVertical };
enum class TNotifyImageDrawMethod { dmActualSize, dmTile, dmFit };
enum class TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };

enum TNotifyPopupOption {
    npAutoOpenURL = 0x01,
    npSystemFont = 0x02, ///< kept for compatibility; has no effect
    npCascadePopups = 0x04,
    npAllowScroll = 0x08,
    npAllowHyperlink = 0x10,
};
Q_DECLARE_FLAGS(TNotifyPopupOptions, TNotifyPopupOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TNotifyPopupOptions)

/// A font together with its colour: the pop-up's fonts carry both.
struct TPopupFont
{
    QFont font;
    QColor color;
    bool operator==(const TPopupFont& other) const = default;
};

/// The side of the screen the taskbar (panel) sits on, as the pop-up places itself against it.
enum TaskbarEdgeValue { teUnknown = -1, teLeft = 0, teTop = 1, teRight = 2, teBottom = 3 };

/// Slides small notification windows into the desktop corner beside the taskbar. Each ShowNotification creates an
/// independent TfrmNotifyPopup that copies the values of that moment; the component keeps only the settings and the
/// stacking bookkeeping.
class TNotifyPopup : public QObject
{
    Q_OBJECT
public:
    explicit TNotifyPopup(QObject* parent = nullptr);
    ~TNotifyPopup() override;

    /// Gives an instance the configuration every pop-up component of the program uses (180 x 150, gradient, fonts,
    /// cascading slide-in without hyperlinks).
    static void applyProgramSettings(TNotifyPopup* popup);

    /// Shows a new pop-up with the current values; false when a stacked one would not fit.
    bool ShowNotification();

    /// The taskbar edge read from the desktop: the side of the screen that lost space in the work area.
    /// teUnknown when there is no screen or the work area is the whole screen.
    static int detectTaskbarEdge(const QRect& screen, const QRect& workArea);
    /// The edge the pop-ups are placed against; an unknown edge counts as a bottom taskbar so that pop-ups are
    /// still placed, animated and closed.
    static int TaskbarEdge();

    /// Windows-style MulDiv: a * b / c rounded to the nearest whole number, halves away from zero.
    static int mulDiv(int a, int b, int c);
    /// The background gradient, drawn line by line from color1 to color2.
    static QImage gradientImage(const QSize& size, const QColor& color1, const QColor& color2,
                                TOrientation orientation);
    /// The 138 x 3 coloured strip along the bottom of a pop-up without a background image.
    static QImage stripImage();

    QString Text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }
    QString URL() const { return m_url; }
    void setURL(const QString& url) { m_url = url; }
    QPixmap IconBitmap() const { return m_iconBitmap; }
    void setIconBitmap(const QPixmap& bitmap) { m_iconBitmap = bitmap; }
    int IconLeft() const { return m_iconLeft; }
    void setIconLeft(int left) { m_iconLeft = left; }
    int IconTop() const { return m_iconTop; }
    void setIconTop(int top) { m_iconTop = top; }
    int TimeOut() const { return m_timeOut; }
    void setTimeOut(int seconds) { m_timeOut = seconds; }
    int Width() const { return m_width; }
    void setWidth(int width) { m_width = width; }
    int Height() const { return m_height; }
    void setHeight(int height) { m_height = height; }
    QColor GradientColor1() const { return m_gradientColor1; }
    void setGradientColor1(const QColor& color) { m_gradientColor1 = color; }
    QColor GradientColor2() const { return m_gradientColor2; }
    void setGradientColor2(const QColor& color) { m_gradientColor2 = color; }
    TOrientation GradientOrientation() const { return m_gradientOrientation; }
    void setGradientOrientation(TOrientation orientation) { m_gradientOrientation = orientation; }
    int ScrollSpeed() const { return m_scrollSpeed; }
    /// Kept to 1..50 pixels per step.
    void setScrollSpeed(int speed);
    TPopupFont Font() const { return m_font; }
    void setFont(const TPopupFont& font) { m_font = font; }
    TPopupFont HoverFont() const { return m_hoverFont; }
    void setHoverFont(const TPopupFont& font) { m_hoverFont = font; }
    QString Title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    TPopupFont TitleFont() const { return m_titleFont; }
    void setTitleFont(const TPopupFont& font) { m_titleFont = font; }
    TNotifyPopupOptions Options() const { return m_options; }
    void setOptions(TNotifyPopupOptions options) { m_options = options; }
    /// Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment TextAlignment() const { return m_textAlignment; }
    void setTextAlignment(Qt::Alignment alignment) { m_textAlignment = alignment; }
    TNotifyImageDrawMethod BackgroundDrawMethod() const { return m_backgroundDrawMethod; }
    void setBackgroundDrawMethod(TNotifyImageDrawMethod method) { m_backgroundDrawMethod = method; }
    Qt::CursorShape TextCursor() const { return m_textCursor; }
    void setTextCursor(Qt::CursorShape cursor) { m_textCursor = cursor; }
    int PopupMarge() const { return m_popupMarge; }
    void setPopupMarge(int marge) { m_popupMarge = marge; }
    int PopupStartX() const { return m_popupStartX; }
    void setPopupStartX(int x) { m_popupStartX = x; }
    int PopupStartY() const { return m_popupStartY; }
    void setPopupStartY(int y) { m_popupStartY = y; }
    TDefaultMonitor DefaultMonitor() const { return m_defaultMonitor; }
    void setDefaultMonitor(TDefaultMonitor monitor) { m_defaultMonitor = monitor; }
    QPixmap BackgroundImage() const { return m_backgroundImage; }
    void setBackgroundImage(const QPixmap& image) { m_backgroundImage = image; }

    /// Fired when a pop-up is clicked. Sender: the pop-up window for a left click on the text, else the component.
    std::function<void(QObject* sender)> OnClick;
    /// Fired when the text is clicked in hyperlink mode. Sender: the pop-up window.
    std::function<void(QObject* sender, const QString& url)> OnURLClick;

    // Stacking bookkeeping.
    int OpenCount() const { return m_openCount; }
    int CascadeOffset() const { return m_cascadeOffset; }
    int LastEdge() const { return m_lastEdge; }

    /// The pop-up windows of this component that still exist, oldest first.
    QList<TfrmNotifyPopup*> popups() const;

private:
    friend class TfrmNotifyPopup;
    void popupClosed();

    QString m_text = QStringLiteral("text");
    QString m_url = QStringLiteral("http://www.example.invalid/");
    QPixmap m_iconBitmap;
    int m_iconLeft = 8;
    int m_iconTop = 8;
    int m_timeOut = 10;
    int m_width = 148;
    int m_height = 121;
    QColor m_gradientColor1 = QColor(153, 204, 255);
    QColor m_gradientColor2 = QColor(255, 255, 255);
    TOrientation m_gradientOrientation = TOrientation::mbVertical;
    int m_scrollSpeed = 9;
    TPopupFont m_font;
    TPopupFont m_hoverFont;
    QString m_title = QStringLiteral("title");
    TPopupFont m_titleFont;
    TNotifyPopupOptions m_options = npAutoOpenURL | npCascadePopups | npAllowScroll | npAllowHyperlink;
    Qt::Alignment m_textAlignment = Qt::AlignHCenter;
    TNotifyImageDrawMethod m_backgroundDrawMethod = TNotifyImageDrawMethod::dmActualSize;
    Qt::CursorShape m_textCursor = Qt::ArrowCursor;
    int m_popupMarge = 2;
    int m_popupStartX = 16;
    int m_popupStartY = 2;
    TDefaultMonitor m_defaultMonitor = TDefaultMonitor::dmDesktop;
    QPixmap m_backgroundImage;

    int m_openCount = 0;
    int m_cascadeOffset = 0;
    int m_lastEdge = teLeft;
    QList<QPointer<TfrmNotifyPopup>> m_popups;
};
