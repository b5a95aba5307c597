#pragma once

#include <QWidget>
#include <QtGlobal>
#include <memory>
#include <typeinfo>
#include <vector>

class DeferredPolish;
class SoundPlayer;

/// The composition root. Creates every window of the program once, in the fixed order (the main window first, the
/// desktop clock last), and hands each, through its constructor, what it uses of the windows created before it:
/// the shared reminder player, the main window's pop-up and skin components, the queries and text boxes it works
/// on. A window that opens windows created after it gets them once they exist, through its setOpens(). Each
/// window's creation handler runs during its creation. Nothing else holds a window: there are no global window
/// pointers. The windows live until the object is destroyed, the last created going first.
class StartUp
{
public:
    StartUp();
    ~StartUp();
    StartUp(const StartUp&) = delete;
    StartUp& operator=(const StartUp&) = delete;

    /// The one window of class T (include its header).
    template <typename T> T& window() const
    {
        for (const auto& window : m_windows) {
            if (auto* found = dynamic_cast<T*>(window.get()))
                return *found;
        }
        qFatal("StartUp: no window of class %s", typeid(T).name());
    }

    /// The shared reminder player, the add window's MediaPlayer1.
    SoundPlayer& reminderPlayer() const { return *m_reminderPlayer; }

private:
    template <typename T, typename... Args> T* create(Args&&... args);

    std::unique_ptr<DeferredPolish> m_deferredPolish; ///< hidden windows are polished when first shown
    std::unique_ptr<SoundPlayer> m_reminderPlayer; ///< outlives every window that uses it
    std::vector<std::unique_ptr<QWidget>> m_windows; ///< in creation order
};
