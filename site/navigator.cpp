#include "site/navigator.h"

#include "common/clock.h"
#include "common/numbers.h"
#include "common/pump.h"
#include "site/loginlost.h"

#include <QScopeGuard>
#include <cmath>
#include <optional>

namespace {

constexpr int minutesPerDay = 1440;

bool isCommandWord(const QString &request)
{
    return request == QStringLiteral("BACK") || request == QStringLiteral("REFRESH") ||
           request == QStringLiteral("GO");
}

// Tells the wait observer how long one page wait has lasted, once the wait
// is slow, and that it is over when it ends.
class SlowWaitReport
{
public:
    SlowWaitReport(std::function<void(qint64)> observer, const Clock &clock)
        : m_observer(std::move(observer)), m_clock(clock), m_startSeconds(clock.secondsSinceMidnight())
    {
    }
    SlowWaitReport(const SlowWaitReport &) = delete;
    SlowWaitReport &operator=(const SlowWaitReport &) = delete;

    ~SlowWaitReport()
    {
        if (m_reportedSecond == 0)
            return;
        try {
            m_observer(0);
        } catch (...) {
            // The wait may be ending by an exception already; the caption
            // is the window's business and must not end the program.
        }
    }

    void look()
    {
        if (!m_observer)
            return;
        double seconds = m_clock.secondsSinceMidnight() - m_startSeconds;
        if (seconds < 0)
            seconds += secondsPerDay; // the wait went on past midnight
        const qint64 waitedMs = qRound64(seconds * 1000);
        if (waitedMs < Navigator::slowPageAfterMs || waitedMs / 1000 <= m_reportedSecond)
            return;
        m_reportedSecond = waitedMs / 1000;
        m_observer(waitedMs);
    }

private:
    static constexpr double secondsPerDay = 86400;
    std::function<void(qint64)> m_observer;
    const Clock &m_clock;
    double m_startSeconds;
    qint64 m_reportedSecond = 0;
};

} // namespace

Navigator::Navigator(BrowserSlot &browsers, WorldConfig world, Clock &clock, Pump &pump)
    : m_browsers(browsers), m_world(std::move(world)), m_clock(clock), m_pump(pump)
{
}

int Navigator::clockMinute(double secondsSinceMidnight)
{
    const auto seconds = static_cast<qint64>(Numbers::roundHalfEven(secondsSinceMidnight));
    // 23:59:59.5 rounds up to midnight: minute 0 of the day, not a 1441st.
    return static_cast<int>((seconds / 60) % minutesPerDay);
}

int Navigator::deadlineMinute(int startMinute)
{
    int deadline = startMinute + reloadAfterMinutes;
    if (deadline >= minutesPerDay)
        deadline -= minutesPerDay;
    return deadline;
}

int Navigator::currentMinute() const
{
    return clockMinute(m_clock.secondsSinceMidnight());
}

void Navigator::issue(const QString &request)
{
    if (request == QStringLiteral("BACK"))
        browser().back();
    else if (request == QStringLiteral("REFRESH"))
        browser().refresh();
    else if (request == QStringLiteral("GO"))
        browser().forward();
    else
        browser().navigate(request);
}

void Navigator::waitForPage(const QString &request)
{
    // After a lost login a command word cannot be repeated in a fresh
    // session (its history is gone); the address the browser showed when the
    // command was given is what the command meant to load again or leave.
    const QString reloadAddress = isCommandWord(request) ? browser().locationUrl() : request;
    issue(request);
    const Document page = waitForComplete(Deadline::Reload);
    if (page.address() == m_world.sessionOutUrl())
        recoverSession(reloadAddress);
}

void Navigator::waitUntilComplete()
{
    waitForComplete(Deadline::None);
}

Document Navigator::waitForComplete(Deadline deadlineRule)
{
    SlowWaitReport report(m_waitObserver, m_clock);
    int deadline = deadlineMinute(currentMinute());
    int reloads = 0;
    // With a reload limit nobody is watching: no wait, not even one that
    // would otherwise have none, goes on without end.
    const bool reloadsWhenLate = deadlineRule == Deadline::Reload || m_reloadLimit.has_value();
    for (;;) {
        // Each look ends when the page does, or after lookMs at most.
        if (std::optional<Document> page = browser().awaitComplete(lookMs))
            return std::move(*page);
        m_pump.yieldOnce();
        report.look();
        // Whether the browser says it is busy or the page just stalls, a
        // page not complete by the deadline is asked for again instead of
        // being waited for without end.
        if (reloadsWhenLate && currentMinute() == deadline) {
            if (m_reloadLimit && reloads++ >= *m_reloadLimit)
                throw BrowserError(QStringLiteral("ページが%1分以上表示されないため、待つのをやめました。")
                                       .arg(reloadAfterMinutes * reloads));
            browser().refresh();
            deadline = deadlineMinute(currentMinute());
        }
    }
}

void Navigator::followWorldEntryLinks()
{
    const Document start = browser().document();
    for (const Document::Link &link : start.links()) {
        if (link.href.contains(QStringLiteral("game_start"), Qt::CaseSensitive)) {
            waitForPage(link.href);
            break;
        }
    }
    const QString key = m_world.worldLinkKey();
    const Document selection = browser().document();
    for (const Document::Link &link : selection.links()) {
        if (link.title.contains(key, Qt::CaseSensitive)) {
            waitForPage(link.href);
            break;
        }
    }
}

void Navigator::recoverSession(const QString &reloadAddress)
{
    // The world link can itself lead to the session-out page (the login on
    // the top site is gone too); every such round nests one level deeper.
    // Past the bound the caller is told, instead of walking for ever.
    if (m_recoveryDepth >= maxNestedRecoveries)
        throw LoginLost();
    ++m_recoveryDepth;
    const auto leaveLevel = qScopeGuard([this] { --m_recoveryDepth; });

    browser().navigate(m_world.topPageUrl());
    waitUntilComplete();
    followWorldEntryLinks();
    waitUntilComplete();
    browser().navigate(reloadAddress.isEmpty() ? m_world.topPageUrl() : reloadAddress);
    const Document page = waitForComplete(Deadline::None);
    // Still out after the walk (no login on the top site either): the page
    // shown is not the one asked for, and the caller must not read it as such.
    if (page.address() == m_world.sessionOutUrl())
        throw LoginLost();
}
