#pragma once

#include "platform/Desktop.h"

/// A screen of a given size with a work area the test chooses, to place pop-ups against any taskbar edge.
class FakeDesktop : public Desktop
{
public:
    QRect screenGeometry() const override { return screen; }
    QRect availableGeometry() const override { return available; }
    QPoint cursorPos() const override { return cursor; }
    bool statusNotifierTray() const override { return statusNotifier; }
    QString notificationArea() const override { return trayArea; }

    QRect screen{ 0, 0, 1024, 768 };
    QRect available{ 0, 0, 1024, 738 }; ///< a 30-pixel taskbar at the bottom
    QPoint cursor{ 0, 0 };
    bool statusNotifier = false; ///< an XEmbed notification area
    QString trayArea = QStringLiteral("tray"); ///< empty: no notification area
};
