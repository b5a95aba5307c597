#include "DeferredPolish.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>
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

namespace {

class HeaderAtFirstShow : public QObject
{
public:
    explicit HeaderAtFirstShow(QTableView* grid)
        : QObject(grid)
    { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* grid = static_cast<QTableView*>(watched);
            grid->removeEventFilter(this);
            grid->horizontalHeader()->show();
            grid->doItemsLayout();
            deleteLater();
        }
        return false;
    }
};

} // namespace

void deferHeaderSizing(QTableView* grid)
{
    if (grid->isVisible() || grid->horizontalHeader()->isHidden())
        return;
    grid->horizontalHeader()->hide();
    grid->installEventFilter(new HeaderAtFirstShow(grid));
}
