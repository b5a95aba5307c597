#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

/// Decides which windows a modal window blocks: the window it was opened from and, through that window, the ones
/// that one was opened from. Every other window keeps taking input, above all the windows that come up while the
/// modal window is open: reminder pop-ups, today's plan, the update wizard, the tray icon and its menu, and the
/// boxes those raise. A person in a dialog can still click a reminder or stop its sound.
///
/// Qt's default for a modal dialog is application-modal: every other window of the process is blocked, windows
/// created afterwards included. This policy, installed on the application, turns every modal window as it is shown
/// into a window-modal one whose transient parent is its owner. Qt blocks exactly the owner's transient chain then
/// (QGuiApplicationPrivate::isWindowBlocked), and menus and tool tips are never blocked anyway. The owner is:
///  1. the window of the modal window's parent widget, when that window is shown and not blocked itself;
///  2. else the modal window opened last that is still open;
///  3. else the main window, when it is shown;
///  4. else none, and the modal window blocks nothing (only the tray icon or the clock could be behind it).
class ModalityPolicy : public QObject
{
    Q_OBJECT
public:
    explicit ModalityPolicy(QObject* parent = nullptr);

    /// The owner of last resort (rule 3).
    void setMainWindow(QWidget* window);

    /// The window the given modal window is made window-modal to, were it shown now; null for none.
    static QWindow* ownerFor(const QWidget* modal, const QWidget* mainWindow);

    /// Whether a window takes no input now because an open modal window was opened from it (directly or not).
    static bool isBlocked(const QWindow* window, const QWindow* ignoring = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_mainWindow;
};
