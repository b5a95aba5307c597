#pragma once

#include "ReminderEngine.h"

class TNotifyPopup;

/// Shows the reminder engine's pop-ups on a pop-up component (the main window's NotifyPopup1).
class NotifyPopupAdapter : public ReminderPopup
{
public:
    explicit NotifyPopupAdapter(TNotifyPopup* popup)
        : m_popup(popup)
    { }
    void show(int width, int height, int timeOut, const QString& title, const QString& text) override;

private:
    TNotifyPopup* m_popup;
};
