#include "alliance/walk/pacer.h"

#include "common/pump.h"

#include <QScopeGuard>

TimerPacer::TimerPacer(Pump &pump, QObject *parent) : QObject(parent), m_pump(pump)
{
    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TimerPacer::Timer1_Timer);
}

void TimerPacer::Timer1_Timer()
{
    ++m_tickCount;
}

void TimerPacer::startTicks()
{
    m_tickCount = 0;
    m_timer.start();
}

void TimerPacer::waitForTicks()
{
    if (!m_timer.isActive())
        m_timer.start();
    // On every way out, a quit request included, the timer is off again.
    const auto stop = qScopeGuard([this] {
        m_timer.stop();
        m_tickCount = 0;
    });
    while (m_tickCount < kTicksPerPause)
        m_pump.yieldOnce();
}
