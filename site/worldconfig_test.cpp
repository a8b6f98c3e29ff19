#include "site/session.h"
#include "site/worldconfig.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

namespace {

WorldConfig world()
{
    WorldConfig config;
    config.gameSiteTopUrl = QStringLiteral("https://top.test");
    config.worldBaseUrl = QStringLiteral("https://w3.test");
    config.worldNumber = QStringLiteral("3");
    config.warRankingKey = QStringLiteral("5");
    return config;
}

TEST(WorldConfig, EveryPageFamilyHasItsAddress)
{
    const WorldConfig w = world();
    EXPECT_EQ(w.userPageUrl(), QStringLiteral("https://w3.test/user/"));
    EXPECT_EQ(w.allianceInfoUrl(QStringLiteral("2581")),
              QStringLiteral("https://w3.test/alliance/info.php?id=2581"));
    EXPECT_EQ(w.profileUrl(QStringLiteral("77")), QStringLiteral("https://w3.test/user/?user_id=77"));
    EXPECT_EQ(w.inboxUrl(10), QStringLiteral("https://w3.test/message/inbox.php?p=10"));
    EXPECT_EQ(w.newLetterUrl(), QStringLiteral("https://w3.test/message/new.php"));
    EXPECT_EQ(w.sessionOutUrl(), QStringLiteral("https://w3.test/false/login_sessionout.php"));
    EXPECT_EQ(w.loginEntryUrl(), QStringLiteral("https://top.test/index.php?event=OAuth"));
    EXPECT_EQ(w.worldLinkKey(), QStringLiteral("w003"));
}

// A world is its server and its number: the ranking key and the top site
// do not make another folder, a port or another number does.
TEST(WorldConfig, EachWorldHasAFolderOfItsOwn)
{
    struct Case
    {
        const char *worldUrl;
        const char *number;
        const char *folder;
    };
    const Case cases[] = {
        {"https://w12.example.jp", "12", "w012_w12.example.jp"},
        {"https://W12.Example.JP", "12", "w012_w12.example.jp"},
        {"http://127.0.0.1:18083", "3", "w003_127.0.0.1_18083"},
        {"http://127.0.0.1:18084", "3", "w003_127.0.0.1_18084"},
        {"http://127.0.0.1:18083", "103", "w103_127.0.0.1_18083"},
    };
    for (const Case &c : cases) {
        WorldConfig w = world();
        w.worldBaseUrl = QString::fromLatin1(c.worldUrl);
        w.worldNumber = QString::fromLatin1(c.number);
        EXPECT_EQ(w.folderName(), QString::fromLatin1(c.folder)) << c.worldUrl;
        w.warRankingKey = QStringLiteral("9");
        w.gameSiteTopUrl = QStringLiteral("https://other.test");
        EXPECT_EQ(w.folderName(), QString::fromLatin1(c.folder)) << c.worldUrl;
    }
}

TEST(WorldConfig, RankingAddressesPerCategory)
{
    const WorldConfig w = world();
    EXPECT_EQ(w.warRankingUrl(0, 1), QStringLiteral("https://w3.test/war/war_ranking.php?p=1"));
    EXPECT_EQ(w.warRankingUrl(1, 3), QStringLiteral("https://w3.test/war/war_ranking.php?m=attack&c=5&p=3"));
    EXPECT_EQ(w.warRankingUrl(2, 41),
              QStringLiteral("https://w3.test/war/war_ranking.php?m=defense&c=5&p=41"));
    EXPECT_EQ(w.warRankingUrl(3, 50), QStringLiteral("https://w3.test/war/war_ranking.php?m=total&c=5&p=50"));
}

TEST(Session, TheAllianceIdLosesEverySlashAndKeepsIt)
{
    Session session;
    session.allianceId = QStringLiteral("/25/81/");
    EXPECT_EQ(session.cleanAllianceId(), QStringLiteral("2581"));
    EXPECT_EQ(session.allianceId, QStringLiteral("2581"));
}

} // namespace
