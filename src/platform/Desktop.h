#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>

class QIcon;

/// Paints the program's icon into the window the toolkit docked in the notification area, in the toolkit's place:
/// each picture goes to the display once, and showing one is a request or two without a reply, where a repaint by
/// the toolkit costs an upload and a round trip every time. The window stays the toolkit's in all else (mouse,
/// tooltip, docking).
class IconPainter
{
public:
    virtual ~IconPainter() = default;
    /// False once the window it paints is gone; such a painter shows nothing any more.
    virtual bool alive() const = 0;
    /// Shows icon from now on, also after the window was covered or resized.
    virtual void show(const QIcon& icon) = 0;
};

/// The screen the program's own windows are placed on.
class Desktop
{
public:
    virtual ~Desktop() = default;
    /// Whole screen; an empty rectangle when there is no screen.
    virtual QRect screenGeometry() const = 0;
    /// The work area, the screen less the panels; an empty rectangle when there is no screen.
    virtual QRect availableGeometry() const = 0;
    virtual QPoint cursorPos() const = 0;

    /// Whether tray icons go to a StatusNotifierItem host, which draws an icon's menu itself and reports one
    /// activation instead of the clicks behind it, rather than to an XEmbed notification area that passes the icon
    /// the mouse. The choice is made once, when the program's first tray icon is made, and holds for its whole life.
    virtual bool statusNotifierTray() const = 0;
    /// Who runs the notification area the tray icons go to: a name that is new whenever the notification area was
    /// started anew, empty while there is none.
    virtual QString notificationArea() const = 0;
    /// A painter for the window of the program's icon in an XEmbed notification area; null while there is no such
    /// window, or where it cannot be painted that way, and the toolkit paints the icon.
    virtual std::unique_ptr<IconPainter> trayIconPainter() const { return nullptr; }
};
