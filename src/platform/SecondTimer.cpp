#include "SecondTimer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <algorithm>

/// The one timer behind every SecondTimer of the process; it runs only while one of them is active.
class SecondBeat : public QObject
{
public:
    /// The beat, made with the first timer; it goes with the application object.
    static SecondBeat& instance()
    {
        if (!current())
            current() = new SecondBeat(QCoreApplication::instance());
        return *current();
    }
    /// The beat if there is one: a timer that outlives the application has nothing left to leave.
    static QPointer<SecondBeat>& current()
    {
        static QPointer<SecondBeat> beat;
        return beat;
    }

    void add(SecondTimer* timer) { m_timers.append(timer); }
    void remove(SecondTimer* timer)
    {
        m_timers.removeOne(timer);
        changed();
    }

    /// Runs the beat while any timer is active, and only then.
    void changed()
    {
        const bool wanted = std::any_of(m_timers.cbegin(), m_timers.cend(),
                                        [](const QPointer<SecondTimer>& timer) { return timer && timer->m_active; });
        if (!wanted)
            m_timer->stop();
        else if (!m_timer->isActive())
            arm();
    }

private:
    explicit SecondBeat(QObject* parent)
        : QObject(parent)
        , m_timer(new QTimer(this))
    {
        m_timer->setSingleShot(true);
        m_timer->setTimerType(Qt::PreciseTimer);
        connect(m_timer, &QTimer::timeout, this, &SecondBeat::beat);
    }

    void arm()
    {
        // Only the phase within the second counts, and it is the same in every time zone.
        const int msec = static_cast<int>(QDateTime::currentMSecsSinceEpoch() % 1000);
        m_timer->start(SecondTimer::msecToNextBeat(msec));
    }

    void beat()
    {
        // The next beat is set first: a tick that runs an event loop of its own does not hold up the others.
        arm();
        // In the order the timers were made; a timer started, stopped or destroyed by a tick is seen at once.
        const QList<QPointer<SecondTimer>> timers = m_timers;
        for (const QPointer<SecondTimer>& timer : timers) {
            if (!timer || !timer->m_active || timer->m_ticking)
                continue;
            timer->m_ticking = true;
            emit timer->timeout();
            if (timer)
                timer->m_ticking = false;
        }
        changed();
    }

    QTimer* m_timer;
    QList<QPointer<SecondTimer>> m_timers;
};

SecondTimer::SecondTimer(QObject* parent)
    : QObject(parent)
{
    SecondBeat::instance().add(this);
}

SecondTimer::~SecondTimer()
{
    m_active = false;
    if (SecondBeat* beat = SecondBeat::current())
        beat->remove(this);
}

void SecondTimer::start()
{
    if (m_active)
        return;
    m_active = true;
    SecondBeat::instance().changed();
}

void SecondTimer::stop()
{
    if (!m_active)
        return;
    m_active = false;
    SecondBeat::instance().changed();
}

int SecondTimer::msecToNextBeat(int msec)
{
    return 1000 - msec + kPhaseMs;
}
