#include "history/historytrends.h"

#include <QHash>
#include <algorithm>

namespace {

// One snapshot's members, found the way sameMember() matches them.
class MemberIndex
{
public:
    explicit MemberIndex(const QList<MemberReading> &members)
    {
        for (const MemberReading &member : members) {
            if (!member.userId.isEmpty())
                m_byId.insert(member.userId, &member);
            else
                m_idlessByName.insert(member.name, &member);
            m_byName.insert(member.name, &member);
        }
    }

    const MemberReading *find(const MemberReading &member) const
    {
        if (member.userId.isEmpty())
            return m_byName.value(member.name, nullptr);
        if (const MemberReading *found = m_byId.value(member.userId, nullptr))
            return found;
        return m_idlessByName.value(member.name, nullptr);
    }

private:
    // QHash::insert replaces: the last of equal keys wins, which only matters
    // for two members of one name without ids, who cannot be told apart.
    QHash<QString, const MemberReading *> m_byId;
    QHash<QString, const MemberReading *> m_idlessByName;
    QHash<QString, const MemberReading *> m_byName;
};

// Dates in the log are written as the game writes them, whatever the
// desktop's locale: the log is read beside the game's own pages.
QString logLine(const QDate &date, const QString &what, const QString &name)
{
    return date.toString(QStringLiteral("yyyy/MM/dd")) + u' ' + what + u' ' + name;
}

bool readsPoints(const Snapshot &snapshot)
{
    return std::any_of(snapshot.members.cbegin(), snapshot.members.cend(),
                       [](const MemberReading &member) { return member.points.has_value(); });
}

} // namespace

namespace HistoryTrends {

bool sameMember(const MemberReading &a, const MemberReading &b)
{
    if (!a.userId.isEmpty() && !b.userId.isEmpty())
        return a.userId == b.userId;
    return a.name == b.name;
}

QList<Snapshot> inTimeOrder(QList<Snapshot> snapshots)
{
    std::stable_sort(snapshots.begin(), snapshots.end(),
                     [](const Snapshot &a, const Snapshot &b) { return a.takenAt < b.takenAt; });
    return snapshots;
}

QStringList joinLeaveLog(const QList<Snapshot> &snapshots)
{
    const QList<Snapshot> ordered = inTimeOrder(snapshots);
    QStringList log;
    for (qsizetype i = 1; i < ordered.size(); ++i) {
        const Snapshot &before = ordered.at(i - 1);
        const Snapshot &after = ordered.at(i);
        const MemberIndex beforeIndex(before.members);
        const MemberIndex afterIndex(after.members);
        const QDate day = after.takenAt.date();
        for (const MemberReading &member : after.members) {
            if (!beforeIndex.find(member))
                log << logLine(day, QStringLiteral("加入"), member.name);
        }
        for (const MemberReading &member : before.members) {
            if (!afterIndex.find(member))
                log << logLine(day, QStringLiteral("脱退"), member.name);
        }
    }
    return log;
}

QList<IdleMember> daysSincePointsLastMoved(const QList<Snapshot> &snapshots, const QDate &today)
{
    QList<Snapshot> withPoints;
    for (const Snapshot &snapshot : inTimeOrder(snapshots)) {
        if (readsPoints(snapshot))
            withPoints << snapshot;
    }
    if (withPoints.isEmpty())
        return {};

    QList<MemberIndex> indexes;
    indexes.reserve(withPoints.size());
    for (const Snapshot &snapshot : withPoints)
        indexes.emplace_back(snapshot.members);

    QList<IdleMember> idle;
    for (const MemberReading &current : withPoints.last().members) {
        if (!current.points)
            continue;
        std::optional<qint64> previous;
        QDate lastMoved;
        bool moved = false;
        for (qsizetype i = 0; i < withPoints.size(); ++i) {
            const MemberReading *reading = indexes.at(i).find(current);
            if (!reading || !reading->points)
                continue;
            const QDate day = withPoints.at(i).takenAt.date();
            if (!previous) {
                lastMoved = day;
            } else if (*reading->points != *previous) {
                lastMoved = day;
                moved = true;
            }
            previous = reading->points;
        }
        // A clock set back never gives a negative idle time.
        const int days = static_cast<int>(std::max<qint64>(0, lastMoved.daysTo(today)));
        idle << IdleMember{current.userId, current.name, lastMoved, days, !moved};
    }
    return idle;
}

} // namespace HistoryTrends
