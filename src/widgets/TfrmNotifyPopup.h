#pragma once

#include "TNotifyPopup.h"

#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

/// One notification window: placed against the work area beside the taskbar, slides in, waits for its time-out,
/// slides out and frees itself. Created only by TNotifyPopup::ShowNotification, with copies of the component's
/// values of that moment.
class TfrmNotifyPopup : public QWidget
{
    Q_OBJECT
public:
    TfrmNotifyPopup(TNotifyPopup* component, int edge, int stackOffset);
    ~TfrmNotifyPopup() override;

    QFrame* pnlBorder = nullptr;
    QLabel* imgGradient = nullptr;
    QLabel* imgIcon = nullptr;
    QLabel* lblText = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* imgStrip = nullptr;
    QTimer* tmrExit = nullptr;
    QTimer* tmrScroll = nullptr;
    QTimer* tmrScrollDown = nullptr;

    int edge() const { return m_edge; }
    int StackOffset() const { return m_stackOffset; }
    bool FreeOnClose() const { return m_freeOnClose; }
    /// Where the window is, as the animation sets it (the window system may report its own view later).
    QRect placedGeometry() const { return m_geometry; }
    /// The position and size the window has when fully shown.
    QRect fullGeometry() const { return m_full; }
    QString Title() const { return m_title; }
    QString Text() const { return m_text; }
    bool isClosed() const { return m_closed; }

public slots:
    /// Paints the contents and shows the window, shrunk to a sliver when it slides in.
    void start();
    /// One slide-in step; on reaching full size the time-out starts.
    void tmrScrollTimer();
    /// The time-out: starts the slide-out.
    void tmrExitTimer();
    /// One slide-out step; closes the window when nothing would be left of it.
    void tmrScrollDownTimer();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintContents();
    void layoutText(const TPopupFont& font);
    void applyFont(QLabel* label, const TPopupFont& font);
    void setPlacedGeometry(const QRect& geometry);
    void textClicked();
    void otherReleased();
    void closeAndFree();
    QRect workArea() const;
    TPopupFont currentFont() const;
    TPopupFont currentHoverFont() const;
    TPopupFont currentTitleFont() const;

    QPointer<TNotifyPopup> m_component;
    QString m_text;
    QString m_url;
    QString m_title;
    int m_timeOut = 10;
    int m_width = 0;
    int m_height = 0;
    int m_scrollSpeed = 9;
    QColor m_gradientColor1;
    QColor m_gradientColor2;
    TOrientation m_gradientOrientation = TOrientation::mbVertical;
    Qt::CursorShape m_textCursor = Qt::ArrowCursor;
    TNotifyImageDrawMethod m_drawMethod = TNotifyImageDrawMethod::dmActualSize;
    TDefaultMonitor m_defaultMonitor = TDefaultMonitor::dmDesktop;
    bool m_scroll = false;
    bool m_hyperlink = false;
    bool m_autoOpenUrl = false;
    QPixmap m_iconBitmap;
    int m_iconLeft = 8;
    int m_iconTop = 8;
    QPixmap m_backgroundImage;
    // Used once the component is gone; while it exists the window follows its font objects.
    TPopupFont m_font;
    TPopupFont m_hoverFont;
    TPopupFont m_titleFont;

    int m_edge = teBottom;
    int m_stackOffset = 0;
    int m_popupStartX = 16;
    int m_popupStartY = 2;
    bool m_freeOnClose = true;
    bool m_closed = false;
    QRect m_geometry;
    QRect m_full;
};
