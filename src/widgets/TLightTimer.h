#pragma once

#include <QObject>

#include <functional>

class QTimer;
class SecondTimer;

/// A small timer with an on/off state of its own, as the tray icon uses it: starting with an interval of 0 fails,
/// a new interval restarts a running timer, and an auto-disabling timer stops after its first tick.
class TLightTimer : public QObject
{
    Q_OBJECT
public:
    explicit TLightTimer(QObject* parent = nullptr, int interval = 1000);
    ~TLightTimer() override;

    int Interval() const { return m_interval; }
    /// A new value restarts a running timer; 0 stops it while it stays marked enabled.
    void setInterval(int ms);
    bool Enabled() const { return m_enabled; }
    bool AutoDisable() const { return m_autoDisable; }
    void setAutoDisable(bool on) { m_autoDisable = on; }
    /// Clearing the handler stops a running timer, as a 0 interval does.
    void setHandler(std::function<void()> handler);

    /// Starts (or restarts) the timer; false, and disabled, with an interval of 0.
    bool Start();
    /// Stops the timer; with disable also marks it disabled.
    void Stop(bool disable = true);
    /// Whether ticks are coming.
    bool isRunning() const;

    /// With an interval of 1000, ride the process's shared second beat (SecondTimer) instead of a timer of its
    /// own: for a once-a-second look whose phase does not matter, which then costs no wake-up of its own.
    void setOnSecondBeat(bool on);

    /// One tick, exactly as the running timer delivers it. Tests drive the timer through this.
    void tick();

private:
    bool usesBeat() const;

    QTimer* m_timer = nullptr;
    SecondTimer* m_beat = nullptr;
    int m_interval = 1000;
    bool m_enabled = false;
    bool m_autoDisable = false;
    std::function<void()> m_handler;
};
