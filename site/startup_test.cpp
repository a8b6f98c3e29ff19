#include "common/appdir.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/fakepump.h"
#include "testsupport/site/fakebrowser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kTop = QStringLiteral("http://top.test");
const QString kWorld = QStringLiteral("http://w3.test");

QString userPage(bool withAlliance = true)
{
    const QString alliance =
        withAlliance ? QStringLiteral("<li><a href=\"/alliance/info.php?id=42\">同盟</a></li>") : QString();
    return QStringLiteral(
               "<html><body><div class=\"sideBoxInner basename\"><ul>%1"
               "<li id=\"lordName\">城主 太郎</li></ul><table>"
               "<tr><td>本領</td><td><a href=\"/village_change.php?village_id=9\">本 城</a></td>"
               "<td><a href=\"/land.php?x=1&amp;y=2\">地図</a></td></tr></table></div></body></html>")
        .arg(alliance);
}

class StartupTest : public ::testing::Test
{
protected:
    StartupTest()
    {
        m_session.world.gameSiteTopUrl = kTop;
        m_session.world.worldBaseUrl = kWorld;
        m_session.world.worldNumber = QStringLiteral("3");
        m_session.world.warRankingKey = QStringLiteral("5");
    }

    // Every browser the slot makes serves the same little game.
    std::unique_ptr<Browser> makeBrowser()
    {
        auto browser = std::make_unique<FakeBrowser>();
        browser->addPage(kTop + QStringLiteral("/"), m_topPage);
        for (const char *select : {"/select?game_start=1", "/select?x=game_start"})
            browser->addPage(kTop + QString::fromLatin1(select),
                             QStringLiteral("<a href=\"http://w3.test/w2\" title=\"w002\">2</a>"
                                            "<a href=\"http://w3.test/enter\" title=\"w0031\">3</a>"
                                            "<a href=\"http://w3.test/enter-again\" title=\"w003\">3</a>"));
        // Every load of the user page takes a few polls, as a real one does.
        browser->addPage(kWorld + QStringLiteral("/user/"), FakeBrowser::Page{m_userPage, {3}, {}});
        ++m_browsersMade;
        return browser;
    }

    FakeBrowser &browser() { return static_cast<FakeBrowser &>(m_browsers.current()); }

    StartupSequence &startup()
    {
        if (!m_navigator) {
            m_navigator = std::make_unique<Navigator>(m_browsers, m_session.world, m_clock, m_pump);
            m_startup = std::make_unique<StartupSequence>(m_session, m_browsers, *m_navigator, m_pump);
        }
        return *m_startup;
    }

    QString m_topPage =
        QStringLiteral("<a href=\"/select?game_start=1\">start</a><a href=\"/other?game_start=2\">x</a>");
    QString m_userPage = userPage();
    int m_browsersMade = 0;
    Session m_session;
    BrowserSlot m_browsers{[this] { return makeBrowser(); }};
    FakeClock m_clock;
    FakePump m_pump;
    std::unique_ptr<Navigator> m_navigator;
    std::unique_ptr<StartupSequence> m_startup;
};

TEST_F(StartupTest, WalksFromATopPageWithoutInvitationIntoTheWorld)
{
    m_topPage =
        QStringLiteral("<a href=\"/select\">ゲームを始める game_start</a>"
                       "<a href=\"/select?x=game_start\">start</a><a href=\"/other?game_start=2\">x</a>");
    startup().run();
    EXPECT_EQ(browser().navigations(),
              (QStringList{kTop + QStringLiteral("/"), kTop + QStringLiteral("/"),
                           kTop + QStringLiteral("/select?x=game_start"), kWorld + QStringLiteral("/enter"),
                           kWorld + QStringLiteral("/user/")}))
        << "only the first game_start link is followed, and w003 matches the title w0031";
    EXPECT_EQ(m_session.allianceId, QStringLiteral("42"));
    EXPECT_EQ(m_session.ownLord.lordName, QStringLiteral("城主 太郎"));
    EXPECT_EQ(m_session.ownLord.villageName[0], QStringLiteral("本城"));
}

TEST_F(StartupTest, FollowsTheLoginEntryWhenInvitedAndWaitsForTheLogin)
{
    m_topPage = QStringLiteral("<p>JAPAN IDをお持ちでない方もこちら</p>");
    const QString entry = kTop + QStringLiteral("/index.php?event=OAuth");
    int pollsOnForm = 0;
    m_pump.onYield = [&] {
        // The player types the login; after a while the form sends them back
        // to the top page, now logged in.
        if (m_browsers.hasBrowser() && browser().locationUrl() == entry && ++pollsOnForm == 50) {
            browser().addPage(kTop + QStringLiteral("/"),
                              QStringLiteral("<a href=\"/select?game_start=1\">s</a>"));
            browser().navigate(kTop + QStringLiteral("/"));
        }
    };
    startup().run();
    EXPECT_GE(pollsOnForm, 50);
    const QStringList walk = browser().navigations();
    ASSERT_GE(walk.size(), 3);
    EXPECT_EQ(walk[1], entry);
    EXPECT_TRUE(walk.contains(kWorld + QStringLiteral("/enter")));
    EXPECT_EQ(m_session.allianceId, QStringLiteral("42"));
}

TEST_F(StartupTest, WithTheSavedLoginOnlyAnEntryThatPassesGoesOnAndAFormEndsStartUp)
{
    m_startup.reset();
    m_navigator = std::make_unique<Navigator>(m_browsers, m_session.world, m_clock, m_pump);
    StartupSequence saved(m_session, m_browsers, *m_navigator, m_pump, StartupSequence::Login::SavedOnly);
    m_topPage = QStringLiteral("<p>JAPAN IDをお持ちでない方もこちら</p>");
    const QString entry = kTop + QStringLiteral("/index.php?event=OAuth");

    // The saved login: the entry sends the browser straight back, logged in.
    m_pump.onYield = [&] {
        if (m_browsers.hasBrowser() && browser().locationUrl() == entry) {
            browser().addPage(kTop + QStringLiteral("/"),
                              QStringLiteral("<a href=\"/select?game_start=1\">s</a>"));
            browser().navigate(kTop + QStringLiteral("/"));
        }
    };
    saved.run();
    EXPECT_EQ(m_session.allianceId, QStringLiteral("42"));

    // Expired: the form stays, and nobody is there to fill it in.
    m_pump.onYield = nullptr;
    m_session.allianceId.clear();
    const long long yieldsBefore = m_pump.yields();
    EXPECT_THROW(saved.run(), SavedLoginGone);
    EXPECT_LT(m_pump.yields() - yieldsBefore, 100) << "no wait for a login";
    EXPECT_FALSE(browser().navigations().contains(kWorld + QStringLiteral("/user/")));
    EXPECT_TRUE(m_session.allianceId.isEmpty());
}

TEST_F(StartupTest, SecondReadingAfterARefreshCompletesStartUp)
{
    m_userPage = QStringLiteral("<html><body>読込中…</body></html>");
    m_pump.onYield = [&] {
        // The user page comes half drawn first; after the refresh it is whole.
        if (browser().calls().contains(QStringLiteral("refresh")))
            browser().addPage(kWorld + QStringLiteral("/user/"), userPage());
    };
    startup().run();
    EXPECT_EQ(browser().calls().count(QStringLiteral("refresh")), 1);
    EXPECT_EQ(m_session.allianceId, QStringLiteral("42"));
}

TEST_F(StartupTest, AUserPageThatNeverReadsEndsStartUpWithAMessage)
{
    m_topPage = QString();
    m_userPage = userPage(false);
    try {
        startup().run();
        FAIL() << "start-up must not complete without an alliance";
    } catch (const StartupFailure &failure) {
        EXPECT_TRUE(failure.message().contains(QStringLiteral("同盟に所属していない")));
    }
    m_userPage = QStringLiteral("<p>?</p>");
    try {
        startup().run();
        FAIL() << "start-up must not complete on an unreadable user page";
    } catch (const StartupFailure &failure) {
        EXPECT_TRUE(failure.message().contains(QStringLiteral("ログイン")));
    }
}

TEST_F(StartupTest, RestartWithTheBrowserClosedOpensANewOneOnTheTopPageOnly)
{
    m_browsers.replaceWithNew();
    browser().close();
    startup().enterWorld();
    EXPECT_EQ(m_browsersMade, 2);
    EXPECT_EQ(browser().navigations(), QStringList{kTop + QStringLiteral("/")});
}

TEST_F(StartupTest, RestartDoesNothingWhileABrowserIsBeingMade)
{
    // Making a browser runs the event loop, so 「再起動」 can be clicked
    // meanwhile: it must neither walk nor make a second browser on the
    // same profile.
    StartupSequence *sequence = nullptr;
    int restartsDuringCreation = 0;
    BrowserSlot slot([&] {
        ++restartsDuringCreation;
        sequence->restart();
        return makeBrowser();
    });
    Navigator navigator(slot, m_session.world, m_clock, m_pump);
    StartupSequence restartable(m_session, slot, navigator, m_pump);
    sequence = &restartable;
    restartable.restart(); // before any browser exists
    EXPECT_EQ(m_browsersMade, 0);
    slot.replaceWithNew();
    slot.replaceWithNew();
    EXPECT_EQ(restartsDuringCreation, 2);
    EXPECT_EQ(m_browsersMade, 2) << "a restart made a browser of its own";
    EXPECT_TRUE(static_cast<FakeBrowser &>(slot.current()).navigations().isEmpty());
}

TEST_F(StartupTest, ReopeningTheBrowserWalksBackIntoTheWorld)
{
    m_browsers.replaceWithNew();
    browser().close(); // the user's browser died under a command
    startup().reopenBrowser();
    EXPECT_EQ(m_browsersMade, 2);
    EXPECT_EQ(browser().navigations(), QStringList({kTop + QStringLiteral("/"), kTop + QStringLiteral("/"),
                                                    kTop + QStringLiteral("/select?game_start=1"),
                                                    kWorld + QStringLiteral("/enter")}));
}

TEST(AppDirTest, DataStayBesideAWritableProgramAndGoToTheUsersFolderOtherwise)
{
    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("home/.local/share/ovekwarden"));
    const QString portable = root.filePath(QStringLiteral("portable"));
    const QString installed = root.filePath(QStringLiteral("usr/bin"));
    const QString readOnly = root.filePath(QStringLiteral("ro/bin"));
    for (const QString &dir :
         {portable, installed, readOnly, root.filePath(QStringLiteral("usr/share/applications"))})
        ASSERT_TRUE(QDir().mkpath(dir));
    QFile entry(root.filePath(QStringLiteral("usr/share/applications/") + AppDir::desktopId() +
                              QStringLiteral(".desktop")));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.close();
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    EXPECT_EQ(AppDir::choose(portable, data), portable + u'/') << "a build folder or a portable copy";
    EXPECT_EQ(AppDir::choose(installed, data), data + u'/') << "installed, even where it could be written";
    EXPECT_EQ(AppDir::choose(readOnly, data), data + u'/') << "read-only, also for an administrator";
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(AppDir::userDataFolder().endsWith(QStringLiteral("/ovekwarden")));
}

TEST(AppDirTest, GetsOneTrailingSlash)
{
    EXPECT_EQ(AppDir::withTrailingSlash(QStringLiteral("/opt/ovek")), QStringLiteral("/opt/ovek/"));
    EXPECT_EQ(AppDir::withTrailingSlash(QStringLiteral("/")), QStringLiteral("/"));
}

} // namespace

namespace {

// What start-up tells when the browser cannot be made for that reason.
QString startupFailureWhenBrowserThrows(const BrowserError &error)
{
    Session session;
    session.world.gameSiteTopUrl = kTop;
    session.world.worldBaseUrl = kWorld;
    BrowserSlot browsers([&error]() -> std::unique_ptr<Browser> {
        if (dynamic_cast<const ProfileInUse *>(&error))
            throw ProfileInUse(error.message());
        throw BrowserError(error.message());
    });
    FakeClock clock;
    FakePump pump;
    Navigator navigator(browsers, session.world, clock, pump);
    try {
        StartupSequence(session, browsers, navigator, pump).run();
    } catch (const StartupFailure &failure) {
        return failure.message();
    }
    return QStringLiteral("(start-up went on without a browser)");
}

TEST(StartupWithoutBrowser, AMissingBrowserIsToldInPlainWordsAndAProfileInUseWithoutSendingTheUserToInstall)
{
    const QString missing =
        startupFailureWhenBrowserThrows(BrowserError(QStringLiteral("chromedriver を起動できません。")));
    EXPECT_TRUE(missing.contains(QStringLiteral("chromium-driver"))) << missing.toStdString();
    EXPECT_TRUE(missing.contains(QStringLiteral("chromedriver を起動できません。")));

    const QString held =
        QStringLiteral("ブラウザのプロファイル（/p）は、chromium（プロセス番号 42）が使っています。");
    EXPECT_EQ(startupFailureWhenBrowserThrows(ProfileInUse(held)),
              QStringLiteral("ブラウザ（Chromium）を起動できませんでした。\r\n\r\n") + held);
}

} // namespace
