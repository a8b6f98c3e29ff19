#pragma once

#include "common/pump.h"

#include <functional>
#include <stdexcept>

// Counts the yields of a wait and runs a test's callback at each, where a
// test moves the clock, changes a page or clicks something re-entrantly.
// It ends its waits on a quit request, as the real pump does.
class FakePump : public Pump
{
public:
    std::function<void()> onYield;
    // A safety net for tests of waits: a wait that would never end fails the
    // test instead of hanging it. Not a project failure type, so no command
    // may swallow it.
    long long maxYields = 1000000;

    void yieldOnce() override
    {
        AppQuit::throwIfRequested();
        ++m_yields;
        if (m_yields > maxYields)
            throw std::runtime_error("FakePump: the wait did not end");
        if (onYield)
            onYield();
    }
    // A pause is one yield here; the milliseconds are added up for tests
    // that check how long something waited.
    void pauseFor(int ms) override
    {
        m_pausedMs += ms;
        yieldOnce();
    }
    long long yields() const { return m_yields; }
    long long pausedMs() const { return m_pausedMs; }

private:
    long long m_yields = 0;
    long long m_pausedMs = 0;
};
