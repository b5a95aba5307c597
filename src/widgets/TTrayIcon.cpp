#include "TTrayIcon.h"

#include "TLightTimer.h"
#include "platform/Desktop.h"
#include "platform/Services.h"
#include "text/Gbk.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QStyleHints>
#include <QWidget>

#include <algorithm>

namespace {
constexpr int kTipBytes = 127;
constexpr int kLeaveMs = 20;
constexpr int kTrayWatchMs = 1000;
} // namespace

TTrayIcon::TTrayIcon(QObject* parent)
    : QObject(parent)
    , m_animationTimer(new TLightTimer(this))
    , m_doubleClickWaitTimer(new TLightTimer(this))
    , m_leaveTimer(new TLightTimer(this, kLeaveMs))
    , m_trayWatchTimer(new TLightTimer(this, kTrayWatchMs))
{
    m_animationTimer->setHandler([this] { animationTick(); });
    m_doubleClickWaitTimer->setHandler([this] { doubleClickWaitTick(); });
    m_leaveTimer->setHandler([this] { leaveTick(); });
    m_trayWatchTimer->setHandler([this] { trayWatchTick(); });
    // The look for a new notification area comes with the other once-a-second ticks, not on a wake-up of its own.
    m_trayWatchTimer->setOnSecondBeat(true);

    createSystemTrayIcon();
    // Qt has chosen the kind of notification area as it made the icon; the desktop gives the same answer.
    m_statusNotifier = Services::desktop().statusNotifierTray();

    if (auto* widget = qobject_cast<QWidget*>(parent)) {
        m_owner = widget->window();
        m_owner->installEventFilter(this);
    }
}

TTrayIcon::~TTrayIcon()
{
    if (m_owner)
        m_owner->removeEventFilter(this);
    m_iconVisible = false;
    m_painter.reset();
    m_tray->hide();
}

void TTrayIcon::createSystemTrayIcon()
{
    m_tray = new QSystemTrayIcon(this);
    m_shownIconKey = 0;
    m_shownTip.clear();
    connect(m_tray, &QSystemTrayIcon::activated, this, &TTrayIcon::trayActivated);
    // Balloon reports do not depend on Enabled.
    connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] {
        if (OnBalloonHintClick)
            OnBalloonHintClick(this);
    });
}

QWidget* TTrayIcon::ownerWindow() const
{
    return m_owner.data();
}

void TTrayIcon::setIconList(const QList<QIcon>& icons)
{
    m_iconList = icons;
    if (m_iconList.isEmpty())
        m_iconIndex = 0;
}

void TTrayIcon::setCycleIcons(bool on)
{
    m_cycleIcons = on;
    if (!m_loading)
        applyCycleIcons();
}

void TTrayIcon::setCycleInterval(unsigned ms)
{
    m_cycleInterval = ms;
    if (!m_loading)
        applyCycleIcons();
}

void TTrayIcon::applyCycleIcons()
{
    if (!m_cycleIcons) {
        m_animationTimer->Stop();
        return;
    }
    setIconIndex(0);
    m_animationTimer->setInterval(static_cast<int>(std::min<unsigned>(m_cycleInterval, INT_MAX)));
    m_animationTimer->Start(); // an interval of 0 fails, so nothing animates
}

void TTrayIcon::setHint(const QString& hint)
{
    m_hint = hint;
    UpdateTray();
}

void TTrayIcon::setShowHint(bool on)
{
    m_showHint = on;
    UpdateTray();
}

void TTrayIcon::setIcon(const QIcon& icon)
{
    m_icon = icon;
    UpdateTray();
}

void TTrayIcon::setIconVisible(bool on)
{
    m_iconVisible = on;
    if (m_loading)
        return;
    if (on)
        AddToTray();
    else
        RemoveFromTray();
}

void TTrayIcon::setIconIndex(int index)
{
    if (m_iconList.isEmpty()) {
        m_iconIndex = 0;
        return;
    }
    m_iconIndex = std::clamp(index, 0, static_cast<int>(m_iconList.size()) - 1);
    setIcon(m_iconList.at(m_iconIndex));
}

void TTrayIcon::setPopupMenu(QMenu* menu)
{
    if (m_menu && m_statusNotifier)
        disconnect(m_menu, &QObject::destroyed, this, nullptr);
    m_menu = menu;
    // An XEmbed tray is left without the menu: Qt would open it on every right press, Enabled or not, besides
    // PopupAtCursor.
    if (!m_statusNotifier || !menu)
        return;
    m_tray->setContextMenu(menu);
    connect(menu, &QObject::destroyed, this, &TTrayIcon::exportedMenuDestroyed);
}

void TTrayIcon::exportedMenuDestroyed()
{
    // Qt's StatusNotifierItem goes on using a menu it exported, and cannot be told to let go of it: a later change
    // of menu or a new registration would touch the freed menu. An icon made anew, with no menu, takes the place of
    // the one that holds it; the old one leaves the host while the menu still lives (it is freed after this signal).
    QSystemTrayIcon* old = m_tray;
    createSystemTrayIcon();
    UpdateTray();
    delete old;
    // The new icon is shown from the event loop: when the menu goes because its window is being destroyed, this
    // icon goes with it before then, and the host never sees it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_iconVisible && !m_loading && !m_tray->isVisible())
                m_tray->show();
        },
        Qt::QueuedConnection);
}

void TTrayIcon::setWantEnterExitEvents(bool on)
{
    m_wantEnterExit = on;
    if (m_loading)
        return;
    if (on)
        m_leaveTimer->Start();
    else
        m_leaveTimer->Stop();
}

void TTrayIcon::Loaded()
{
    if (!m_loading)
        return;
    m_loading = false;
    if (m_owner) {
        bool show = true;
        if (OnStartup)
            OnStartup(this, show);
        m_showMainForm = show;
        if (!show)
            HideMainWindow();
    }
    UpdateTray();
    if (m_iconVisible)
        AddToTray();
    else
        RemoveFromTray();
    applyCycleIcons();
    setWantEnterExitEvents(m_wantEnterExit);
    m_trayArea = m_seenArea = Services::desktop().notificationArea();
    m_trayWatchTimer->Start();
}

QString TTrayIcon::tipText() const
{
    if (m_hint.isEmpty() || !m_showHint)
        return QString();
    return Gbk::truncate(m_hint, kTipBytes);
}

void TTrayIcon::AddToTray()
{
    m_iconVisible = true;
    UpdateTray();
    m_tray->show();
    takeOverPainting();
}

void TTrayIcon::RemoveFromTray()
{
    m_iconVisible = false;
    UpdateTray();
    m_painter.reset();
    m_tray->hide();
}

void TTrayIcon::takeOverPainting()
{
    // Qt repaints the docked icon with an upload and a round trip to the display for every picture, which the
    // animation asks for several times a second for the life of the process. Qt makes the docked window only once
    // a notification area is there, and makes it anew after losing it, so this is tried again at every look.
    if (m_statusNotifier || !m_iconVisible || m_loading || (m_painter && m_painter->alive()))
        return;
    m_painter.reset(); // before the next one takes the window: the one it replaces hands it back to Qt
    m_painter = Services::desktop().trayIconPainter();
    if (m_painter)
        m_painter->show(m_icon);
}

void TTrayIcon::UpdateTray()
{
    // Only what changed goes out. Every new picture costs a repaint and a flush to the X server in an XEmbed tray,
    // and a signal over the bus that makes a StatusNotifierItem host fetch the picture again; the animation would
    // otherwise send each frame twice and the unchanged tooltip with it, several times a second.
    if (m_icon.cacheKey() != m_shownIconKey) {
        m_shownIconKey = m_icon.cacheKey();
        m_tray->setIcon(m_icon);
        if (m_painter)
            m_painter->show(m_icon);
    }
    const QString tip = tipText();
    if (tip != m_shownTip) {
        m_shownTip = tip;
        m_tray->setToolTip(tip);
    }
}

void TTrayIcon::taskbarCreated()
{
    if (!m_iconVisible)
        return;
    // A new notification area knows nothing of the old icon; hiding first makes the add a real one.
    m_painter.reset();
    m_tray->hide();
    AddToTray();
}

void TTrayIcon::RestoreMainWindow()
{
    QWidget* window = ownerWindow();
    if (!window)
        return;
    if (window->windowState() & Qt::WindowMinimized)
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void TTrayIcon::HideMainWindow()
{
    QWidget* window = ownerWindow();
    // While the main window is still being created there is nothing to hide; it is simply not shown.
    if (!window || !window->isVisible())
        return;
    window->hide();
    HideTaskbarButton();
}

void TTrayIcon::SendToTray()
{
    HideMainWindow();
    AddToTray();
}

void TTrayIcon::PopupAtCursor()
{
    if (!m_menu)
        return;
    m_menu->popup(cursor());
}

QPoint TTrayIcon::cursor() const
{
    return Services::desktop().cursorPos();
}

TShiftState TTrayIcon::shiftState(Qt::MouseButton button) const
{
    const Qt::KeyboardModifiers keys
        = QGuiApplication::queryKeyboardModifiers() & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
    return { keys, button == Qt::NoButton ? Qt::MouseButtons() : Qt::MouseButtons(button) };
}

void TTrayIcon::mouseDown(Qt::MouseButton button)
{
    const QPoint pos = cursor();
    DoMouseDown(button, shiftState(button), pos.x(), pos.y());
}

void TTrayIcon::mouseUp(Qt::MouseButton button)
{
    const QPoint pos = cursor();
    DoMouseUp(button, shiftState(button), pos.x(), pos.y());
}

void TTrayIcon::trayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (!m_enabled)
        return;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (m_statusNotifier) {
            hostActivated();
            break;
        }
        // Only the press (or the whole click) is reported; the release follows at once.
        leftDown();
        leftUp();
        break;
    case QSystemTrayIcon::DoubleClick:
        m_singleClickPending = false;
        m_doubleClickSeen = true;
        DoDblClick();
        runDefaultItem();
        mouseUp(Qt::LeftButton);
        break;
    case QSystemTrayIcon::Context:
        mouseDown(Qt::RightButton);
        PopupAtCursor();
        mouseUp(Qt::RightButton);
        break;
    case QSystemTrayIcon::MiddleClick:
        mouseDown(Qt::MiddleButton);
        mouseUp(Qt::MiddleButton);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void TTrayIcon::runDefaultItem()
{
    if (m_menu && !m_leftPopup) {
        if (QAction* action = m_menu->defaultAction())
            action->trigger();
    }
}

void TTrayIcon::hostActivated()
{
    // A whole click, reported once: the host has no double click, so this stands for it where the owner handles
    // one (that is how the owner is opened), and is a plain click otherwise.
    mouseDown(Qt::LeftButton);
    if (m_leftPopup)
        PopupAtCursor();
    if (OnDblClick) {
        DoDblClick();
        runDefaultItem();
    } else {
        DoClick();
    }
    mouseUp(Qt::LeftButton);
}

void TTrayIcon::leftDown()
{
    if (OnDblClick) {
        m_doubleClickWaitTimer->setInterval(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        m_doubleClickWaitTimer->Start();
    }
    mouseDown(Qt::LeftButton);
    m_pressedOnIcon = true;
    if (m_leftPopup)
        PopupAtCursor();
}

void TTrayIcon::leftUp()
{
    if (m_pressedOnIcon) {
        m_singleClickPending = true;
        if (!m_doubleClickWaitTimer->isRunning()) {
            m_singleClickPending = false;
            m_pressedOnIcon = false;
            DoClick();
        }
    }
    m_pressedOnIcon = false;
    mouseUp(Qt::LeftButton);
}

void TTrayIcon::doubleClickWaitTick()
{
    m_doubleClickWaitTimer->Stop();
    if (!m_doubleClickSeen && m_singleClickPending) {
        m_singleClickPending = false;
        DoClick();
    }
    m_doubleClickSeen = false;
}

void TTrayIcon::mouseMovedOverIcon(const QPoint& pos)
{
    if (!m_enabled)
        return;
    if (m_wantEnterExit && m_pointerOutside) {
        DoMouseEnter();
        m_pointerOutside = false;
    }
    DoMouseMove(shiftState(Qt::NoButton), pos.x(), pos.y());
    m_lastPos = pos;
}

void TTrayIcon::leaveTick()
{
    // The notification area reports no moves; the cursor over the icon's rectangle stands for them.
    const QPoint pos = cursor();
    const QRect area = m_tray->geometry();
    if (area.isValid() && area.contains(pos)) {
        if (pos != m_lastPos || m_pointerOutside)
            mouseMovedOverIcon(pos);
    } else if (!m_pointerOutside && pos != m_lastPos) {
        m_pointerOutside = true;
        DoMouseExit();
    }
}

void TTrayIcon::trayWatchTick()
{
    // A notification area is taken up one look after it was first seen: a StatusNotifierItem watcher owns its bus
    // name a moment before it answers, and an icon that registers in that moment is lost.
    takeOverPainting();
    const QString area = Services::desktop().notificationArea();
    const bool settled = area == m_seenArea;
    m_seenArea = area;
    if (!settled || area == m_trayArea)
        return;
    m_trayArea = area;
    if (!area.isEmpty())
        taskbarCreated();
}

void TTrayIcon::DoClick()
{
    if (OnClick)
        OnClick(this);
}

void TTrayIcon::DoDblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TTrayIcon::DoCycle(int nextIndex)
{
    if (OnCycle)
        OnCycle(this, nextIndex);
}

void TTrayIcon::DoMouseDown(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TTrayIcon::DoMouseUp(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TTrayIcon::DoMouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TTrayIcon::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TTrayIcon::DoMouseExit()
{
    if (OnMouseExit)
        OnMouseExit(this);
}

void TTrayIcon::animationTick()
{
    if (m_iconList.isEmpty())
        return;
    const int count = static_cast<int>(m_iconList.size());
    setIcon(m_iconList.at(m_iconIndex));
    // The index the next step shows, so that a handler never gets one past the end of the list.
    const int next = m_iconIndex < count - 1 ? m_iconIndex + 1 : 0;
    DoCycle(next);
    setIconIndex(next);
}

bool TTrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_owner && event->type() == QEvent::WindowStateChange && m_minimizeToTray
        && (m_owner->windowState() & Qt::WindowMinimized)) {
        // Hiding from inside the state change confuses some window managers; do it right after.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (OnMinimizeToTray)
                    OnMinimizeToTray(this);
                SendToTray();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
