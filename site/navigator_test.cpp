#include "site/loginlost.h"
#include "site/navigator.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/fakepump.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/site/fakebrowser.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

const QString top = QStringLiteral("http://top.test/");
const QString worldSelect = QStringLiteral("http://top.test/game_start.php");
const QString worldEntry = QStringLiteral("http://w3.test/enter.php");
const QString sessionOut = QStringLiteral("http://w3.test/false/login_sessionout.php");
const QString memberPage = QStringLiteral("http://w3.test/user/?user_id=7");

WorldConfig testWorld()
{
    WorldConfig world;
    world.gameSiteTopUrl = QStringLiteral("http://top.test");
    world.worldBaseUrl = QStringLiteral("http://w3.test");
    world.worldNumber = QStringLiteral("3");
    world.warRankingKey = QStringLiteral("5");
    return world;
}

class NavigatorTest : public ::testing::Test
{
protected:
    NavigatorTest()
        : slot([this] {
              auto made = std::make_unique<FakeBrowser>();
              browser = made.get();
              return made;
          }),
          navigator(slot, testWorld(), clock, pump)
    {
        slot.replaceWithNew();
        // The top page links into the world selection, whose w003 link enters world 3.
        browser->addPage(top, QStringLiteral("<a href='/news.php'>news</a><a href='/game_start.php'>start</a>"
                                             "<a href='/game_start.php?again'>again</a>"));
        browser->addPage(worldSelect,
                         QStringLiteral("<a href='http://w1.test/' title='w001'>1</a>"
                                        "<a href='http://w3.test/enter.php' title='w003 戦国'>3</a>"
                                        "<a href='http://w9.test/' title='w003'>3 again</a>"));
        browser->addPage(worldEntry, QStringLiteral("<p>world</p>"));
        browser->addPage(memberPage, QStringLiteral("<p>member</p>"));
        browser->addPage(sessionOut, QStringLiteral("<p>session out</p>"));
    }

    // Minutes of the clock at which a refresh was issued, seen at each yield.
    QList<int> refreshMinutesDuringWait(double secondsPerYield)
    {
        QList<int> minutes;
        qsizetype refreshesSeen = 0;
        const auto noteRefresh = [&] {
            const qsizetype refreshes = browser->calls().count(QStringLiteral("refresh"));
            if (refreshes > refreshesSeen)
                minutes.append(Navigator::clockMinute(clock.secondsSinceMidnight()));
            refreshesSeen = refreshes;
        };
        pump.onYield = [&] {
            noteRefresh();
            clock.advance(secondsPerYield);
        };
        navigator.waitForPage(memberPage);
        noteRefresh();
        return minutes;
    }

    FakeBrowser *browser = nullptr;
    BrowserSlot slot;
    FakeClock clock;
    FakePump pump;
    Navigator navigator;
};

TEST_F(NavigatorTest, CommandWordsAreExactAndAnythingElseIsAnAddress)
{
    navigator.waitForPage(memberPage);
    navigator.waitForPage(top);
    navigator.waitForPage(QStringLiteral("BACK"));
    navigator.waitForPage(QStringLiteral("GO"));
    navigator.waitForPage(QStringLiteral("REFRESH"));
    navigator.waitForPage(QStringLiteral("refresh"));
    navigator.waitForPage(QStringLiteral("Back"));
    EXPECT_EQ(browser->calls(),
              QStringList({QStringLiteral("navigate ") + memberPage, QStringLiteral("navigate ") + top,
                           QStringLiteral("back"), QStringLiteral("forward"), QStringLiteral("refresh"),
                           QStringLiteral("navigate refresh"), QStringLiteral("navigate Back")}));
}

TEST(NavigatorClock, MinuteRoundsSecondsHalfToEvenAndDeadlineWrapsAtMidnight)
{
    EXPECT_EQ(Navigator::clockMinute(59.4), 0);
    EXPECT_EQ(Navigator::clockMinute(59.5), 1);  // 60 s
    EXPECT_EQ(Navigator::clockMinute(120.5), 2); // 120 s, not 121
    EXPECT_EQ(Navigator::clockMinute(86399.4), 1439);
    EXPECT_EQ(Navigator::clockMinute(86399.5), 0); // rounds to midnight
    EXPECT_EQ(Navigator::deadlineMinute(23 * 60 + 55), 5);
    EXPECT_EQ(Navigator::deadlineMinute(1429), 1439);
    EXPECT_EQ(Navigator::deadlineMinute(1430), 0);
}

TEST_F(NavigatorTest, BusyPageStartedAt2355IsReloadedAtMinuteFiveAndThenCompletes)
{
    clock.setTime(23, 55);
    FakeBrowser::Page hanging;
    hanging.html = QStringLiteral("<p>member</p>");
    hanging.busyPollsPerLoad = {100000, 3}; // the first load hangs, the reload comes through
    browser->addPage(memberPage, hanging);

    const QList<int> minutes = refreshMinutesDuringWait(20);

    EXPECT_EQ(minutes, QList<int>({5}));
    EXPECT_EQ(browser->calls(),
              QStringList({QStringLiteral("navigate ") + memberPage, QStringLiteral("refresh")}));
    EXPECT_EQ(browser->loadCount(memberPage), 2);
}

TEST_F(NavigatorTest, PageBusyForeverIsReloadedEveryTenMinutes)
{
    clock.setTime(10, 0, 30);
    FakeBrowser::Page hanging;
    hanging.busyPollsPerLoad = {200, 200, 200, 1}; // 200 polls at 6 s each: 20 minutes per load
    browser->addPage(memberPage, hanging);

    EXPECT_EQ(refreshMinutesDuringWait(6), QList<int>({610, 620, 630}));
}

TEST_F(NavigatorTest, WithAReloadLimitAHangingPageEndsTheWaitAfterItsLastReload)
{
    clock.setTime(10, 0, 30);
    FakeBrowser::Page hanging;
    hanging.busyPollsPerLoad = {100000};
    browser->addPage(memberPage, hanging);
    navigator.setReloadLimit(2);
    try {
        refreshMinutesDuringWait(6);
        FAIL() << "a hanging page must not hold a run for good";
    } catch (const BrowserError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("30分"))) << error.message().toStdString();
    }
    EXPECT_EQ(browser->calls().count(QStringLiteral("refresh")), 2);
    EXPECT_EQ(Navigator::clockMinute(clock.secondsSinceMidnight()), 630);

    // A wait that has no deadline of its own (the login entry, a recovery)
    // gets the same bound.
    browser->navigate(memberPage);
    pump.onYield = [&] { clock.advance(6); };
    EXPECT_THROW(navigator.waitUntilComplete(), BrowserError);
    EXPECT_EQ(browser->calls().count(QStringLiteral("refresh")), 4);
}

TEST_F(NavigatorTest, PageNeverBusyIsNotReloadedBeforeTheDeadlineAndTheWaitYields)
{
    FakeBrowser::Page slow;
    slow.incompletePollsPerLoad = {100}; // one look per yield, 5 s each: over 8 minutes
    browser->addPage(memberPage, slow);

    EXPECT_TRUE(refreshMinutesDuringWait(5).isEmpty());
    EXPECT_GE(pump.yields(), 99);
}

TEST_F(NavigatorTest, PageStalledWithoutBusyPastTheDeadlineIsReloaded)
{
    clock.setTime(9, 0);
    FakeBrowser::Page stalled;
    stalled.incompletePollsPerLoad = {400, 0}; // 200 yields at 10 s: past the deadline
    browser->addPage(memberPage, stalled);

    EXPECT_EQ(refreshMinutesDuringWait(10), QList<int>({550}));
}

TEST_F(NavigatorTest, SessionOutIsRecoveredByWalkingInAndLoadingTheRequestAgain)
{
    browser->redirect(memberPage, sessionOut);
    FakeBrowser::Page member;
    member.html = QStringLiteral("<p>member</p>");
    member.busyPollsPerLoad = {4};
    browser->addPage(memberPage, member);

    navigator.waitForPage(memberPage);

    EXPECT_EQ(browser->navigations(), QStringList({memberPage, top, worldSelect, worldEntry, memberPage}));
    EXPECT_EQ(browser->locationUrl(), memberPage);
    EXPECT_EQ(browser->readyState(), Browser::Complete);
    EXPECT_EQ(browser->loadCount(memberPage), 1); // the first request landed on the session-out page
}

TEST_F(NavigatorTest, CommandWordInterruptedBySessionOutReloadsTheAddressShownWhenGiven)
{
    navigator.waitForPage(memberPage);
    browser->redirect(memberPage, sessionOut);

    navigator.waitForPage(QStringLiteral("REFRESH"));

    EXPECT_EQ(browser->navigations(), QStringList({memberPage, top, worldSelect, worldEntry, memberPage}));
    EXPECT_EQ(browser->locationUrl(), memberPage);
}

TEST_F(NavigatorTest, WorldLinkLeadingBackToSessionOutEndsWithAnErrorAfterThreeRounds)
{
    browser->redirect(memberPage, sessionOut, -1);
    browser->redirect(worldEntry, sessionOut, -1);

    try {
        navigator.waitForPage(memberPage);
        FAIL() << "expected an error";
    } catch (const BrowserGone &) {
        FAIL() << "the browser is not gone";
    } catch (const LoginLost &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("ログイン")));
    }
    EXPECT_EQ(browser->navigations().count(top), 3) << "three rounds, then the user is told";
}

TEST_F(NavigatorTest, RecoveryThatEndsOnTheSessionOutPageAgainIsAnError)
{
    // Logged out of the top site as well: no "game_start" link to follow.
    browser->addPage(top, QStringLiteral("<a href='/index.php?event=OAuth'>login</a>"));
    browser->redirect(memberPage, sessionOut, 2);

    EXPECT_THROW(navigator.waitForPage(memberPage), BrowserError);
    EXPECT_EQ(browser->navigations(), QStringList({memberPage, top, memberPage}));
}

TEST_F(NavigatorTest, WorldEntryLinksMissingLoadNothing)
{
    browser->addPage(top, QStringLiteral("<a href='/news.php' title='w003?'>news</a>"));
    navigator.waitForPage(top);
    browser->addPage(top, QStringLiteral("<a href='/news.php'>news</a>"));
    navigator.followWorldEntryLinks();
    EXPECT_EQ(browser->navigations(), QStringList({top}));
}

TEST_F(NavigatorTest, ClosedBrowserReachesTheCaller)
{
    pump.onYield = [this] { browser->close(); };
    FakeBrowser::Page slow;
    slow.busyPollsPerLoad = {5};
    browser->addPage(memberPage, slow);
    EXPECT_THROW(navigator.waitForPage(memberPage), BrowserGone);
}

TEST_F(NavigatorTest, WaitPollsTheBrowserTheSlotHoldsNow)
{
    FakeBrowser::Page slow;
    slow.busyPollsPerLoad = {100000};
    browser->addPage(memberPage, slow);
    bool replaced = false;
    // The user restarts the walk during the wait: a new browser replaces the
    // old one, and the wait must end on the new browser's page.
    pump.onYield = [this, &replaced] {
        if (!replaced) {
            replaced = true;
            slot.replaceWithNew();
            browser->addPage(top, QStringLiteral("<p>top</p>"));
            browser->navigate(top);
        }
    };
    navigator.waitForPage(memberPage);
    EXPECT_EQ(browser->locationUrl(), top);
    EXPECT_FALSE(browser->calls().contains(QStringLiteral("navigate ") + memberPage));
}

class NavigatorClosingTest : public NavigatorTest
{
protected:
    void TearDown() override { AppQuit::reset(); }

    // Makes the program close at the given yield of the wait that follows.
    void closeAtYield(long long yield)
    {
        const long long at = pump.yields() + yield;
        pump.onYield = [this, at] {
            if (pump.yields() == at)
                AppQuit::request();
        };
    }
};

TEST_F(NavigatorClosingTest, EveryPageWaitEndsWithQuittingOnceTheProgramIsClosing)
{
    FakeBrowser::Page never;
    never.busyPollsPerLoad = {1000000};

    // A page that never completes, in waitForPage.
    browser->addPage(memberPage, never);
    closeAtYield(5);
    EXPECT_THROW(navigator.waitForPage(memberPage), Quitting);
    EXPECT_LE(pump.yields(), 6);
    AppQuit::reset();

    // The same in a wait without a deadline.
    const long long before = pump.yields();
    closeAtYield(3);
    EXPECT_THROW(navigator.waitUntilComplete(), Quitting);
    EXPECT_LE(pump.yields(), before + 4);
    AppQuit::reset();

    // During a recovery: the top page hangs, and the recovery must not take
    // the closing for one of its own failures and carry on.
    browser->redirect(memberPage, sessionOut);
    browser->addPage(memberPage, QStringLiteral("<p>member</p>"));
    browser->addPage(top, never);
    closeAtYield(3);
    EXPECT_THROW(navigator.waitForPage(memberPage), Quitting);
    EXPECT_EQ(browser->navigations().last(), top);
}

TEST_F(NavigatorTest, SlowWaitIsToldAboutOnceASecondFromThreeSecondsAndItsEndOnce)
{
    QList<qint64> told;
    navigator.setWaitObserver([&told](qint64 waitedMs) { told.append(waitedMs); });
    pump.onYield = [this] { clock.advance(0.25); };

    // Ten seconds, and across midnight.
    clock.setTime(23, 59, 58);
    FakeBrowser::Page slow;
    slow.busyPollsPerLoad = {40};
    browser->addPage(memberPage, slow);
    navigator.waitForPage(memberPage);
    EXPECT_EQ(told, QList<qint64>({3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 0}));

    // A page of a second and a half is nobody's concern.
    told.clear();
    slow.busyPollsPerLoad = {6};
    browser->addPage(memberPage, slow);
    navigator.waitForPage(memberPage);
    EXPECT_TRUE(told.isEmpty());

    // A slow wait that ends with an error is over as well.
    told.clear();
    slow.busyPollsPerLoad = {1000};
    browser->addPage(memberPage, slow);
    clock.setTime(8, 0);
    pump.onYield = [this] {
        clock.advance(0.25);
        if (clock.secondsSinceMidnight() >= 8 * 3600 + 10)
            browser->close();
    };
    EXPECT_THROW(navigator.waitForPage(memberPage), BrowserGone);
    ASSERT_FALSE(told.isEmpty());
    EXPECT_GE(told.first(), 3000);
    EXPECT_EQ(told.last(), 0);
}

} // namespace
