#include "NotifyPopupAdapter.h"

#include "widgets/TNotifyPopup.h"

void NotifyPopupAdapter::show(int width, int height, int timeOut, const QString& title, const QString& text)
{
    m_popup->setWidth(width);
    m_popup->setHeight(height);
    m_popup->setTimeOut(timeOut);
    m_popup->setTitle(title);
    m_popup->setText(text);
    // A pop-up that finds no room is simply not shown; the sound and the program still follow.
    m_popup->ShowNotification();
}
