#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The generated game world. All texts are UTF-8.

struct Place
{
    int villageId = 0;
    std::string name;
    int x = 0;
    int y = 0;
};

enum class RankingCategory { Merit = 0, Attack = 1, Defense = 2, Total = 3 };
inline constexpr int kRankingCategories = 4;

struct Lord
{
    int userId = 0;
    std::string name;
    Place home;
    int allianceId = 0; // 0: belongs to no alliance
    std::string role;   // empty without an alliance
    int population = 0;
    int merit = 0;
    int level = 1;
    std::vector<Place> fiefs;
    std::vector<Place> branchCastles; // at most one
    int points = 0;
    std::array<int, kRankingCategories> scores{};
    int pointsDay = 0; // the world day the points last moved on (0: the first day)
};

struct Alliance
{
    int id = 0;
    std::string name;
    int rank = 0;
    std::vector<int> memberIds; // member-table order
};

struct Letter
{
    int id = 0;
    std::string subject;
    std::string sender;
    int senderUserId = 0; // 0: the operator or a lord no longer known
    std::string date;
};

struct SentLetter
{
    std::string subject;
    std::string to;
    std::string body;
};

class World
{
public:
    static World generate(std::uint64_t seed, int ownAllianceSize);

    std::uint64_t seed = 0;
    int day = 0; // days advanced since the world was made
    int playerUserId = 0;
    int playerAllianceId = 0;
    std::vector<Lord> lords;
    std::vector<Alliance> alliances;
    // Per category, lord user ids in rank order (rank = index + 1).
    std::array<std::vector<int>, kRankingCategories> ranking;
    std::vector<Letter> inbox; // newest first
    std::vector<SentLetter> sentLetters;

    const Lord *lord(int userId) const;
    Lord *lord(int userId);
    const Alliance *alliance(int allianceId) const;
    Alliance *alliance(int allianceId);
    const Lord &player() const { return *lord(playerUserId); }
    const Lord *lordByName(const std::string &name) const;
    int rankingPageCount() const;
    int inboxPageCount() const;

    // Membership changes keep the lord's alliance id, role and the member
    // table in step. Both return false for an unknown lord or alliance.
    bool addMember(int allianceId, int userId);
    bool removeMember(int allianceId, int userId);

    void rebuildIndex();

    static constexpr int kRankingPerPage = 10;
    static constexpr int kInboxPerPage = 20;

private:
    std::map<int, std::size_t> m_lordIndex;
    std::map<int, std::size_t> m_allianceIndex;
};

inline constexpr const char *kOperatorName = "戦国OVEK運営チーム";

// War-ranking traps for tests (worldgen.cpp). Adds four lords at the top of
// every ranking: "白<name>丸" (rank 1), whose name holds that of an own member
// ranked 2nd (the one-character "凛" when the own alliance has him), and
// lords of two alliances whose ids are the own id with one more digit and
// the own id without its last digit. Afterwards the world no longer keeps
// "ids of four digits" and "no name is part of another". Idempotent.
void plantRankingTraps(World &world);

// Moves the world on by one day, the same way for the same seed and day:
// most lords' points, population and merit grow, about a quarter stay as
// they were; one lord from outside joins the player's alliance and one of
// its members (neither the player nor the leader) leaves it. The ids of the
// two come back through joined and left (0 when nobody could).
void advanceDay(World &world, int &joined, int &left);

// Makes the inbox span exactly pages pages (0: empty): letters are dropped
// from the oldest, or letters of the operator are added after the oldest.
void setInboxPages(World &world, int pages);

// Members of the player's alliance (not the player) answer a circular: the
// members at table positions p with (p + world.day) % every == offset each
// post one letter "Re: <keyword>" at the top of the inbox, dated the
// newest letter's day. A later day picks others. Returns the senders'
// user ids in table order.
std::vector<int> postReplies(World &world, const std::string &keyword, int every, int offset);

// Sets one ranking score of a lord and ranks every category again; setting
// attack or defense also makes total their sum. False for an unknown lord.
bool setRankingScore(World &world, int userId, RankingCategory category, int score);
