#include "demosite/dump.h"
#include "demosite/names.h"
#include "demosite/world.h"

#include <QString>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

const World &sampleWorld()
{
    static const World world = World::generate(1, 30);
    return world;
}

const Alliance &ownAlliance(const World &world)
{
    return *world.alliance(world.playerAllianceId);
}

bool hasHomeAt(const World &world, const Alliance &alliance, int x, int y)
{
    for (int id : alliance.memberIds) {
        const Lord &lord = *world.lord(id);
        if ((x == 999 || lord.home.x == x) && (y == 999 || lord.home.y == y))
            return true;
    }
    return false;
}

int squaredDistanceToNearestFort(int x, int y)
{
    static const int forts[][2] = {
        {12, 28},   {28, 12},  {12, 52},   {36, 36},   {52, 12},   {12, 76},   {36, 60},   {60, 36},
        {76, 12},   {12, 100}, {36, 84},   {60, 60},   {84, 36},   {100, 12},  {12, 124},  {36, 108},
        {60, 84},   {84, 60},  {108, 36},  {124, 12},  {12, 148},  {36, 132},  {60, 108},  {84, 84},
        {108, 60},  {132, 36}, {148, 12},  {36, 156},  {60, 132},  {84, 108},  {108, 84},  {132, 60},
        {156, 36},  {60, 156}, {84, 132},  {108, 108}, {132, 84},  {156, 60},  {84, 156},  {108, 132},
        {132, 108}, {156, 84}, {108, 156}, {132, 132}, {156, 108}, {132, 156}, {156, 132}, {156, 156}};
    int best = 1 << 30;
    for (const auto &fort : forts) {
        const int dx = std::abs(x) - fort[0];
        const int dy = std::abs(y) - fort[1];
        best = std::min(best, dx * dx + dy * dy);
    }
    return best;
}

} // namespace

TEST(WorldTest, OneSeedGivesOneWorldAndAnotherSeedAnother)
{
    const std::string first = dumpWorld(World::generate(7, 30));
    EXPECT_EQ(first, dumpWorld(World::generate(7, 30)));
    const World other = World::generate(8, 30);
    EXPECT_NE(first, dumpWorld(other));
    EXPECT_NE(World::generate(7, 30).player().name + World::generate(7, 30).alliances[0].name,
              other.player().name + other.alliances[0].name);
}

TEST(WorldTest, AlliancesAndLordsHaveTheRequiredSizes)
{
    const World &world = sampleWorld();
    EXPECT_GE(world.alliances.size(), 20u);
    EXPECT_GE(world.lords.size(), 1000u);
    bool big = false;
    std::set<int> ids;
    for (const Alliance &alliance : world.alliances) {
        big = big || alliance.memberIds.size() > 300;
        EXPECT_EQ(std::to_string(alliance.id).size(), 4u) << "one width, so no id is a prefix of another";
        ids.insert(alliance.id);
        for (int id : alliance.memberIds)
            EXPECT_EQ(world.lord(id)->allianceId, alliance.id);
    }
    EXPECT_TRUE(big);
    EXPECT_EQ(ids.size(), world.alliances.size());
    const Alliance &own = ownAlliance(world);
    ASSERT_EQ(own.memberIds.size(), 30u);
    EXPECT_EQ(own.memberIds.front(), world.playerUserId);
    EXPECT_EQ(world.player().role, "盟主");
    const World large = World::generate(3, 300);
    EXPECT_EQ(large.alliance(large.playerAllianceId)->memberIds.size(), 300u);

    std::map<std::string, int> roles;
    for (int id : own.memberIds)
        ++roles[world.lord(id)->role];
    EXPECT_EQ(roles["盟主"], 1);
    EXPECT_EQ(roles["盟主補佐（一）"], 1);
    EXPECT_EQ(roles["盟主補佐（二）"], 1);
    EXPECT_GT(roles["一般"], 10);
}

TEST(WorldTest, NamesAreOddButNeverContainedInOneAnother)
{
    const World &world = sampleWorld();
    const Alliance &own = ownAlliance(world);
    std::set<std::string> ownNames;
    for (int id : own.memberIds)
        ownNames.insert(world.lord(id)->name);
    for (const std::string &odd : NameBook::oddLordNames())
        EXPECT_EQ(ownNames.count(odd), 1u) << odd;
    EXPECT_EQ(ownNames.count("𠮷川広家"), 1u);
    EXPECT_TRUE(QString::fromUtf8("𠮷川広家").at(0).isHighSurrogate());

    QStringList folded;
    for (const Lord &lord : world.lords)
        folded.append(QString::fromUtf8(lord.name).toCaseFolded());
    for (const Alliance &alliance : world.alliances)
        folded.append(QString::fromUtf8(alliance.name).toCaseFolded());
    for (qsizetype i = 0; i < folded.size(); ++i) {
        for (qsizetype j = 0; j < folded.size(); ++j) {
            if (i != j && folded[j].contains(folded[i]))
                ADD_FAILURE() << folded[i].toStdString() << " is part of " << folded[j].toStdString();
        }
    }
}

TEST(WorldTest, HomeCastlesCoverAxesEdgesQuartersAndOneCrowdedCell)
{
    const World &world = sampleWorld();
    const Alliance &own = ownAlliance(world);
    EXPECT_TRUE(hasHomeAt(world, own, 0, 999));
    EXPECT_TRUE(hasHomeAt(world, own, 999, 0));
    EXPECT_TRUE(hasHomeAt(world, own, -180, 999));
    EXPECT_TRUE(hasHomeAt(world, own, 180, 999));
    EXPECT_TRUE(hasHomeAt(world, own, 999, 180));
    EXPECT_TRUE(hasHomeAt(world, own, 999, -180));
    EXPECT_TRUE(hasHomeAt(world, own, 190, -190));
    std::map<std::pair<int, int>, int> cells;
    std::set<int> quarters;
    for (int id : own.memberIds) {
        const Place &home = world.lord(id)->home;
        ++cells[{(home.x + 180) / 10, home.y >= 0 ? home.y / 10 : -((-home.y) / 10) - 1}];
        if (home.x != 0 && home.y != 0)
            quarters.insert((home.x > 0 ? 1 : 0) + (home.y > 0 ? 2 : 0));
    }
    int crowded = 0;
    for (const auto &cell : cells)
        crowded = std::max(crowded, cell.second);
    EXPECT_GE(crowded, 3);
    EXPECT_EQ(quarters.size(), 4u);

    std::set<std::pair<int, int>> tiles;
    for (const Lord &lord : world.lords) {
        EXPECT_TRUE(tiles.insert({lord.home.x, lord.home.y}).second);
        for (const Place &place : lord.fiefs)
            EXPECT_TRUE(tiles.insert({place.x, place.y}).second);
        for (const Place &place : lord.branchCastles)
            EXPECT_TRUE(tiles.insert({place.x, place.y}).second);
    }
}

TEST(WorldTest, FiefsAndBranchCastlesCoverTheReadersCases)
{
    const World &world = sampleWorld();
    EXPECT_LE(world.player().fiefs.size(), 10u) << "an eleventh fief fails the reader";
    std::set<std::size_t> fiefCounts;
    for (const Lord &lord : world.lords) {
        EXPECT_LE(lord.fiefs.size(), 10u);
        EXPECT_LE(lord.branchCastles.size(), 1u);
        fiefCounts.insert(lord.fiefs.size());
    }
    EXPECT_TRUE(fiefCounts.count(0) && fiefCounts.count(7) && fiefCounts.count(10));

    int inRange = 0;
    int exactlyTen = 0;
    int nearNone = 0;
    std::set<int> quartersInRange;
    for (int id : ownAlliance(world).memberIds) {
        for (const Place &castle : world.lord(id)->branchCastles) {
            const int distance = squaredDistanceToNearestFort(castle.x, castle.y);
            if (distance < 100) {
                ++inRange;
                quartersInRange.insert((castle.x > 0 ? 1 : 0) + (castle.y > 0 ? 2 : 0));
            }
            exactlyTen += distance == 100;
            nearNone += distance > 100;
        }
    }
    EXPECT_GE(inRange, 4);
    EXPECT_EQ(quartersInRange.size(), 4u);
    EXPECT_GE(exactlyTen, 2);
    EXPECT_GE(nearNone, 2);
}

TEST(WorldTest, RankingAndInboxHaveEnoughPagesAndSenders)
{
    const World &world = sampleWorld();
    EXPECT_GE(world.rankingPageCount(), 50);
    for (int c = 0; c < kRankingCategories; ++c) {
        const auto &order = world.ranking[static_cast<std::size_t>(c)];
        ASSERT_EQ(order.size(), world.lords.size());
        for (std::size_t i = 1; i < order.size(); ++i)
            EXPECT_GE(world.lord(order[i - 1])->scores[c], world.lord(order[i])->scores[c]);
    }
    EXPECT_GE(world.inboxPageCount(), 4);
    EXPECT_LE(world.inboxPageCount(), 9) << "the reply checker reads the page count from one digit";
    std::map<std::string, int> letters;
    int keyword = 0;
    int strangers = 0;
    int blanked = 0;
    for (const Letter &letter : world.inbox) {
        ++letters[letter.sender];
        keyword += letter.subject.find("出欠") != std::string::npos;
        const Lord *sender = world.lord(letter.senderUserId);
        if (letter.sender.find(' ') != std::string::npos) {
            ++blanked; // only own members may hold a blank: the roster tells where their name begins
            EXPECT_TRUE(sender != nullptr && sender->allianceId == world.playerAllianceId);
        }
        strangers += sender != nullptr && sender->allianceId != world.playerAllianceId;
    }
    EXPECT_GT(letters[kOperatorName], 0);
    EXPECT_GT(keyword, 0);
    EXPECT_GT(strangers, 0);
    EXPECT_GT(blanked, 0);
    int repeated = 0;
    for (int id : ownAlliance(world).memberIds)
        repeated += letters[world.lord(id)->name] > 1;
    EXPECT_GT(repeated, 0);
}

TEST(WorldTest, MembershipChangesKeepLordAndTableInStep)
{
    World world = World::generate(1, 30);
    const int own = world.playerAllianceId;
    const Alliance &big = world.alliances[0];
    const int newcomer = big.memberIds.back();
    ASSERT_TRUE(world.addMember(own, newcomer));
    EXPECT_EQ(world.alliance(own)->memberIds.back(), newcomer);
    EXPECT_EQ(world.lord(newcomer)->allianceId, own);
    EXPECT_EQ(world.lord(newcomer)->role, "一般");
    EXPECT_EQ(std::count(big.memberIds.begin(), big.memberIds.end(), newcomer), 0);

    ASSERT_TRUE(world.removeMember(own, newcomer));
    EXPECT_EQ(world.lord(newcomer)->allianceId, 0);
    EXPECT_EQ(world.alliance(own)->memberIds.size(), 30u);
    EXPECT_FALSE(world.removeMember(own, newcomer));
    EXPECT_FALSE(world.addMember(own, -5));
    EXPECT_FALSE(world.addMember(1, newcomer));
}

TEST(WorldTest, MembersAnswerACircularAndOthersAnswerTheNextDay)
{
    World world = World::generate(1, 30);
    const Alliance &own = *world.alliance(world.playerAllianceId);
    const std::size_t before = world.inbox.size();
    const std::vector<int> first = postReplies(world, "出欠", 3, 0);
    ASSERT_FALSE(first.empty());
    ASSERT_EQ(world.inbox.size(), before + first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        // Newest first: the inbox's top letters, last sender on top.
        const Letter &letter = world.inbox[first.size() - 1 - i];
        EXPECT_EQ(letter.senderUserId, first[i]);
        EXPECT_EQ(letter.subject, "Re: 出欠");
        EXPECT_NE(first[i], world.playerUserId);
        const auto position =
            std::find(own.memberIds.begin(), own.memberIds.end(), first[i]) - own.memberIds.begin();
        EXPECT_EQ(position % 3, 0);
    }
    int joined = 0;
    int left = 0;
    advanceDay(world, joined, left);
    const std::vector<int> next = postReplies(world, "出欠", 3, 0);
    EXPECT_NE(next, first) << "another day, other members answer";
    EXPECT_TRUE(postReplies(world, "x", 0, 0).empty());
}
