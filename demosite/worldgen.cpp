#include "demosite/names.h"
#include "demosite/rng.h"
#include "demosite/world.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace {

using Tile = std::pair<int, int>;

// The fixed forts of one quarter of the map; the other quarters mirror them.
const std::vector<Tile> kQuarterForts = {
    {12, 28},   {28, 12},  {12, 52},   {36, 36},   {52, 12},   {12, 76},   {36, 60},   {60, 36},
    {76, 12},   {12, 100}, {36, 84},   {60, 60},   {84, 36},   {100, 12},  {12, 124},  {36, 108},
    {60, 84},   {84, 60},  {108, 36},  {124, 12},  {12, 148},  {36, 132},  {60, 108},  {84, 84},
    {108, 60},  {132, 36}, {148, 12},  {36, 156},  {60, 132},  {84, 108},  {108, 84},  {132, 60},
    {156, 36},  {60, 156}, {84, 132},  {108, 108}, {132, 84},  {156, 60},  {84, 156},  {108, 132},
    {132, 108}, {156, 84}, {108, 156}, {132, 132}, {156, 108}, {132, 156}, {156, 132}, {156, 156}};

// Sign of x and y in the four quarters: north-east, south-east, north-west, south-west.
const std::array<Tile, 4> kQuarterSigns = {{{1, 1}, {1, -1}, {-1, 1}, {-1, -1}}};

// Home castles of the own alliance's members after the player: the axes, the
// map edges, a tile just outside the plotter's cells and four members in one
// 10 x 10 cell, then a spread over the quarters.
const std::vector<Tile> kOwnHomeTiles = {
    {0, 45},  {-60, 0}, {0, -30}, {-180, 75}, {180, -120}, {55, 180}, {-95, -180}, {190, -190},
    {13, 14}, {15, 17}, {18, 11}, {11, 19},   {-42, -77},  {88, -23}, {-133, 141}, {121, 96}};

bool nearAnyFort(int x, int y, int squaredRadius)
{
    for (const Tile &sign : kQuarterSigns) {
        for (const Tile &fort : kQuarterForts) {
            const int dx = fort.first * sign.first - x;
            const int dy = fort.second * sign.second - y;
            if (dx * dx + dy * dy < squaredRadius)
                return true;
        }
    }
    return false;
}

class Generator
{
public:
    Generator(std::uint64_t seed, int ownSize) : m_rng(seed * 0x2545F4914F6CDD1DULL + 7), m_ownSize(ownSize)
    {
        m_world.seed = seed;
        for (const Tile &sign : kQuarterSigns) {
            for (const Tile &fort : kQuarterForts)
                m_taken.insert({fort.first * sign.first, fort.second * sign.second});
        }
    }

    World run()
    {
        makeAlliances();
        makeLords();
        assignMembers();
        placeCastles();
        makeRanking();
        makeInbox();
        m_world.rebuildIndex();
        return std::move(m_world);
    }

private:
    bool takeTile(int x, int y)
    {
        if (x < -200 || x > 200 || y < -200 || y > 200)
            return false;
        return m_taken.insert({x, y}).second;
    }

    Tile freeTile(int minX, int maxX, int minY, int maxY)
    {
        for (;;) {
            const int x = m_rng.between(minX, maxX);
            const int y = m_rng.between(minY, maxY);
            if (takeTile(x, y))
                return {x, y};
        }
    }

    Place newPlace(std::string name, Tile tile)
    {
        return Place{m_nextVillageId++, std::move(name), tile.first, tile.second};
    }

    void makeAlliances()
    {
        // One alliance above 300 members, the player's own, and many smaller ones.
        std::vector<int> sizes = {320 + m_rng.between(0, 25), m_ownSize};
        for (int base : {150, 120, 95, 80, 64, 50, 44, 38, 33, 28, 24, 20, 16, 13, 10, 8, 6, 4, 3, 2, 1})
            sizes.push_back(std::max(1, base + m_rng.between(-base / 5, base / 5)));
        std::set<int> ids;
        for (int size : sizes) {
            int id = 0;
            do {
                id = m_rng.between(1000, 9999); // one width: no id is a prefix of another
            } while (!ids.insert(id).second);
            Alliance alliance;
            alliance.id = id;
            alliance.name = m_names.allianceName(m_rng);
            m_world.alliances.push_back(alliance);
            m_sizes.push_back(size);
        }
        m_world.playerAllianceId = m_world.alliances[1].id;
    }

    void makeLords()
    {
        int members = 0;
        for (int size : m_sizes)
            members += size;
        const int count = std::max(1200, members + 80) + m_rng.between(0, 40);
        for (const std::string &odd : NameBook::oddLordNames())
            m_names.accept(odd);
        int userId = m_rng.between(10000, 60000);
        for (int i = 0; i < count; ++i) {
            Lord lord;
            lord.userId = userId;
            userId += m_rng.between(1, 4);
            const auto &oddNames = NameBook::oddLordNames();
            // The player first, then the odd names, so they land in the own alliance.
            if (i >= 1 && i <= static_cast<int>(oddNames.size()))
                lord.name = oddNames[static_cast<std::size_t>(i - 1)];
            else
                lord.name = m_names.lordName(m_rng);
            lord.population = m_rng.between(50, 25000);
            lord.merit = m_rng.between(0, 900000);
            lord.level = m_rng.between(1, 30);
            lord.points = m_rng.between(0, 60000);
            lord.scores[0] = m_rng.between(0, 200000);
            lord.scores[1] = m_rng.between(0, 150000);
            lord.scores[2] = m_rng.between(0, 150000);
            lord.scores[3] = lord.scores[1] + lord.scores[2];
            m_lordIndex[lord.userId] = m_world.lords.size();
            m_world.lords.push_back(lord);
        }
        m_world.playerUserId = m_world.lords[0].userId;
    }

    void assignMembers()
    {
        std::size_t next = 0;
        // The own alliance (index 1) first: it takes the player and the odd names.
        std::vector<std::size_t> handOut = {1, 0};
        for (std::size_t a = 2; a < m_world.alliances.size(); ++a)
            handOut.push_back(a);
        for (std::size_t a : handOut) {
            Alliance &alliance = m_world.alliances[a];
            std::vector<int> ids;
            for (int k = 0; k < m_sizes[a]; ++k)
                ids.push_back(m_world.lords[next++].userId);
            // The own alliance: player first as leader, the odd names spread among the others.
            if (ids.size() > 2) {
                std::vector<int> rest(ids.begin() + 1, ids.end());
                m_rng.shuffle(rest);
                std::copy(rest.begin(), rest.end(), ids.begin() + 1);
            }
            alliance.memberIds = ids;
            // The fifth alliance has a leader and only the second sub-leader.
            const bool withoutFirstSub = a == 4;
            for (std::size_t k = 0; k < ids.size(); ++k) {
                Lord &lord = m_world.lords[lordIndex(ids[k])];
                lord.allianceId = alliance.id;
                if (k == 0)
                    lord.role = "盟主";
                else if (k == 1)
                    lord.role = withoutFirstSub ? "盟主補佐（二）" : "盟主補佐（一）";
                else if (k == 2 && !withoutFirstSub)
                    lord.role = "盟主補佐（二）";
                else if (k <= 4 && ids.size() > 10)
                    lord.role = "外交";
                else
                    lord.role = "一般";
            }
        }
        // Rank: alliances by total population.
        std::vector<std::pair<long long, std::size_t>> order;
        for (std::size_t a = 0; a < m_world.alliances.size(); ++a) {
            long long total = 0;
            for (int id : m_world.alliances[a].memberIds)
                total += m_world.lords[lordIndex(id)].population;
            order.push_back({-total, a});
        }
        std::sort(order.begin(), order.end());
        for (std::size_t r = 0; r < order.size(); ++r)
            m_world.alliances[order[r].second].rank = static_cast<int>(r) + 1;
    }

    std::size_t lordIndex(int userId) const { return m_lordIndex.at(userId); }

    void placeCastles()
    {
        const Alliance &ownAlliance = m_world.alliances[1];
        std::map<int, std::size_t> ownPosition;
        for (std::size_t k = 0; k < ownAlliance.memberIds.size(); ++k)
            ownPosition[ownAlliance.memberIds[k]] = k;
        int branchTurn = 0;
        for (std::size_t i = 0; i < m_world.lords.size(); ++i) {
            Lord &lord = m_world.lords[i];
            const auto own = ownPosition.find(lord.userId);
            Tile home;
            if (own != ownPosition.end() && own->second >= 1 && own->second <= kOwnHomeTiles.size() &&
                takeTile(kOwnHomeTiles[own->second - 1].first, kOwnHomeTiles[own->second - 1].second))
                home = kOwnHomeTiles[own->second - 1];
            else if (i == 0)
                home = freeTile(20, 170, 20, 170);
            else
                home = freeTile(-180, 180, -180, 180);
            lord.home = newPlace(m_names.placeName(m_rng) + "城", home);
            placeFiefs(lord, i == 0);
            if (own != ownPosition.end() || m_rng.chance(30))
                placeBranchCastle(lord, own != ownPosition.end() ? branchTurn++ : m_rng.between(0, 4));
        }
    }

    void placeFiefs(Lord &lord, bool isPlayer)
    {
        int count = m_rng.between(0, 7);
        if (m_rng.chance(6))
            count = m_rng.between(8, 10);
        if (isPlayer)
            count = 4;
        for (int f = 0; f < count; ++f) {
            std::string name = m_names.placeName(m_rng) + (m_rng.chance(50) ? "村" : "郷");
            // The player's fiefs carry blanks the reader must drop, and a
            // full-width blank it must keep.
            if (isPlayer && f == 1)
                name = "北 の 郷";
            if (isPlayer && f == 2)
                name = "西　村";
            Tile tile;
            do {
                tile = {lord.home.x + m_rng.between(-12, 12), lord.home.y + m_rng.between(-12, 12)};
            } while (!takeTile(tile.first, tile.second));
            lord.fiefs.push_back(newPlace(name, tile));
        }
    }

    // turn % 5: 0 within range of a fort, 1 at distance exactly 10, 2 near no
    // fort, 3 and 4 no branch castle. The quarter turns with every castle.
    void placeBranchCastle(Lord &lord, int turn)
    {
        static const std::vector<Tile> nearOffsets = {{3, 4}, {-5, 2}, {6, -6}, {0, 7}, {-2, -8}, {8, 1}};
        static const std::vector<Tile> exactOffsets = {{10, 0}, {0, -10}, {6, 8}, {-8, 6}, {-6, -8}, {8, -6}};
        const int kind = turn % 5;
        if (kind >= 3)
            return;
        const Tile sign = kQuarterSigns[static_cast<std::size_t>((turn / 5 + kind) % 4)];
        for (int attempt = 0; attempt < 50; ++attempt) {
            Tile tile;
            if (kind == 2) {
                tile = {m_rng.between(-175, 175), m_rng.between(-175, 175)};
                if (nearAnyFort(tile.first, tile.second, 101))
                    continue;
            } else {
                const Tile &fort = m_rng.pick(kQuarterForts);
                const Tile &offset = m_rng.pick(kind == 0 ? nearOffsets : exactOffsets);
                tile = {fort.first * sign.first + offset.first, fort.second * sign.second + offset.second};
                // Exactly 10 from this fort must not fall within range of another.
                if (kind == 1 && nearAnyFort(tile.first, tile.second, 100))
                    continue;
            }
            if (takeTile(tile.first, tile.second)) {
                lord.branchCastles.push_back(newPlace(m_names.placeName(m_rng) + "出城", tile));
                return;
            }
        }
    }

    void makeRanking()
    {
        for (int c = 0; c < kRankingCategories; ++c) {
            std::vector<std::pair<int, int>> order; // (-score, user id)
            for (const Lord &lord : m_world.lords)
                order.push_back({-lord.scores[static_cast<std::size_t>(c)], lord.userId});
            std::sort(order.begin(), order.end());
            for (const auto &entry : order)
                m_world.ranking[static_cast<std::size_t>(c)].push_back(entry.second);
        }
    }

    void makeInbox();

    Rng m_rng;
    int m_ownSize;
    World m_world;
    NameBook m_names;
    std::vector<int> m_sizes;
    std::set<Tile> m_taken;
    std::map<int, std::size_t> m_lordIndex;
    int m_nextVillageId = 50001;
};

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(long long days, int &year, int &month, int &day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::string dateText(long long minutes)
{
    int year = 0;
    int month = 0;
    int day = 0;
    civilFromDays(minutes / 1440, year, month, day);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d", year, month, day,
                  static_cast<int>(minutes % 1440 / 60), static_cast<int>(minutes % 60));
    return buffer;
}

void Generator::makeInbox()
{
    // Strangers are lords without blanks in their names: the inbox row is
    // split at blanks, and only a roster name tells where a name with a blank
    // begins. Members with a blank do write (the roster holds them).
    const Alliance &own = m_world.alliances[1];
    std::vector<const Lord *> members;
    std::vector<const Lord *> strangers;
    const Lord *blankedMember = nullptr;
    for (const Lord &lord : m_world.lords) {
        const bool blank = lord.name.find(' ') != std::string::npos;
        if (lord.userId == m_world.playerUserId || (blank && lord.allianceId != own.id))
            continue;
        if (blank && blankedMember == nullptr)
            blankedMember = &lord;
        (lord.allianceId == own.id ? members : strangers).push_back(&lord);
    }
    const std::vector<std::string> replies = {"Re: 【出欠】次回合戦の参加確認", "【出欠】参加します",
                                              "Re: 【出欠】本日の攻城戦", "出欠の件"};
    const std::vector<std::string> others = {"援軍要請",          "Re: 定期連絡", "ご挨拶",
                                             "同盟加入のお願い",  "取引のご相談", "Re: 国境の件",
                                             "資源の融通について"};
    const std::vector<std::string> notices = {"【運営】定期メンテナンスのお知らせ",
                                              "【運営】合戦開始のお知らせ", "【運営】不具合修正のお知らせ"};
    // Several pages, but fewer than ten: the reply checker takes the page
    // count from the last digit of the pager.
    const int pages = 4 + static_cast<int>(m_world.seed % 3);
    const int count = (pages - 1) * World::kInboxPerPage + m_rng.between(5, World::kInboxPerPage);
    long long minutes = (19723LL + static_cast<long long>(m_world.seed % 300)) * 1440 + 21 * 60 + 30;
    std::vector<const Lord *> regulars; // members who write several times
    for (std::size_t k = 0; k < members.size() && k < 3; ++k)
        regulars.push_back(members[k]);
    for (int i = 0; i < count; ++i) {
        Letter letter;
        letter.id = 900001 + i;
        letter.date = dateText(minutes);
        minutes -= m_rng.between(7, 400);
        const int kind = m_rng.between(0, 9);
        const Lord *sender = nullptr;
        if (kind == 0) {
            letter.sender = kOperatorName;
            letter.subject = m_rng.pick(notices);
        } else if (kind <= 2 && !strangers.empty()) {
            sender = m_rng.pick(strangers);
            letter.subject = m_rng.pick(others);
        } else if (!members.empty()) {
            sender = (kind <= 4 && !regulars.empty()) ? m_rng.pick(regulars) : m_rng.pick(members);
            letter.subject = m_rng.chance(60) ? m_rng.pick(replies) : m_rng.pick(others);
        } else {
            letter.sender = kOperatorName;
            letter.subject = m_rng.pick(notices);
        }
        if (sender != nullptr) {
            letter.sender = sender->name;
            letter.senderUserId = sender->userId;
        }
        m_world.inbox.push_back(letter);
    }
    // One reply on the first page surely comes from a member with a blank.
    if (blankedMember != nullptr && m_world.inbox.size() > 1) {
        Letter &letter = m_world.inbox[1];
        letter.sender = blankedMember->name;
        letter.senderUserId = blankedMember->userId;
        letter.subject = replies.front();
    }
}

} // namespace

World World::generate(std::uint64_t seed, int ownAllianceSize)
{
    return Generator(seed, std::max(1, ownAllianceSize)).run();
}

namespace {

// Every category in score order, ties by user id, as the generator ranks.
void rankAllCategories(World &world)
{
    for (std::size_t c = 0; c < kRankingCategories; ++c) {
        std::vector<std::pair<int, int>> order; // (-score, user id)
        for (const Lord &lord : world.lords)
            order.push_back({-lord.scores[c], lord.userId});
        std::sort(order.begin(), order.end());
        world.ranking[c].clear();
        for (const auto &entry : order)
            world.ranking[c].push_back(entry.second);
    }
}

} // namespace

void plantRankingTraps(World &world)
{
    const int ownId = world.playerAllianceId;
    const int longerId = ownId * 10 + 7; // the own id is a prefix of it
    const int shorterId = ownId / 10;    // a prefix of the own id
    if (world.alliance(longerId) != nullptr)
        return;
    const Alliance &own = *world.alliance(ownId);
    int twinId = own.memberIds.back();
    for (int id : own.memberIds) {
        if (world.lord(id)->name == "凛")
            twinId = id;
    }
    const std::string twinName = world.lord(twinId)->name;

    std::array<int, kRankingCategories> top{};
    int nextUserId = 0;
    int nextVillageId = 0;
    for (const Lord &lord : world.lords) {
        for (std::size_t c = 0; c < kRankingCategories; ++c)
            top[c] = std::max(top[c], lord.scores[c]);
        nextUserId = std::max(nextUserId, lord.userId + 1);
        nextVillageId = std::max(nextVillageId, lord.home.villageId + 1);
    }
    world.alliances.push_back(
        Alliance{longerId, "擬態連合", static_cast<int>(world.alliances.size()) + 1, {}});
    world.alliances.push_back(
        Alliance{shorterId, "写し衆", static_cast<int>(world.alliances.size()) + 1, {}});
    // (name, alliance, lead over the former first): ranks 1, 3 and 4 in every category.
    const std::vector<std::tuple<std::string, int, int>> newcomers = {
        {"白" + twinName + "丸", longerId, 60}, {"擬態 一号", longerId, 40}, {"写し 二号", shorterId, 30}};
    int tile = 0;
    for (const auto &[name, allianceId, lead] : newcomers) {
        Lord lord;
        lord.userId = nextUserId++;
        lord.name = name;
        lord.home = Place{nextVillageId++, name + "城", -200 + tile, 200};
        ++tile;
        lord.allianceId = allianceId;
        lord.role = "一般";
        lord.scores = {top[0] + lead, top[1] + lead, top[2] + lead, top[1] + top[2] + 2 * lead};
        world.lords.push_back(lord);
    }
    world.rebuildIndex();
    for (std::size_t k = 0; k < newcomers.size(); ++k) {
        const Lord &lord = world.lords[world.lords.size() - newcomers.size() + k];
        world.alliance(lord.allianceId)->memberIds.push_back(lord.userId);
    }
    // The own member right after the lord whose name holds his: rank 2.
    Lord &twin = *world.lord(twinId);
    twin.scores = {top[0] + 50, top[1] + 50, top[2] + 50, top[1] + top[2] + 100};
    rankAllCategories(world);
}

void advanceDay(World &world, int &joined, int &left)
{
    ++world.day;
    Rng rng(world.seed * 0x9E3779B97F4A7C15ULL +
            static_cast<std::uint64_t>(world.day) * 0x2545F4914F6CDD1DULL);
    for (Lord &lord : world.lords) {
        if (rng.chance(25))
            continue;
        lord.points += rng.between(1, 400);
        lord.population += rng.between(1, 120);
        lord.merit += rng.between(0, 900);
        lord.pointsDay = world.day;
    }
    const Alliance &own = *world.alliance(world.playerAllianceId);
    std::vector<int> outsiders;
    for (const Lord &lord : world.lords) {
        if (lord.allianceId != world.playerAllianceId)
            outsiders.push_back(lord.userId);
    }
    std::vector<int> leavers;
    for (std::size_t i = 1; i < own.memberIds.size(); ++i) {
        if (own.memberIds[i] != world.playerUserId)
            leavers.push_back(own.memberIds[i]);
    }
    joined = outsiders.empty() ? 0 : rng.pick(outsiders);
    left = leavers.empty() ? 0 : rng.pick(leavers);
    if (left != 0)
        world.removeMember(world.playerAllianceId, left);
    if (joined != 0)
        world.addMember(world.playerAllianceId, joined);
}

void setInboxPages(World &world, int pages)
{
    const std::size_t lowest =
        pages <= 0 ? 0 : static_cast<std::size_t>((pages - 1) * World::kInboxPerPage + 1);
    const std::size_t highest = pages <= 0 ? 0 : static_cast<std::size_t>(pages * World::kInboxPerPage);
    if (world.inbox.size() > highest)
        world.inbox.resize(highest);
    int nextId = 900001;
    for (const Letter &letter : world.inbox)
        nextId = std::max(nextId, letter.id + 1);
    const std::string oldest =
        world.inbox.empty() ? std::string("2024/01/01 00:00") : world.inbox.back().date;
    while (world.inbox.size() < lowest) {
        Letter letter;
        letter.id = nextId++;
        letter.sender = kOperatorName;
        letter.subject = "【運営】過去のお知らせ";
        letter.date = oldest;
        world.inbox.push_back(letter);
    }
}

std::vector<int> postReplies(World &world, const std::string &keyword, int every, int offset)
{
    std::vector<int> senders;
    const Alliance *own = world.alliance(world.playerAllianceId);
    if (own == nullptr || every <= 0)
        return senders;
    int nextId = 900001;
    for (const Letter &letter : world.inbox)
        nextId = std::max(nextId, letter.id + 1);
    const std::string date = world.inbox.empty() ? std::string("2024/01/01 00:00") : world.inbox.front().date;
    std::vector<Letter> posted;
    for (std::size_t position = 0; position < own->memberIds.size(); ++position) {
        const int userId = own->memberIds[position];
        if (userId == world.playerUserId ||
            (static_cast<int>(position) + world.day) % every != offset % every)
            continue;
        Letter letter;
        letter.id = nextId++;
        letter.sender = world.lord(userId)->name;
        letter.senderUserId = userId;
        letter.subject = "Re: " + keyword;
        letter.date = date;
        posted.push_back(letter);
        senders.push_back(userId);
    }
    // Newest first: the last poster's letter is on top.
    world.inbox.insert(world.inbox.begin(), posted.rbegin(), posted.rend());
    return senders;
}

bool setRankingScore(World &world, int userId, RankingCategory category, int score)
{
    Lord *lord = world.lord(userId);
    if (lord == nullptr)
        return false;
    lord->scores[static_cast<std::size_t>(category)] = score;
    if (category == RankingCategory::Attack || category == RankingCategory::Defense)
        lord->scores[3] = lord->scores[1] + lord->scores[2];
    rankAllCategories(world);
    return true;
}
