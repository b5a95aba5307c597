#include "LinuxDesktop.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

QRect LinuxDesktop::screenGeometry() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QRect LinuxDesktop::availableGeometry() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QPoint LinuxDesktop::cursorPos() const
{
    return QCursor::pos();
}
