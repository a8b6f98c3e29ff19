#pragma once

#include "alliance/schedule/dailyschedule.h"

#include <QString>

// Everything 「毎日の記録」 does to the system goes through here: the
// desktop's own scheduler runs the world's readings without the window. A
// systemd user manager on Linux; Windows would put a Task Scheduler entry
// behind it.
class ReadingScheduler
{
public:
    virtual ~ReadingScheduler() = default;
    // Whether the scheduler answers on this machine; without one the window
    // offers a cron line instead.
    virtual bool available() = 0;
    // Sets the run up, or changes its time and commands. Empty when done,
    // else why not, for the user.
    virtual QString turnOn(const ScheduledRun &run) = 0;
    // Takes the run away; nothing to take is no failure.
    virtual QString turnOff(const QString &name) = 0;
    // When the run is next due, as the scheduler says; empty when not known.
    virtual QString nextRun(const QString &name) = 0;
};
