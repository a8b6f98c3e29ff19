#pragma once

#include "pump.h"

#include <functional>
#include <stdexcept>

// Counts the yields of a wait and runs a test's callback at each, where a
// test moves the clock, changes a page or clicks something re-entrantly.
class FakePump : public Pump
{
public:
    std::function<void()> onYield;
    // A safety net for tests of waits: a wait that would never end fails the
    // test instead of hanging it.
    long long maxYields = 1000000;

    void yieldOnce() override
    {
        ++m_yields;
        if (m_yields > maxYields)
            throw std::runtime_error("FakePump: the wait did not end");
        if (onYield)
            onYield();
    }
    long long yields() const { return m_yields; }

private:
    long long m_yields = 0;
};
