// End to end: the real start-up walk and the roster command against
// demosite, chromedriver and a headless Chromium.
#include "alliance/commands/rostercommand.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"

#include <QFile>

namespace {

class OvekwardenEndToEnd : public EndToEndFixture
{
protected:
    bool m_expired = false;
};

TEST_F(OvekwardenEndToEnd, StartUpReachesTheOwnAllianceAndTheRosterMatchesTheWorld)
{
    startUp();
    const QString ownAlliance = ownAllianceId();
    ASSERT_EQ(m_session.allianceId, ownAlliance);

    RosterCommand(context()).run();

    int members = 0;
    const QString expected = RosterOracle::rosterText(dump(), ownAlliance, &members);
    ASSERT_EQ(members, 30);
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
    EXPECT_EQ(m_port.text, expected);

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
    EXPECT_EQ(m_session.allianceId, ownAllianceId());
}

TEST_F(OvekwardenEndToEnd, AProfileMissingItsHomeCastleIsLoadedAgain)
{
    startUp();
    // The first two profile loads come without the home castle's link.
    m_site.control(QStringLiteral("miss-marker?path=/user/&count=2"));
    RosterCommand(context()).run();
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_EQ(m_port.text.count(QStringLiteral("\r\n")), 30);
}

} // namespace
