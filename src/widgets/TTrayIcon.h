#pragma once

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

class IconPainter;
class QWidget;
class TLightTimer;

/// Keys and mouse buttons held when a mouse event of the icon is raised.
struct TShiftState
{
    Qt::KeyboardModifiers keys;
    Qt::MouseButtons buttons;
};

/// The notification-area icon: an animated icon with a tooltip, a menu on the right button, click and double-click
/// events, sending the main window to the tray and the start-up decision whether the main window is shown.
///
/// The notification area reports less than a raw window would. What arrives is turned into the same events:
/// a left press (or click) becomes left button down followed by up, a right press becomes right down, the menu and
/// right up, a middle press becomes middle down and up, and mouse moves, enter and exit are found by looking at the
/// cursor while WantEnterExitEvents is on.
///
/// Two kinds of notification area exist on Linux. An XEmbed tray passes the icon the mouse, as above. A
/// StatusNotifierItem host (KDE Plasma, GNOME with the AppIndicator extension, wlroots panels, ...) draws the menu
/// itself, from what Qt exports of PopupMenu over D-Bus, and sends its choices back as the actions' triggers. It
/// knows no double click either: its primary activation (usually a left click) stands for the double click, the
/// gesture with which a person opens the program.
class TTrayIcon : public QObject
{
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject* sender)>;
    using TMouseEvent = std::function<void(QObject* sender, Qt::MouseButton button, TShiftState shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(QObject* sender, TShiftState shift, int x, int y)>;
    using TCycleEvent = std::function<void(QObject* sender, int nextIndex)>;
    using TStartupEvent = std::function<void(QObject* sender, bool& showMainForm)>;

    /// The owner is the window whose main window the icon hides and restores (its top-level widget).
    explicit TTrayIcon(QObject* parent = nullptr);
    ~TTrayIcon() override;

    // Properties, with the values of a new component.
    bool DesignPreview() const { return m_designPreview; }
    void setDesignPreview(bool on) { m_designPreview = on; }
    QList<QIcon> IconList() const { return m_iconList; }
    /// An empty list counts as no list.
    void setIconList(const QList<QIcon>& icons);
    bool CycleIcons() const { return m_cycleIcons; }
    void setCycleIcons(bool on);
    unsigned CycleInterval() const { return m_cycleInterval; }
    void setCycleInterval(unsigned ms);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on) { m_enabled = on; }
    QString Hint() const { return m_hint; }
    void setHint(const QString& hint);
    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool on);
    QIcon Icon() const { return m_icon; }
    void setIcon(const QIcon& icon);
    bool IconVisible() const { return m_iconVisible; }
    void setIconVisible(bool on);
    int IconIndex() const { return m_iconIndex; }
    /// Kept within the list; the icon of that index becomes the icon shown.
    void setIconIndex(int index);
    QMenu* PopupMenu() const { return m_menu; }
    /// On a StatusNotifierItem host the menu is handed to Qt, which exports it to the host.
    void setPopupMenu(QMenu* menu);
    bool LeftPopup() const { return m_leftPopup; }
    void setLeftPopup(bool on) { m_leftPopup = on; }
    bool WantEnterExitEvents() const { return m_wantEnterExit; }
    void setWantEnterExitEvents(bool on);
    bool MinimizeToTray() const { return m_minimizeToTray; }
    void setMinimizeToTray(bool on) { m_minimizeToTray = on; }

    // Events; each fires only when assigned.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TCycleEvent OnCycle;
    TNotifyEvent OnBalloonHintShow;
    TNotifyEvent OnBalloonHintHide;
    TNotifyEvent OnBalloonHintTimeout;
    TNotifyEvent OnBalloonHintClick;
    TNotifyEvent OnMinimizeToTray;
    TStartupEvent OnStartup;

    /// Ends the owner's loading: raises OnStartup, then puts the icon into the notification area (or not, as
    /// IconVisible says) and starts the animation. Call once, after the properties are set.
    void Loaded();
    /// The answer OnStartup gave; true when it was not assigned.
    bool ShowMainForm() const { return m_showMainForm; }

    virtual void AddToTray();
    virtual void RemoveFromTray();
    virtual void UpdateTray();
    /// Brings the main window back: restored from minimised, visible, in front.
    void RestoreMainWindow();
    void HideMainWindow();
    /// Nothing to do on this platform: a hidden window has no taskbar button.
    void HideTaskbarButton() { }
    void PopupAtCursor();

    /// The tooltip as sent to the notification area: Hint cut to 127 GBK bytes, or empty.
    QString tipText() const;
    /// The notification area came back (after a restart of the panel): the icon is added again when visible.
    void taskbarCreated();
    /// Whether the icon lives on a StatusNotifierItem host rather than in an XEmbed notification area.
    bool onStatusNotifierHost() const { return m_statusNotifier; }

    /// What the notification area reports, as the platform delivers it. Public so that tests drive it.
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    /// A mouse position over the icon, as found by watching the cursor.
    void mouseMovedOverIcon(const QPoint& pos);

    TLightTimer* AnimationTimer() const { return m_animationTimer; }
    TLightTimer* DoubleClickWaitTimer() const { return m_doubleClickWaitTimer; }
    TLightTimer* LeaveTimer() const { return m_leaveTimer; }
    TLightTimer* TrayWatchTimer() const { return m_trayWatchTimer; }
    QSystemTrayIcon* systemTrayIcon() const { return m_tray; }

protected:
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoCycle(int nextIndex);
    virtual void DoMouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseMove(TShiftState shift, int x, int y);
    virtual void DoMouseEnter();
    virtual void DoMouseExit();
    virtual void SendToTray();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* ownerWindow() const;
    void applyCycleIcons();
    void animationTick();
    void doubleClickWaitTick();
    void leaveTick();
    void trayWatchTick();
    void createSystemTrayIcon();
    void takeOverPainting();
    void exportedMenuDestroyed();
    void hostActivated();
    void runDefaultItem();
    void leftDown();
    void leftUp();
    void mouseDown(Qt::MouseButton button);
    void mouseUp(Qt::MouseButton button);
    TShiftState shiftState(Qt::MouseButton button) const;
    QPoint cursor() const;

    bool m_designPreview = false;
    QList<QIcon> m_iconList;
    bool m_cycleIcons = false;
    unsigned m_cycleInterval = 0;
    bool m_enabled = true;
    QString m_hint;
    bool m_showHint = true;
    QIcon m_icon;
    bool m_iconVisible = false;
    int m_iconIndex = 0;
    QPointer<QMenu> m_menu;
    bool m_leftPopup = false;
    bool m_wantEnterExit = false;
    bool m_minimizeToTray = false;

    bool m_loading = true;
    bool m_showMainForm = true;
    bool m_pressedOnIcon = false;
    bool m_singleClickPending = false;
    bool m_doubleClickSeen = false;
    bool m_pointerOutside = true;
    bool m_statusNotifier = false;
    QString m_trayArea; ///< the notification area the icon was last added to, as Desktop names it
    QString m_seenArea; ///< the one seen at the last look
    QPoint m_lastPos;
    qint64 m_shownIconKey = 0; ///< the picture m_tray shows (QIcon::cacheKey), so an unchanged one is not sent again
    QString m_shownTip; ///< the tooltip m_tray shows

    QSystemTrayIcon* m_tray = nullptr;
    /// Paints m_tray's icon in an XEmbed notification area in Qt's place; null where Qt paints it.
    std::unique_ptr<IconPainter> m_painter;
    TLightTimer* m_animationTimer = nullptr;
    TLightTimer* m_doubleClickWaitTimer = nullptr;
    TLightTimer* m_leaveTimer = nullptr;
    TLightTimer* m_trayWatchTimer = nullptr;
    QPointer<QWidget> m_owner;
};
