#pragma once

#include "common/failure.h"

// The program is closing (the tool window was closed). Every wait throws it,
// so a command running at that moment stops at its next wait, leaves its
// files as they were, and nothing keeps waiting after the windows are gone.
class Quitting : public Failure
{
public:
    Quitting();
};

// Whether the program is closing. Once Qt has been told to quit, every
// nested event loop returns at once; a wait that went on looping would spin
// without end, so all waits ask this first.
namespace AppQuit {
// Marks the program as closing and tells Qt to leave its event loops.
void request();
bool requested();
// Throws Quitting once the program is closing.
void throwIfRequested();
// A new run in the same process (tests only).
void reset();
} // namespace AppQuit

// The one way the program waits: pending window events run while it waits,
// so the windows stay responsive while a page loads or a pause passes.
class Pump
{
public:
    virtual ~Pump() = default;
    // Lets pending events run once, sleeping a few milliseconds in the event
    // loop when there are none. Throws Quitting once the program is closing.
    virtual void yieldOnce() = 0;
    // Waits about ms milliseconds with events running. Throws Quitting.
    virtual void pauseFor(int ms) = 0;
};

class EventLoopPump : public Pump
{
public:
    void yieldOnce() override;
    void pauseFor(int ms) override;
};

// For the few waits that have no pump handed to them (starting
// chromedriver): the same as EventLoopPump::pauseFor.
void pauseWithEvents(int ms);

class QObject;

// The waits of the layers below the windows that wait for a Qt object rather
// than for time (an answer of chromedriver).
namespace PumpWait {

// Runs events until sender emits signal (given as SIGNAL(finished())).
// False when Qt refused to run the loop: the program is closing.
bool untilSignal(const QObject *sender, const char *signal);

// Sleeps in the event loop until more events come, user input left alone:
// the wait while closing, when nested loops return at once.
void forMoreEventsWithoutInput();

} // namespace PumpWait
