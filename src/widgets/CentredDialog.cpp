#include "CentredDialog.h"

#include "WindowPlacement.h"
#include "platform/Guarded.h"

#include <QShowEvent>

void CentredDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    WindowPlacement::centreOnScreen(this);
    runGuarded([this] { FormShow(); });
}

void CentredDialog::done(int result)
{
    QDialog::done(result);
    runGuarded([this] { FormClose(); });
}
