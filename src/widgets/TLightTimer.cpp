#include "TLightTimer.h"

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
    m_timer->start(m_interval);
    m_enabled = true;
    return true;
}

void TLightTimer::Stop(bool disable)
{
    if (disable)
        m_enabled = false;
    m_timer->stop();
}

bool TLightTimer::isRunning() const
{
    return m_timer->isActive();
}

void TLightTimer::tick()
{
    if (m_autoDisable)
        Stop();
    if (m_handler)
        m_handler();
}
