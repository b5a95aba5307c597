#pragma once

#include "platform/Desktop.h"

class LinuxDesktop : public Desktop
{
public:
    QRect screenGeometry() const override;
    QRect availableGeometry() const override;
    QPoint cursorPos() const override;
    bool statusNotifierTray() const override;
    QString notificationArea() const override;
};
