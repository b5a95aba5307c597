#include "TTrayIcon.h"

TTrayIcon::TTrayIcon(QObject* parent)
    : QObject(parent)
{
}
