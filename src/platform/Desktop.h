#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

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
};
