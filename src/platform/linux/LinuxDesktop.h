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
    std::unique_ptr<IconPainter> trayIconPainter() const override;

private:
    mutable quintptr m_refusedTrayWindow = 0;
};
