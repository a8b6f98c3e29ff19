#include "site/navigator.h"

#include "common/clock.h"
#include "common/numbers.h"
#include "common/pump.h"

#include <QScopeGuard>
#include <cmath>

namespace {

constexpr int minutesPerDay = 1440;

bool isCommandWord(const QString &request)
{
    return request == QStringLiteral("BACK") || request == QStringLiteral("REFRESH") ||
           request == QStringLiteral("GO");
}

QString loginLostMessage()
{
    return QStringLiteral("ゲームへのログインが切れています。"
                          "ブラウザでログインし直してから、もう一度実行してください。");
}

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
    waitWithDeadline();
    if (browser().locationUrl() == m_world.sessionOutUrl())
        recoverSession(reloadAddress);
}

void Navigator::waitWithDeadline()
{
    int deadline = deadlineMinute(currentMinute());
    while (browser().readyState() != Browser::Complete) {
        while (browser().busy())
            yieldAndReloadAtDeadline(deadline);
        // Not busy and not complete yet: this phase yields as well (no busy
        // spinning that would freeze the windows) and the deadline holds
        // here too, so a page that stalls without reporting busy is still
        // reloaded instead of being waited for without end.
        if (browser().readyState() != Browser::Complete)
            yieldAndReloadAtDeadline(deadline);
    }
}

void Navigator::yieldAndReloadAtDeadline(int &deadline)
{
    m_pump.yieldOnce();
    if (currentMinute() == deadline) {
        browser().refresh();
        deadline = deadlineMinute(currentMinute());
    }
}

void Navigator::waitUntilComplete()
{
    while (browser().readyState() != Browser::Complete) {
        while (browser().busy())
            m_pump.yieldOnce();
        if (browser().readyState() != Browser::Complete)
            m_pump.yieldOnce();
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
        throw BrowserError(loginLostMessage());
    ++m_recoveryDepth;
    const auto leaveLevel = qScopeGuard([this] { --m_recoveryDepth; });

    browser().navigate(m_world.topPageUrl());
    waitUntilComplete();
    followWorldEntryLinks();
    waitUntilComplete();
    browser().navigate(reloadAddress.isEmpty() ? m_world.topPageUrl() : reloadAddress);
    waitUntilComplete();
    // Still out after the walk (no login on the top site either): the page
    // shown is not the one asked for, and the caller must not read it as such.
    if (browser().locationUrl() == m_world.sessionOutUrl())
        throw BrowserError(loginLostMessage());
}
