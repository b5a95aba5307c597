#pragma once

#include "platform/Desktop.h"

#include <QAbstractNativeEventFilter>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSize>

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <memory>
#include <vector>

class QWidget;

/// Paints a toolkit window of the X server with XRender: each icon is uploaded once as a picture at the window's
/// size, and showing it is a clear and a composite onto the window. The widget's own repaints are switched off
/// while the painter lives; an exposure or a resize of the window, seen in the toolkit's event stream, paints the
/// current icon again.
class XcbIconPainter : public IconPainter, private QAbstractNativeEventFilter
{
public:
    /// Null when the program does not run on X, the server lacks XRender, or the window is of a kind this cannot
    /// paint.
    static std::unique_ptr<XcbIconPainter> attach(QWidget* widget);
    ~XcbIconPainter() override;

    bool alive() const override;
    void show(const QIcon& icon) override;

private:
    struct Frame
    {
        qint64 key;
        xcb_render_picture_t picture;
    };

    XcbIconPainter() = default;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void paintLater();
    void paint();
    xcb_render_picture_t pictureOf(const QIcon& icon);
    void dropFrames();

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_window_t m_window = 0;
    xcb_render_picture_t m_windowPicture = 0;
    xcb_render_pictformat_t m_argbFormat = 0;
    bool m_translucent = false; ///< a 32-bit window, cleared to transparent rather than to its background
    bool m_windowGone = false;
    bool m_paintQueued = false;
    QSize m_size;
    QPointer<QWidget> m_widget;
    QIcon m_icon;
    std::vector<Frame> m_frames; ///< the icons shown so far, at m_size
    QObject m_queue; ///< receives the queued repaints, which die with it
};
