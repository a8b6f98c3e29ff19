#pragma once

#include "site/browserslot.h"
#include "site/document.h"
#include "site/worldconfig.h"

#include <QString>
#include <functional>
#include <optional>

class Clock;
class Pump;

// The one way the program moves the browser: start a navigation or a history
// command, wait for the page, reload a page that hangs, and walk back into
// the world when the game has dropped the login.
//
// The browser is asked from the slot at every use, so a browser replaced
// during a wait (the user restarted the walk) is the one polled afterwards.
class Navigator
{
public:
    // Recoveries started inside a recovery (the world link itself led to the
    // session-out page) before the walk gives up with a BrowserError.
    static constexpr int maxNestedRecoveries = 3;
    // A page still loading this many minutes after its request is loaded again.
    static constexpr int reloadAfterMinutes = 10;
    // A page wait longer than this is told to the wait observer.
    static constexpr qint64 slowPageAfterMs = 3000;
    // The longest single look at the browser: between looks, window events
    // run through the pump and the deadline is checked.
    static constexpr int lookMs = 500;

    Navigator(BrowserSlot &browsers, WorldConfig world, Clock &clock, Pump &pump);

    // request is "BACK", "REFRESH", "GO" (exact) or an address. Returns when
    // the page is complete, after a recovery if the login was lost. Browser
    // errors reach the caller.
    void waitForPage(const QString &request);

    // Waits without a deadline until the page is complete.
    void waitUntilComplete();

    // Told about page waits that take long, so the user can see why nothing
    // moves. During any one page wait (of waitForPage, waitUntilComplete or a
    // recovery) that has lasted slowPageAfterMs or more, it is called about
    // once a second with the milliseconds waited so far; when such a wait
    // ends, however it ends, it is called once more with 0. Waits shorter
    // than slowPageAfterMs never call it. It must not throw.
    void setWaitObserver(std::function<void(qint64 waitedMs)> observer)
    {
        m_waitObserver = std::move(observer);
    }

    // How often a page that hangs is loaded again before the wait gives up
    // with a BrowserError; none: without end (someone at the window sees
    // the wait and can close the program). A run nobody watches sets one,
    // so a page that never comes cannot hold it for good; the waits without
    // a deadline then get one too.
    void setReloadLimit(std::optional<int> reloads) { m_reloadLimit = reloads; }

    // The two link steps of the walk into the world: the first link whose
    // address holds "game_start", then the first whose title holds the
    // world's link key. A missing link loads nothing for its step.
    void followWorldEntryLinks();

    // The clock minute of a time of day: seconds rounded halves to even,
    // divided by 60 without remainder.
    static int clockMinute(double secondsSinceMidnight);
    // The minute a wait that starts at startMinute reloads the page.
    static int deadlineMinute(int startMinute);

private:
    Browser &browser() { return m_browsers.current(); }
    void issue(const QString &request);
    enum class Deadline { Reload, None };
    // The complete page, as the browser read it when it was complete.
    Document waitForComplete(Deadline deadline);
    int currentMinute() const;
    void recoverSession(const QString &reloadAddress);

    BrowserSlot &m_browsers;
    WorldConfig m_world;
    Clock &m_clock;
    Pump &m_pump;
    std::function<void(qint64)> m_waitObserver;
    int m_recoveryDepth = 0;
    std::optional<int> m_reloadLimit;
};
