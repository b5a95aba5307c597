#pragma once

#include <QPoint>
#include <QRect>

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
};
