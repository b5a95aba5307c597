#include "TNotifyPopup.h"

TNotifyPopup::TNotifyPopup(QObject* parent)
    : QObject(parent)
{
}

bool TNotifyPopup::ShowNotification() { return false; }
