// End to end: the real start-up walk and the roster command against
// demosite, chromedriver and a headless Chromium.
#include "alliance/pacer.h"
#include "alliance/rostercommand.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "common/pump.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"
#include "testsupport/alliance/countingpacer.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/site/demositeprocess.h"
#include "testsupport/x11/testapplication.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The real browser, with a hook before each navigation so a test can change
// the game at a precise moment of a walk.
class HookedBrowser : public WebDriverBrowser
{
public:
    HookedBrowser(const WebDriverOptions &options, std::function<void(const QString &)> &before)
        : WebDriverBrowser(options), m_before(before)
    {
    }
    void navigate(const QString &address) override
    {
        if (m_before)
            m_before(address);
        WebDriverBrowser::navigate(address);
    }

private:
    std::function<void(const QString &)> &m_before;
};

class OvekwardenEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureTestApplication(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_appDir.isValid() && m_profile.isValid());
        m_site.start({QStringLiteral("--auto-login"), QStringLiteral("--seed"), QStringLiteral("7")});
        m_session.world.gameSiteTopUrl = m_site.topUrl();
        m_session.world.worldBaseUrl = m_site.worldUrl();
        m_session.world.worldNumber = QStringLiteral("3");
        m_session.world.warRankingKey = QStringLiteral("5");
        m_session.appDir = m_appDir.path() + QStringLiteral("/");
        m_navigator = std::make_unique<Navigator>(m_browsers, m_session.world, m_clock, m_pump);
    }

    void TearDown() override { m_browsers.quit(); }

    QJsonObject dump() const
    {
        return QJsonDocument::fromJson(m_site.control(QStringLiteral("dump"))).object();
    }

    void startUp()
    {
        StartupSequence startup(m_session, m_browsers, *m_navigator, m_pump);
        startup.run();
    }

    DemoSiteProcess m_site{QStringLiteral(OVEK_DEMOSITE_PROGRAM)};
    QTemporaryDir m_appDir;
    QTemporaryDir m_profile;
    Session m_session;
    BrowserSlot m_browsers{[this] {
        WebDriverOptions options;
        options.profileDir = m_profile.path();
        options.headless = true;
        options.noSandbox = true; // CI runs as root
        return std::make_unique<HookedBrowser>(options, m_beforeNavigate);
    }};
    std::function<void(const QString &)> m_beforeNavigate;
    bool m_expired = false;
    SystemClock m_clock;
    EventLoopPump m_pump;
    std::unique_ptr<Navigator> m_navigator;
};

TEST_F(OvekwardenEndToEnd, StartUpReachesTheOwnAllianceAndTheRosterMatchesTheWorld)
{
    startUp();
    const QJsonObject world = dump();
    const QString ownAlliance =
        QString::number(world[QStringLiteral("player")][QStringLiteral("alliance_id")].toInt());
    ASSERT_EQ(m_session.allianceId, ownAlliance);

    CountingPacer pacer; // no pause: the pause is tested on its own, thirty would only be slow
    RecordingToolPort port;
    CommandContext context{m_session, *m_navigator, m_browsers, pacer, port};
    RosterCommand(context).run();

    int members = 0;
    const QString expected = RosterOracle::rosterText(world, ownAlliance, &members);
    ASSERT_EQ(members, 30);
    EXPECT_TRUE(port.messages.isEmpty()) << port.messages.join(u'\n').toStdString();
    EXPECT_EQ(port.text, expected);

    QFile file(m_session.appDir + QStringLiteral("OVEKMAP_DATA_") + ownAlliance + QStringLiteral(".txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes, RosterOracle::codePage932Bytes(expected + QStringLiteral("\r\n")));
    EXPECT_TRUE(bytes.contains("&#"))
        << "the world holds a name the code page cannot: it must be kept as a reference";
}

TEST_F(OvekwardenEndToEnd, StartUpSurvivesTheLoginBeingLostOnTheWay)
{
    // Just before start-up asks for the user page, the game drops the login.
    m_beforeNavigate = [&](const QString &address) {
        if (!m_expired && address == m_session.world.worldBaseUrl + QStringLiteral("/user/")) {
            m_expired = true;
            m_site.control(QStringLiteral("expire-session"));
        }
    };
    startUp();
    EXPECT_TRUE(m_expired);
    EXPECT_EQ(m_session.allianceId,
              QString::number(dump()[QStringLiteral("player")][QStringLiteral("alliance_id")].toInt()));
}

TEST_F(OvekwardenEndToEnd, AProfileMissingItsHomeCastleIsLoadedAgain)
{
    startUp();
    // The first two profile loads come without the home castle's link.
    m_site.control(QStringLiteral("miss-marker?path=/user/&count=2"));
    CountingPacer pacer; // no pause: the pause is tested on its own, thirty would only be slow
    RecordingToolPort port;
    CommandContext context{m_session, *m_navigator, m_browsers, pacer, port};
    RosterCommand(context).run();
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(port.text.count(QStringLiteral("\r\n")), 30);
}

} // namespace
