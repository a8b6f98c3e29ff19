#include "alliance/rules/branchcastle.h"
#include "site/document.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

namespace {

using namespace BranchCastles;
using Kind = ProfileCastle::Kind;

const QString kCreated = QStringLiteral("2024/04/01 12:00:00 作成");

BranchCastle castle(const QString &owner, int x, int y)
{
    return {owner, owner + QStringLiteral("出城"), QStringLiteral("%1,%2").arg(x).arg(y), x, y};
}

// A profile's fief section as the game writes it, with the rows given.
ProfileCastle read(const QString &rows, bool withEnd = true)
{
    const QString html = QStringLiteral("<html><body><table><tr><td>本領</td><td>城(本拠地)</td><td>"
                                        "<a href=\"/land.php?x=1&y=2&c=1\">1,2</a></td></tr>\n%1</table>%2"
                                        "<p><a href=\"/land.php?x=9&y=9\">9,9</a></p></body></html>")
                             .arg(rows, withEnd ? QStringLiteral("\n<!-- /領地情報 -->") : QString());
    return readBranchCastle(Document::fromHtml(QStringLiteral("http://w3.test/user/?user_id=1"), html));
}

TEST(BranchCastleProfile, ReadsTheCastleNameAndCoordinatesWithoutBlanks)
{
    const ProfileCastle c = read(
        QStringLiteral("<tr><td>所領</td><td>村</td><td><a href=\"/land.php?x=3&y=3\">3,3</a></td></tr>\n"
                       "<tr><td>出城</td><td><a href=\"/land.php?x=-45&y=120\"> 小田原 出城 </a></td><td>"
                       "<a href=\"/land.php?x=-45&y=120\">-45, 120</a></td></tr>"));
    ASSERT_EQ(c.kind, Kind::Castle);
    EXPECT_EQ(c.name, QStringLiteral("小田原出城"));
    EXPECT_EQ(c.coordinateText, QStringLiteral("-45,120"));
    EXPECT_EQ(c.x, -45);
    EXPECT_EQ(c.y, 120);
}

TEST(BranchCastleProfile, TheOwnProfilesVillageLinkNamesTheCastleButOnlyAfterItsCell)
{
    const ProfileCastle own = read(QStringLiteral(
        "<tr><td>出城</td><td><a href=\"/village_change.php?village_id=5\">自分の出城</a></td><td>"
        "<a href=\"/land.php?x=7&y=8\">7,8</a></td></tr>"));
    ASSERT_EQ(own.kind, Kind::Castle);
    EXPECT_EQ(own.name, QStringLiteral("自分の出城"));
    EXPECT_EQ(own.coordinateText, QStringLiteral("7,8"));

    const ProfileCastle other = read(QStringLiteral(
        "<tr><td>所領</td><td><a href=\"/village_change.php?village_id=4\">別の村</a></td><td>x</td></tr>\n"
        "<tr><td>出城</td><td><a href=\"/land.php?x=7&y=8\">本当の出城</a></td><td>"
        "<a href=\"/land.php?x=7&y=8\">7,8</a></td></tr>"));
    ASSERT_EQ(other.kind, Kind::Castle);
    EXPECT_EQ(other.name, QStringLiteral("本当の出城"));
}

TEST(BranchCastleProfile, TellsAPageNotLoadedFromAMemberWithoutCastle)
{
    EXPECT_EQ(read(QStringLiteral("<tr><td>出城</td><td>x</td></tr>"), false).kind, Kind::NotLoaded);
    EXPECT_EQ(read(QStringLiteral("<tr><td>所領</td><td><a href=\"/land.php?x=3\">村</a></td></tr>")).kind,
              Kind::None);
    EXPECT_EQ(readBranchCastle(Document()).kind, Kind::NotLoaded);
}

TEST(BranchCastleProfile, ACastleWithoutReadableCoordinatesIsUnreadable)
{
    // No land link inside the fief section: the one after its end is not the castle's.
    EXPECT_EQ(
        read(QStringLiteral("<tr><td>出城</td><td><a href=\"/land.php?x=1\">城</a></td><td>7,8</td></tr>"))
            .kind,
        Kind::Unreadable);
    EXPECT_EQ(read(QStringLiteral("<tr><td>出城</td><td><a href=\"/land.php?x=1\">城</a></td><td>"
                                  "<a href=\"/land.php?x=7\">78</a></td></tr>"))
                  .kind,
              Kind::Unreadable)
        << "coordinates without a comma";
    EXPECT_EQ(read(QStringLiteral("<tr><td>出城</td><td>名前だけ</td></tr>")).kind, Kind::Unreadable);
}

TEST(BranchCastleForts, FortyEightPositionsOfOneQuarter)
{
    const QList<Fort> &forts = fortTable();
    ASSERT_EQ(forts.size(), 48);
    EXPECT_EQ(forts.first().text, QStringLiteral("12,28"));
    EXPECT_EQ(forts.at(3).number, 4);
    EXPECT_EQ(forts.at(3).x, 36);
    EXPECT_EQ(forts.at(9).text, QStringLiteral("12,100"));
    EXPECT_EQ(forts.at(9).y, 100);
    EXPECT_EQ(forts.last().number, 48);
    EXPECT_EQ(forts.last().text, QStringLiteral("156,156"));
}

TEST(BranchCastleForts, InRangeMeansStrictlyCloserThanTen)
{
    EXPECT_TRUE(withinRange(12, 28, 20, 30));      // 68
    EXPECT_FALSE(withinRange(12, 28, 22, 28));     // exactly 100
    EXPECT_TRUE(withinRange(12, 28, 21, 32));      // 97
    EXPECT_TRUE(withinRange(-12, -28, -18, -21));  // 85
    EXPECT_FALSE(withinRange(-12, -28, -18, -20)); // 100
}

TEST(BranchCastleList, WithoutAnyCastleNearAFortOnlyTheCreationLine)
{
    EXPECT_EQ(
        castleListText({castle(QStringLiteral("甲"), 22, 28), castle(QStringLiteral("乙"), 0, 0)}, kCreated),
        QStringLiteral("\r\n") + kCreated);
    EXPECT_EQ(castleListText({}, kCreated), QStringLiteral("\r\n") + kCreated);
}

TEST(BranchCastleList, GroupsByQuarterAndFortWithMirroredHeaders)
{
    const QString text =
        castleListText({castle(QStringLiteral("甲"), -12, 26), castle(QStringLiteral("乙"), 30, 40),
                        castle(QStringLiteral("丙"), 12, -26), castle(QStringLiteral("丁"), 20, 30),
                        castle(QStringLiteral("戊"), 36, 36), castle(QStringLiteral("己"), 40, 33),
                        castle(QStringLiteral("庚"), -150, -150)},
                       kCreated);
    EXPECT_EQ(text, QStringLiteral("\r\n") + kCreated +
                        QStringLiteral(
                            "\r\n★北東砦1 (12,28) 集団━━━ 1人\r\n丁>丁出城>(20,30)\r\n"
                            "\r\n★北東砦4 (36,36) 集団━━━ 3人\r\n乙>乙出城>(30,40)\r\n戊>戊出城>(36,36)\r\n"
                            "己>己出城>(40,33)\r\n"
                            "\r\n★南東砦1 (12,-28) 集団━━━ 1人\r\n丙>丙出城>(12,-26)\r\n"
                            "\r\n★北西砦1 (-12,28) 集団━━━ 1人\r\n甲>甲出城>(-12,26)\r\n"
                            "\r\n★南西砦48 (-156,-156) 集団━━━ 1人\r\n庚>庚出城>(-150,-150)"));
}

TEST(BranchCastleList, AStarInANameKeepsItsLineWhole)
{
    BranchCastle starred = castle(QStringLiteral("★星"), 36, 36);
    starred.name = QStringLiteral("★城");
    EXPECT_EQ(castleListText({starred}, kCreated),
              QStringLiteral("\r\n") + kCreated +
                  QStringLiteral("\r\n★北東砦4 (36,36) 集団━━━ 1人\r\n★星>★城>(36,36)"));
}

} // namespace
