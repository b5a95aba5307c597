#include "TLightTimer.h"

#include "platform/SecondTimer.h"

#include <QTimer>

TLightTimer::TLightTimer(QObject* parent, int interval)
    : QObject(parent)
    , m_timer(new QTimer(this))
    , m_interval(interval)
{
    connect(m_timer, &QTimer::timeout, this, &TLightTimer::tick);
}

TLightTimer::~TLightTimer() = default;

void TLightTimer::setInterval(int ms)
{
    if (ms == m_interval)
        return;
    m_interval = ms;
    if (!isRunning())
        return;
    if (ms == 0)
        Stop(false);
    else
        Start();
}

void TLightTimer::setHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
    if (!m_handler && isRunning())
        Stop(false);
}

bool TLightTimer::Start()
{
    if (m_interval <= 0) {
        m_enabled = false;
        return false;
    }
    m_timer->stop();
    if (m_beat)
        m_beat->stop();
    if (usesBeat())
        m_beat->start();
    else
        m_timer->start(m_interval);
    m_enabled = true;
    return true;
}

void TLightTimer::Stop(bool disable)
{
    if (disable)
        m_enabled = false;
    m_timer->stop();
    if (m_beat)
        m_beat->stop();
}

bool TLightTimer::isRunning() const
{
    return m_timer->isActive() || (m_beat && m_beat->isActive());
}

void TLightTimer::setOnSecondBeat(bool on)
{
    if (on == (m_beat != nullptr))
        return;
    const bool running = isRunning();
    Stop(false);
    if (on) {
        m_beat = new SecondTimer(this);
        connect(m_beat, &SecondTimer::timeout, this, &TLightTimer::tick);
    } else {
        delete m_beat;
        m_beat = nullptr;
    }
    if (running)
        Start();
}

bool TLightTimer::usesBeat() const
{
    return m_beat && m_interval == SecondTimer::kInterval;
}

void TLightTimer::tick()
{
    if (m_autoDisable)
        Stop();
    if (m_handler)
        m_handler();
}
