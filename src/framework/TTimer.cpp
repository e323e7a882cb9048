#include "framework/TTimer.h"

TTimer::TTimer(QObject* parent)
    : QObject(parent)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &TTimer::Tick);
    Restart();
}

void TTimer::SetEnabled(bool enabled)
{
    if (FEnabled == enabled)
        return;
    FEnabled = enabled;
    Restart();
}

void TTimer::SetInterval(int ms)
{
    if (m_timer.interval() == ms)
        return;
    m_timer.setInterval(ms);
    Restart();
}

void TTimer::Tick()
{
    if (OnTimer)
        OnTimer(this);
}

void TTimer::Restart()
{
    m_timer.stop();
    if (FEnabled && m_timer.interval() > 0)
        m_timer.start();
}
