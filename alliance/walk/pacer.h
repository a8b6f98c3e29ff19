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

// The pause of pages whose ticks overlap their load (the ranking band): the
// ticks start just before a page is asked for and are waited for after it
// has been read. A walk asks for "pause, load, read" per page; here the pause
// before a page finishes the ticks of the page before and starts its own.
class OverlappingPacer : public Pacer
{
public:
    explicit OverlappingPacer(Pacer &pacer) : m_pacer(pacer) {}

    void startTicks() override
    {
        if (m_started)
            m_pacer.waitForTicks();
        m_pacer.startTicks();
        m_started = true;
    }
    void waitForTicks() override {}

    // The wait after the last page.
    void finish()
    {
        if (m_started)
            m_pacer.waitForTicks();
        m_started = false;
    }

private:
    Pacer &m_pacer;
    bool m_started = false;
};
