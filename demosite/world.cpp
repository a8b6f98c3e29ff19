#include "demosite/world.h"

#include <algorithm>

void World::rebuildIndex()
{
    m_lordIndex.clear();
    m_allianceIndex.clear();
    for (std::size_t i = 0; i < lords.size(); ++i)
        m_lordIndex[lords[i].userId] = i;
    for (std::size_t i = 0; i < alliances.size(); ++i)
        m_allianceIndex[alliances[i].id] = i;
}

const Lord *World::lord(int userId) const
{
    const auto it = m_lordIndex.find(userId);
    return it == m_lordIndex.end() ? nullptr : &lords[it->second];
}

Lord *World::lord(int userId)
{
    const auto it = m_lordIndex.find(userId);
    return it == m_lordIndex.end() ? nullptr : &lords[it->second];
}

const Alliance *World::alliance(int allianceId) const
{
    const auto it = m_allianceIndex.find(allianceId);
    return it == m_allianceIndex.end() ? nullptr : &alliances[it->second];
}

Alliance *World::alliance(int allianceId)
{
    const auto it = m_allianceIndex.find(allianceId);
    return it == m_allianceIndex.end() ? nullptr : &alliances[it->second];
}

const Lord *World::lordByName(const std::string &name) const
{
    for (const Lord &candidate : lords) {
        if (candidate.name == name)
            return &candidate;
    }
    return nullptr;
}

int World::rankingPageCount() const
{
    const auto count = static_cast<int>(ranking[0].size());
    return std::max(1, (count + kRankingPerPage - 1) / kRankingPerPage);
}

int World::inboxPageCount() const
{
    const auto count = static_cast<int>(inbox.size());
    return std::max(1, (count + kInboxPerPage - 1) / kInboxPerPage);
}

bool World::addMember(int allianceId, int userId)
{
    Alliance *target = alliance(allianceId);
    Lord *member = lord(userId);
    if (target == nullptr || member == nullptr)
        return false;
    if (member->allianceId == allianceId)
        return true;
    if (member->allianceId != 0)
        removeMember(member->allianceId, userId);
    target->memberIds.push_back(userId);
    member->allianceId = allianceId;
    member->role = "一般";
    return true;
}

bool World::removeMember(int allianceId, int userId)
{
    Alliance *from = alliance(allianceId);
    Lord *member = lord(userId);
    if (from == nullptr || member == nullptr)
        return false;
    auto &ids = from->memberIds;
    const auto it = std::find(ids.begin(), ids.end(), userId);
    if (it == ids.end())
        return false;
    ids.erase(it);
    member->allianceId = 0;
    member->role.clear();
    return true;
}
