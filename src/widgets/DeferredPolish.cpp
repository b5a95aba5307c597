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
    HeaderAtFirstShow(QTableView* grid, bool showHeader, std::function<void()> atFirstShow)
        : QObject(grid)
        , m_showHeader(showHeader)
        , m_atFirstShow(std::move(atFirstShow))
    { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* grid = static_cast<QTableView*>(watched);
            grid->removeEventFilter(this);
            if (m_atFirstShow)
                m_atFirstShow();
            if (m_showHeader)
                grid->horizontalHeader()->show();
            grid->doItemsLayout();
            deleteLater();
        }
        return false;
    }

private:
    bool m_showHeader;
    std::function<void()> m_atFirstShow;
};

} // namespace

void deferHeaderSizing(QTableView* grid, std::function<void()> atFirstShow)
{
    if (grid->isVisible()) {
        if (atFirstShow)
            atFirstShow();
        return;
    }
    const bool showHeader = !grid->horizontalHeader()->isHidden();
    grid->horizontalHeader()->hide();
    grid->installEventFilter(new HeaderAtFirstShow(grid, showHeader, std::move(atFirstShow)));
}
