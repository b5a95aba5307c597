#pragma once

#include <QObject>

/// The timer of the once-a-second ticks that follow the wall clock: the reminder engine, the hourly chime, the
/// shutdown plan and the desktop clock. However many of them run, they ride one shared beat that comes a little
/// after the turn of every wall-clock second, so the process wakes once a second for all of them instead of once
/// for each, and every tick falls early in the second it looks at: a reminder's program starts in its own second,
/// and the clock's hands move as the second turns.
///
/// It answers as a running QTimer of 1000 ms would (start, stop, isActive, interval, timeout). Which seconds a tick
/// evaluates is the timing rule's business (TickSeconds): the first tick after start() can come sooner than a
/// second later, and a beat that comes late is caught up by the rule, as before.
class SecondTimer : public QObject
{
    Q_OBJECT
public:
    static constexpr int kInterval = 1000;
    /// How far past the turn of the wall-clock second the beat comes: late enough never to fall before it.
    static constexpr int kPhaseMs = 20;

    explicit SecondTimer(QObject* parent = nullptr);
    ~SecondTimer() override;

    int interval() const { return kInterval; }
    bool isActive() const { return m_active; }
    /// Joins the beat; the first tick comes at the next one. Starting a running timer changes nothing.
    void start();
    void stop();

    /// The wait from a moment `msec` milliseconds into a wall-clock second to the next beat: to kPhaseMs past the
    /// next turn of the second, and never less than kPhaseMs, so a beat never comes twice in one second.
    static int msecToNextBeat(int msec);

signals:
    void timeout();

private:
    friend class SecondBeat;
    bool m_active = false;
    bool m_ticking = false; ///< inside its own tick, which a nested event loop must not enter again
};
