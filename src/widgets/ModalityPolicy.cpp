#include "ModalityPolicy.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace {

QWindow* shownWindowOf(const QWidget* widget)
{
    if (!widget)
        return nullptr;
    const QWidget* window = widget->window();
    return window->isVisible() ? window->windowHandle() : nullptr;
}

bool isOpenModal(const QWindow* window)
{
    return window->isVisible() && window->modality() != Qt::NonModal;
}

} // namespace

ModalityPolicy::ModalityPolicy(QObject* parent)
    : QObject(parent)
{ }

void ModalityPolicy::setMainWindow(QWidget* window)
{
    m_mainWindow = window;
}

bool ModalityPolicy::isBlocked(const QWindow* window, const QWindow* ignoring)
{
    if (!window)
        return false;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (const QWindow* modal : windows) {
        if (modal == window || modal == ignoring || !isOpenModal(modal))
            continue;
        // A modal window that escaped the policy still blocks everything but its own chain, as Qt has it.
        if (modal->modality() == Qt::ApplicationModal && !window->isAncestorOf(modal, QWindow::IncludeTransients))
            return true;
        for (const QWindow* owner = modal->transientParent(); owner; owner = owner->transientParent()) {
            if (owner == window)
                return true;
        }
    }
    return false;
}

QWindow* ModalityPolicy::ownerFor(const QWidget* modal, const QWidget* mainWindow)
{
    const QWindow* self = modal->windowHandle();
    if (QWindow* parent = shownWindowOf(modal->parentWidget()); parent && parent != self && !isBlocked(parent, self))
        return parent;
    if (QWindow* innermost = QGuiApplication::modalWindow(); innermost && innermost != self)
        return innermost;
    QWindow* main = shownWindowOf(mainWindow);
    return main != self ? main : nullptr;
}

bool ModalityPolicy::eventFilter(QObject* watched, QEvent* event)
{
    // The show event reaches a widget before its native window is made visible, which is when Qt decides what a
    // modal window blocks; so the owner is chosen afresh at every showing.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && widget->testAttribute(Qt::WA_ShowModal) && widget->windowHandle() && type != Qt::Popup
            && type != Qt::ToolTip) {
            QWindow* window = widget->windowHandle();
            window->setTransientParent(ownerFor(widget, m_mainWindow));
            // The widget passes its modality on only when it becomes modal; exec() has made it so already.
            widget->setWindowModality(Qt::WindowModal);
            window->setModality(Qt::WindowModal);
        }
    }
    return QObject::eventFilter(watched, event);
}
