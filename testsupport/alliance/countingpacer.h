#pragma once

#include "alliance/walk/pacer.h"

#include <functional>

// A pacing pause that does not wait: it counts the pauses, and runs a
// test's callback at each (where a test closes the browser or the window).
class CountingPacer : public Pacer
{
public:
    void startTicks() override
    {
        ++pauses;
        if (onPause)
            onPause();
    }
    void waitForTicks() override {}

    int pauses = 0;
    std::function<void()> onPause;
};
