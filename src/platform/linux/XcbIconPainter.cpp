#include "XcbIconPainter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>

namespace {
// A few icons at one size: the animation's frames and the icon the owner set before it started.
constexpr std::size_t kMaxFrames = 16;

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> ReplyPtr<Reply> owned(Reply* reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

/// The picture formats of the server: the 32-bit ARGB one the icons are uploaded in, and the window visual's.
struct Formats
{
    xcb_render_pictformat_t argb = 0;
    xcb_render_pictformat_t visual = 0;
};

Formats findFormats(xcb_connection_t* connection, xcb_visualid_t visual)
{
    Formats found;
    auto reply
        = owned(xcb_render_query_pict_formats_reply(connection, xcb_render_query_pict_formats(connection), nullptr));
    if (!reply)
        return found;
    for (auto it = xcb_render_query_pict_formats_formats_iterator(reply.get()); it.rem;
         xcb_render_pictforminfo_next(&it)) {
        const xcb_render_pictforminfo_t& info = *it.data;
        const xcb_render_directformat_t& d = info.direct;
        if (info.type == XCB_RENDER_PICT_TYPE_DIRECT && info.depth == 32 && d.alpha_mask == 0xff && d.alpha_shift == 24
            && d.red_mask == 0xff && d.red_shift == 16 && d.green_mask == 0xff && d.green_shift == 8
            && d.blue_mask == 0xff && d.blue_shift == 0)
            found.argb = info.id;
    }
    for (auto screens = xcb_render_query_pict_formats_screens_iterator(reply.get()); screens.rem;
         xcb_render_pictscreen_next(&screens)) {
        for (auto depths = xcb_render_pictscreen_depths_iterator(screens.data); depths.rem;
             xcb_render_pictdepth_next(&depths)) {
            for (auto visuals = xcb_render_pictdepth_visuals_iterator(depths.data); visuals.rem;
                 xcb_render_pictvisual_next(&visuals)) {
                if (visuals.data->visual == visual)
                    found.visual = visuals.data->format;
            }
        }
    }
    return found;
}
} // namespace

std::unique_ptr<XcbIconPainter> XcbIconPainter::attach(QWidget* widget)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !widget || !widget->internalWinId())
        return nullptr;
    xcb_connection_t* connection = x11->connection();
    const xcb_query_extension_reply_t* render = xcb_get_extension_data(connection, &xcb_render_id);
    // Icons are uploaded in the host's byte order, as QImage holds them.
    const bool lsbFirst = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
    if (!render || !render->present
        || xcb_get_setup(connection)->image_byte_order
            != (lsbFirst ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST))
        return nullptr;
    owned(xcb_render_query_version_reply(connection, xcb_render_query_version(connection, 0, 11), nullptr));

    const auto window = static_cast<xcb_window_t>(widget->internalWinId());
    auto attributes
        = owned(xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
    auto geometry = owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!attributes || !geometry || attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT)
        return nullptr;
    const Formats formats = findFormats(connection, attributes->visual);
    if (!formats.argb || !formats.visual)
        return nullptr;

    std::unique_ptr<XcbIconPainter> painter(new XcbIconPainter);
    painter->m_connection = connection;
    painter->m_root = geometry->root;
    painter->m_window = window;
    painter->m_argbFormat = formats.argb;
    // A 32-bit window is blended by the notification area and is cleared to transparent. Any other takes its
    // parent's background (Qt gives such a tray window a parent-relative one), which a clear of the window repaints.
    painter->m_translucent = geometry->depth == 32;
    painter->m_size = QSize(geometry->width, geometry->height);
    painter->m_widget = widget;
    painter->m_windowPicture = xcb_generate_id(connection);
    xcb_render_create_picture(connection, painter->m_windowPicture, window, formats.visual, 0, nullptr);
    widget->setUpdatesEnabled(false);
    QCoreApplication::instance()->installNativeEventFilter(painter.get());
    return painter;
}

XcbIconPainter::~XcbIconPainter()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
    dropFrames();
    // The window's own picture is freed by the server with the window; freeing it here could name a window
    // that has just gone.
    if (m_widget)
        m_widget->setUpdatesEnabled(true);
    xcb_flush(m_connection);
}

bool XcbIconPainter::alive() const
{
    return !m_windowGone && m_widget && m_widget->internalWinId() == m_window;
}

void XcbIconPainter::show(const QIcon& icon)
{
    m_icon = icon;
    paint();
}

void XcbIconPainter::dropFrames()
{
    for (const Frame& frame : m_frames)
        xcb_render_free_picture(m_connection, frame.picture);
    m_frames.clear();
}

xcb_render_picture_t XcbIconPainter::pictureOf(const QIcon& icon)
{
    for (const Frame& frame : m_frames) {
        if (frame.key == icon.cacheKey())
            return frame.picture;
    }
    if (m_frames.size() >= kMaxFrames)
        dropFrames();

    const qreal ratio = m_widget->devicePixelRatioF();
    QImage image(m_size, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        icon.paint(&painter, QRect(QPoint(), (QSizeF(m_size) / ratio).toSize()));
    }

    const auto width = static_cast<uint16_t>(m_size.width());
    const auto height = static_cast<uint16_t>(m_size.height());
    const xcb_pixmap_t pixmap = xcb_generate_id(m_connection);
    xcb_create_pixmap(m_connection, 32, pixmap, m_root, width, height);
    const xcb_gcontext_t gc = xcb_generate_id(m_connection);
    xcb_create_gc(m_connection, gc, pixmap, 0, nullptr);
    // Row by row where the whole picture would exceed one request: a notification area may hand out large icons.
    const uint32_t maxBytes = xcb_get_maximum_request_length(m_connection) * 4 - 64;
    const int rowBytes = static_cast<int>(image.bytesPerLine());
    const int rowsPerRequest = std::max(1, static_cast<int>(maxBytes / static_cast<uint32_t>(rowBytes)));
    for (int y = 0; y < height; y += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, height - y);
        xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, width, static_cast<uint16_t>(rows), 0,
                      static_cast<int16_t>(y), 0, 32, static_cast<uint32_t>(rows * rowBytes), image.constScanLine(y));
    }
    xcb_free_gc(m_connection, gc);
    const xcb_render_picture_t picture = xcb_generate_id(m_connection);
    xcb_render_create_picture(m_connection, picture, pixmap, m_argbFormat, 0, nullptr);
    xcb_free_pixmap(m_connection, pixmap); // the picture keeps it
    m_frames.push_back({ icon.cacheKey(), picture });
    return picture;
}

void XcbIconPainter::paint()
{
    if (!alive() || m_size.isEmpty())
        return;
    const auto width = static_cast<uint16_t>(m_size.width());
    const auto height = static_cast<uint16_t>(m_size.height());
    if (m_translucent) {
        const xcb_render_color_t clear{ 0, 0, 0, 0 };
        const xcb_rectangle_t all{ 0, 0, width, height };
        xcb_render_fill_rectangles(m_connection, XCB_RENDER_PICT_OP_SRC, m_windowPicture, clear, 1, &all);
    } else {
        xcb_clear_area(m_connection, 0, m_window, 0, 0, 0, 0);
    }
    if (!m_icon.isNull()) {
        xcb_render_composite(m_connection, XCB_RENDER_PICT_OP_OVER, pictureOf(m_icon), XCB_RENDER_PICTURE_NONE,
                             m_windowPicture, 0, 0, 0, 0, 0, 0, width, height);
    }
    xcb_flush(m_connection);
}

void XcbIconPainter::paintLater()
{
    // After the toolkit has seen the same event, so that nothing it does for it lands on top.
    if (m_paintQueued)
        return;
    m_paintQueued = true;
    QMetaObject::invokeMethod(
        &m_queue,
        [this] {
            m_paintQueued = false;
            paint();
        },
        Qt::QueuedConnection);
}

bool XcbIconPainter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_EXPOSE: {
        const auto* expose = reinterpret_cast<const xcb_expose_event_t*>(event);
        if (expose->window == m_window && expose->count == 0)
            paintLater();
        break;
    }
    case XCB_CONFIGURE_NOTIFY: {
        const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (configure->window == m_window && QSize(configure->width, configure->height) != m_size) {
            m_size = QSize(configure->width, configure->height);
            dropFrames();
            paintLater();
        }
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == m_window) {
            m_windowGone = true;
            // Qt may give the widget a new window later (a notification area that went and came back); until
            // a painter takes that one over, Qt paints it.
            if (m_widget)
                m_widget->setUpdatesEnabled(true);
        }
        break;
    default:
        break;
    }
    return false;
}
