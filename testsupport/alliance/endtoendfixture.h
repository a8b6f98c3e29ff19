#pragma once

// The fixture of the end-to-end tests of commands: demosite on free ports,
// chromedriver with a headless Chromium, the real start-up walk, and the
// command's collaborators (no pacing pause, a recording port). The test
// target defines OVEK_DEMOSITE_PROGRAM.

#include "alliance/walk/commandcontext.h"
#include "common/clock.h"
#include "common/pump.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"
#include "testsupport/alliance/countingpacer.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/site/demositeprocess.h"
#include "testsupport/x11/testapplication.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

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

class EndToEndFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureTestApplication(); }

    // demosite's options besides its ports: the world of seed 7, logged in
    // by itself; with members, the player's alliance that small.
    static QStringList demoOptions(int members = 0)
    {
        QStringList options{QStringLiteral("--auto-login"), QStringLiteral("--seed"), QStringLiteral("7")};
        if (members > 0)
            options << QStringLiteral("--members") << QString::number(members);
        return options;
    }
    virtual QStringList siteOptions() const { return demoOptions(); }

    // Whether SetUp ends with the real start-up walk, and what happens to
    // the game just before it.
    virtual bool startsUpInSetUp() const { return false; }
    virtual void beforeStartUp() {}

    void SetUp() override
    {
        ASSERT_TRUE(m_appDir.isValid() && m_profile.isValid());
        m_site.start(siteOptions());
        m_session.world.gameSiteTopUrl = m_site.topUrl();
        m_session.world.worldBaseUrl = m_site.worldUrl();
        m_session.world.worldNumber = QStringLiteral("3");
        m_session.world.warRankingKey = QStringLiteral("5");
        m_session.appDir = m_appDir.path() + QStringLiteral("/");
        m_navigator = std::make_unique<Navigator>(m_browsers, m_session.world, m_clock, m_pump);
        m_context = std::make_unique<CommandContext>(
            CommandContext{m_session, *m_navigator, m_browsers, m_pacer, m_port});
        if (startsUpInSetUp()) {
            beforeStartUp();
            startUp();
        }
    }

    // A window closed by a test asks the program to end; the next test of
    // the same program starts afresh.
    void TearDown() override
    {
        m_browsers.quit();
        AppQuit::reset();
    }

    QJsonObject dump() const
    {
        return QJsonDocument::fromJson(m_site.control(QStringLiteral("dump"))).object();
    }
    QString ownAllianceId() const
    {
        return QString::number(dump()[QStringLiteral("player")][QStringLiteral("alliance_id")].toInt());
    }

    void startUp()
    {
        StartupSequence startup(m_session, m_browsers, *m_navigator, m_pump);
        startup.run();
    }
    CommandContext &context() { return *m_context; }

    DemoSiteProcess m_site{QStringLiteral(OVEK_DEMOSITE_PROGRAM)};
    QTemporaryDir m_appDir;
    QTemporaryDir m_profile;
    Session m_session;
    std::function<void(const QString &)> m_beforeNavigate;
    BrowserSlot m_browsers{[this] {
        WebDriverOptions options;
        options.profileDir = m_profile.path();
        options.headless = true;
        options.noSandbox = true; // CI runs as root
        return std::make_unique<HookedBrowser>(options, m_beforeNavigate);
    }};
    SystemClock m_clock;
    EventLoopPump m_pump;
    std::unique_ptr<Navigator> m_navigator;
    // No pause: the pause is tested on its own, and a walk of thirty pauses
    // would only make the tests slow.
    CountingPacer m_pacer;
    RecordingToolPort m_port;
    std::unique_ptr<CommandContext> m_context;
};
