#pragma once

#include "alliance/walk/commandcontext.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "testsupport/alliance/countingpacer.h"
#include "testsupport/alliance/pagefixtures.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/fakepump.h"
#include "testsupport/site/fakebrowser.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Everything a command of the tool window is handed, made of fakes: a world
// at http://w3.test, AppDir in a temporary folder, alliance 7 (given with a
// trailing "/", as start-up may leave it).
class CommandFixture : public ::testing::Test
{
protected:
    static inline const QString kWorld = QStringLiteral("http://w3.test");

    CommandFixture() { m_browsers.replaceWithNew(); }
    ~CommandFixture() override { AppQuit::reset(); }

    FakeBrowser &browser() { return static_cast<FakeBrowser &>(m_browsers.current()); }

    // Serves the alliance page of alliance 7 and every member's profile.
    void serveAlliance(const std::vector<PageFixtures::Member> &members)
    {
        browser().addPage(kWorld + QStringLiteral("/alliance/info.php?id=7"),
                          PageFixtures::alliancePage(members));
        for (const PageFixtures::Member &m : members)
            browser().addPage(profileAddress(m.id), PageFixtures::profilePage(m.coordinates));
    }
    static QString profileAddress(int id) { return kWorld + QStringLiteral("/user/?user_id=%1").arg(id); }

    static Session testSession(const QTemporaryDir &dir)
    {
        Session session;
        session.appDir = dir.path() + QStringLiteral("/");
        session.world.worldBaseUrl = kWorld;
        session.world.gameSiteTopUrl = QStringLiteral("http://top.test");
        session.world.worldNumber = QStringLiteral("3");
        session.world.warRankingKey = QStringLiteral("5");
        session.allianceId = QStringLiteral("7/");
        return session;
    }

    QTemporaryDir m_dir;
    Session m_session = testSession(m_dir);
    BrowserSlot m_browsers{[] { return std::make_unique<FakeBrowser>(); }};
    FakeClock m_clock;
    FakePump m_pump;
    CountingPacer m_pacer;
    RecordingToolPort m_port;
    Navigator m_navigator{m_browsers, m_session.world, m_clock, m_pump};
    CommandContext m_context{m_session, m_navigator, m_browsers, m_pacer, m_port};
};
