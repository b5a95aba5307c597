#include "DeferredPolish.h"

#include <QEvent>
#include <QWidget>

DeferredPolish::DeferredPolish(QObject* parent)
    : QObject(parent)
{ }

bool DeferredPolish::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::PolishRequest || !watched->isWidgetType())
        return false;
    // QWidget::ensurePolished, run when the window is shown, polishes it and every widget in it.
    return !static_cast<QWidget*>(watched)->window()->isVisible();
}
