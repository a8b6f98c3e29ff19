#pragma once

// Lets pending window events run once. Every wait of the program goes
// through it, so the windows stay responsive while a page loads.
class Pump
{
public:
    virtual ~Pump() = default;
    virtual void yieldOnce() = 0;
};

// Processes pending events once; when there were none it sleeps a few
// milliseconds in the event loop, so a wait costs almost no CPU.
class EventLoopPump : public Pump
{
public:
    void yieldOnce() override;
};
