#pragma once

#include <QObject>
#include <QTimer>

class Pump;

// The pause before each member page: two ticks of the tool window's 750 ms
// timer, with window events handled meanwhile. A caller may start the ticks,
// load a page, then wait for the rest, so pause and load overlap.
class Pacer
{
public:
    virtual ~Pacer() = default;
    virtual void startTicks() = 0;   // TickCount = 0, timer on
    virtual void waitForTicks() = 0; // until two ticks have passed, then timer off
    void pause()
    {
        startTicks();
        waitForTicks();
    }
};

// Timer1 and TickCount of the tool window.
class TimerPacer : public QObject, public Pacer
{
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 750;
    static constexpr int kTicksPerPause = 2;

    TimerPacer(Pump &pump, QObject *parent = nullptr);

    void startTicks() override;
    void waitForTicks() override;
    int tickCount() const { return m_tickCount; }
    QTimer &timer() { return m_timer; }

private:
    void Timer1_Timer();

    Pump &m_pump;
    QTimer m_timer;
    int m_tickCount = 0;
};
