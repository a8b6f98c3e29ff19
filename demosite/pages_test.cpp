// The served HTML carries the readers' markers in their modern form: lower
// case tags, quoted attributes, "&" written as "&amp;" in addresses.
#include "demosite/pages.h"

#include <gtest/gtest.h>
#include <regex>

namespace {

const World &sampleWorld()
{
    static const World world = World::generate(1, 30);
    return world;
}

std::size_t count(const std::string &text, const std::string &part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// Each part found after the previous one.
::testing::AssertionResult inOrder(const std::string &page, const std::vector<std::string> &parts)
{
    std::size_t at = 0;
    for (const std::string &part : parts) {
        const std::size_t found = page.find(part, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "missing after position " << at << ": " << part;
        at = found + part.size();
    }
    return ::testing::AssertionSuccess();
}

const Lord &memberWithBranchCastle(const World &world)
{
    for (int id : world.alliance(world.playerAllianceId)->memberIds) {
        const Lord &lord = *world.lord(id);
        if (!lord.branchCastles.empty() && lord.role == "盟主補佐（一）")
            return lord;
    }
    for (int id : world.alliance(world.playerAllianceId)->memberIds) {
        if (!world.lord(id)->branchCastles.empty())
            return *world.lord(id);
    }
    throw std::runtime_error("no member with a branch castle");
}

std::string xy(const Place &place)
{
    return std::to_string(place.x) + "," + std::to_string(place.y);
}

} // namespace

TEST(PagesTest, OneSeedGivesTheSamePagesTwice)
{
    const World again = World::generate(1, 30);
    const World &world = sampleWorld();
    EXPECT_EQ(pages::alliancePage(world, world.playerAllianceId, true),
              pages::alliancePage(again, again.playerAllianceId, true));
    EXPECT_EQ(pages::profilePage(world, world.playerUserId, true),
              pages::profilePage(again, again.playerUserId, true));
    EXPECT_EQ(pages::inboxPage(world, 2, true), pages::inboxPage(again, 2, true));
    EXPECT_EQ(pages::rankingPage(world, RankingCategory::Total, 7, true),
              pages::rankingPage(again, RankingCategory::Total, 7, true));
}

TEST(PagesTest, UserPageCarriesSideBoxAllianceLinkAndVillages)
{
    const World &world = sampleWorld();
    const Lord &player = world.player();
    const std::string page = pages::userPage(world, true);
    std::vector<std::string> parts = {
        "class=\"sideBoxInner basename\"", "<li id=\"lordName\">" + player.name + "</li>",
        "<a href=\"/alliance/info.php?id=" + std::to_string(world.playerAllianceId) + "\">同盟</a>",
        "<tr><td>本領</td><td><a href=\"/village_change.php?village_id=" +
            std::to_string(player.home.villageId) + "\">" + player.home.name +
            "</a></td><td><a href=\"/land.php?x=" + std::to_string(player.home.x) +
            "&y=" + std::to_string(player.home.y) + "\">"};
    for (const Place &fief : player.fiefs) {
        parts.push_back("<tr><td>所領</td><td><a href=\"/village_change.php?village_id=" +
                        std::to_string(fief.villageId) + "\">" + fief.name +
                        "</a></td><td><a href=\"/land.php?x=");
    }
    EXPECT_TRUE(inOrder(page, parts));
    // Any later fief cell would be taken for one of the player's villages.
    EXPECT_EQ(count(page, "<td>所領</td>"), player.fiefs.size());
    EXPECT_EQ(count(page, "<td>本領</td>"), 1u);
    EXPECT_EQ(count(page, "\">同盟</a>"), 1u);
    EXPECT_NE(page.find("北 の 郷"), std::string::npos);

    const std::string missing = pages::userPage(world, false);
    EXPECT_EQ(missing.find("sideBoxInner"), std::string::npos);
    EXPECT_EQ(missing.find("<td>本領</td>"), std::string::npos);
}

TEST(PagesTest, ProfileCarriesEveryFieldInReadingOrder)
{
    const World &world = sampleWorld();
    const Lord &lord = memberWithBranchCastle(world);
    const Alliance &alliance = *world.alliance(lord.allianceId);
    const Place &castle = lord.branchCastles.front();
    const std::string page = pages::profilePage(world, lord.userId, true);
    const std::string role = lord.role == "盟主補佐（一）" ? "盟主補佐 （一）" : lord.role;
    EXPECT_TRUE(inOrder(
        page,
        {"alt=\"城主名\"", "<strong>" + lord.name + "</strong>", "alt=\"城主レベル\"",
         "class=\"para\">Lv." + std::to_string(lord.level) + "<span", "人口数",
         "class=\"para\">" + std::to_string(lord.population) + "<span",
         "総戦功<br>" + std::to_string(lord.merit) + " pt</p>", "所属同盟",
         "<a href=\"/alliance/info.php?id=" + std::to_string(alliance.id) + "\">" + alliance.name + "</a>",
         "alt=\"役職\"", "<p class=\"para\">" + role + "</p>", "同盟規模",
         "class=\"para\">" + std::to_string(alliance.memberIds.size()) + "人<span class=\"rank\">" +
             std::to_string(alliance.rank) + "位</span",
         "<tr><td>本領</td><td>" + lord.home.name +
             "(本拠地)</td><td><a href=\"/land.php?x=" + std::to_string(lord.home.x) +
             "&y=" + std::to_string(lord.home.y) + "&c=1\">" + xy(lord.home) + "</a></td></tr>",
         "<tr><td>出城</td><td><a href=\"/land.php?x=" + std::to_string(castle.x) +
             "&y=" + std::to_string(castle.y) + "\">" + castle.name +
             "</a></td><td><a href=\"/land.php?x=" + std::to_string(castle.x) +
             "&y=" + std::to_string(castle.y) + "\">" + xy(castle) + "</a></td></tr>",
         "<!-- /領地情報 -->"}));
    EXPECT_EQ(count(page, "(本拠地)"), 1u);
    EXPECT_EQ(count(page, "<td>所領</td>"), lord.fiefs.size());
    EXPECT_EQ(page.find("village_change.php"), std::string::npos) << "would be taken for the branch castle";

    const std::string missing = pages::profilePage(world, lord.userId, false);
    for (const char *marker : {"(本拠地)", "alt=\"城主名\"", "<!-- /領地情報 -->"})
        EXPECT_EQ(missing.find(marker), std::string::npos) << marker;
    EXPECT_EQ(pages::profilePage(world, -1, true).find("alt=\"城主名\""), std::string::npos);
}

TEST(PagesTest, AllianceMemberTableHasOneRowPerMemberWithFiveCells)
{
    const World &world = sampleWorld();
    const Alliance &big = world.alliances[0];
    const std::string page = pages::alliancePage(world, big.id, true);
    ASSERT_GT(big.memberIds.size(), 300u);
    EXPECT_EQ(count(page, "<tr class=\"fs12\">"), big.memberIds.size());
    EXPECT_LT(page.find("<tr class=\"fs12\">"), 30000u) << "the first row must start early in the markup";
    const std::regex row(
        "<tr class=\"fs12\"><td><a href=\"/user/\\?user_id=(\\d+)\">([^<]+)</a></td>"
        "<td>(-?\\d+)</td><td>(\\d+)</td><td>(\\d+)</td><td>(\\d+)</td><td>　([^<]+)　</td></tr>");
    std::size_t index = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), row); it != std::sregex_iterator();
         ++it, ++index) {
        ASSERT_LT(index, big.memberIds.size());
        const Lord &member = *world.lord(big.memberIds[index]);
        EXPECT_EQ((*it)[1].str(), std::to_string(member.userId));
        EXPECT_EQ((*it)[3].str(), std::to_string(member.points));
        EXPECT_EQ((*it)[6].str(), std::to_string(member.fiefs.size()));
        EXPECT_EQ((*it)[7].str(), member.role);
    }
    EXPECT_EQ(index, big.memberIds.size());
    EXPECT_NE(page.find("</td></tr></table>"), std::string::npos)
        << "no blank between the last row and the end";

    EXPECT_EQ(pages::alliancePage(world, big.id, false).find("class=\"fs12\""), std::string::npos);
    EXPECT_EQ(pages::alliancePage(world, 1, true).find("class=\"fs12\""), std::string::npos);
}

TEST(PagesTest, RankingRowsSitBetweenTheMarkers)
{
    const World &world = sampleWorld();
    const std::string page = pages::rankingPage(world, RankingCategory::Attack, 3, true);
    const std::size_t start = page.find("alt=\"攻撃国\"");
    const std::size_t end = page.find("ページ送り");
    ASSERT_NE(start, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    EXPECT_NE(page.find("<a href=\"/logout.php\">ログアウト</a> <a href=\"/help.php\">ヘルプ</a> "
                        "<a href=\"/help.php?p=rule\">発言の注意</a>"),
              std::string::npos);
    const auto &order = world.ranking[1];
    std::vector<std::string> rows;
    for (std::size_t i = 20; i < 30; ++i) {
        const Lord &lord = *world.lord(order[i]);
        std::string row = "<tr><td>" + std::to_string(i + 1) +
                          "</td><td><a href=\"/user/?user_id=" + std::to_string(lord.userId) + "\">" +
                          lord.name + "</a></td>\n<td>";
        if (lord.allianceId != 0)
            row += "<a href=\"/alliance/info.php?id=" + std::to_string(lord.allianceId) + "\">";
        rows.push_back(row);
        rows.push_back("<td>" + std::to_string(lord.scores[0]) + "</td>\n<td>" +
                       std::to_string(lord.scores[1]) + "</td>\n<td>" + std::to_string(lord.scores[2]) +
                       "</td>\n<td>" + std::to_string(lord.scores[3]) + "</td>");
    }
    EXPECT_TRUE(inOrder(page.substr(start, end - start), rows));
    EXPECT_EQ(count(page, "<tr><td>"), 10u);
    EXPECT_NE(page.find("m=attack&amp;c=5&amp;p=4"), std::string::npos);

    // Past the last ranked lord: the frame (menu line) without the table.
    const std::string beyond = pages::rankingPage(world, RankingCategory::Merit, 9999, true);
    EXPECT_EQ(count(beyond, "<tr><td>"), 0u);
    EXPECT_EQ(beyond.find("攻撃国"), std::string::npos);
    EXPECT_NE(beyond.find("発言の注意"), std::string::npos);
    // A missing marker is no ranking page at all.
    const std::string missing = pages::rankingPage(world, RankingCategory::Merit, 1, false);
    EXPECT_EQ(missing.find("攻撃国"), std::string::npos);
    EXPECT_EQ(missing.find("発言の注意"), std::string::npos);
}

TEST(PagesTest, InboxHasHeaderLetterRowsAndPagers)
{
    const World &world = sampleWorld();
    const int last = world.inboxPageCount();
    const std::string first = pages::inboxPage(world, 1, true);
    EXPECT_NE(first.find("<tr><th>選択</th><th>件名</th><th>送信者</th><th>日付</th><th>ロック</th></tr>"),
              std::string::npos);
    const Letter &letter = world.inbox.front();
    EXPECT_NE(first.find("\">" + letter.subject + "</a></td>\n<td>"), std::string::npos);
    EXPECT_NE(first.find(letter.sender + (letter.senderUserId ? "</a>" : "") + "</td>\n<td>" + letter.date +
                         "</td>\n<td></td></tr>"),
              std::string::npos);
    EXPECT_EQ(count(first, "<input type=\"checkbox\""), static_cast<std::size_t>(World::kInboxPerPage));
    // The pager follows the table directly: any line between would be read as a letter.
    EXPECT_NE(first.find("</table>\n<div class=\"pager\"><strong>1</strong> "), std::string::npos);
    EXPECT_NE(
        first.find("＞</a>&nbsp; <a href=\"/message/inbox.php?p=" + std::to_string(last) + "\">&gt;&gt;</a>"),
        std::string::npos);
    EXPECT_EQ(first.find("&lt;&lt;"), std::string::npos);

    const std::string middle = pages::inboxPage(world, 2, true);
    EXPECT_TRUE(
        inOrder(middle, {"&lt;&lt;</a>&nbsp; <a href=\"/message/inbox.php?p=1\">＜</a>", "＞</a>&nbsp; "}));
    const std::string end = pages::inboxPage(world, last, true);
    EXPECT_NE(end.find("&lt;&lt;</a>&nbsp; "), std::string::npos);
    EXPECT_EQ(end.find("&gt;&gt;"), std::string::npos);
    EXPECT_EQ(pages::inboxPage(world, 1, false).find("選択</th>"), std::string::npos);
    EXPECT_EQ(pages::inboxPage(world, 1, false).find("発言の注意"), std::string::npos);
}

TEST(PagesTest, TheInboxSpansTheAskedPagesAndAnEmptyOneHasNoTable)
{
    World world = sampleWorld();
    setInboxPages(world, 12);
    EXPECT_EQ(world.inboxPageCount(), 12);
    EXPECT_NE(pages::inboxPage(world, 1, true).find("p=12\">&gt;&gt;</a>"), std::string::npos);
    setInboxPages(world, 2);
    EXPECT_EQ(world.inboxPageCount(), 2);
    EXPECT_EQ(world.inbox.size(), static_cast<std::size_t>(2 * World::kInboxPerPage));
    setInboxPages(world, 0);
    const std::string empty = pages::inboxPage(world, 1, true);
    EXPECT_EQ(empty.find("選択</th>"), std::string::npos);
    EXPECT_NE(empty.find("発言の注意"), std::string::npos);
}

TEST(PagesTest, NewLetterPageHasTheThreeFieldsAndEscapesThem)
{
    const World &world = sampleWorld();
    const std::string page = pages::newLetterPage(world, {"a\"b<c", "凛,嵐", "x&y"}, "エラー");
    EXPECT_NE(page.find("id=\"SUBJECT\" name=\"subject\" size=\"60\" value=\"a&quot;b&lt;c\""),
              std::string::npos);
    EXPECT_NE(page.find("id=\"TO\""), std::string::npos);
    EXPECT_NE(page.find("id=\"BODY\" name=\"body\" rows=\"12\" cols=\"70\">x&amp;y</textarea>"),
              std::string::npos);
}

TEST(PagesTest, TopPagesInviteLoginAndLeadIntoWorldThree)
{
    EXPECT_NE(pages::topIndexPage(false, {}).find("JAPAN IDをお持ちでない方もこちら"), std::string::npos);
    const std::string in = pages::topIndexPage(true, "<me>");
    EXPECT_EQ(in.find("JAPAN IDをお持ちでない方もこちら"), std::string::npos);
    EXPECT_NE(in.find("href=\"/game_start.php\""), std::string::npos);
    EXPECT_NE(in.find("&lt;me&gt;"), std::string::npos);
    const std::string select = pages::worldSelectPage("http://127.0.0.1:9/login/enter.php", 3);
    EXPECT_TRUE(inOrder(select, {"title=\"w001\"", "title=\"w002\"",
                                 "<a href=\"http://127.0.0.1:9/login/enter.php\" title=\"w003\">",
                                 "title=\"w004\"", "title=\"w005\""}));
    // Another world served: its link leads in, world 3 is closed like the rest.
    const std::string twelve = pages::worldSelectPage("http://127.0.0.1:9/login/enter.php", 12);
    EXPECT_TRUE(inOrder(twelve, {"href=\"/world_closed.php?w=3\" title=\"w003\"",
                                 "<a href=\"http://127.0.0.1:9/login/enter.php\" title=\"w012\">"}));
    EXPECT_EQ(twelve.find("title=\"w006\""), std::string::npos);
}
