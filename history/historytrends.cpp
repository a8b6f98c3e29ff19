#include "history/historytrends.h"

#include <QHash>
#include <QSet>
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

LogEntry readLogLine(const QString &line)
{
    LogEntry entry;
    const qsizetype first = line.indexOf(u' ');
    const qsizetype second = first < 0 ? -1 : line.indexOf(u' ', first + 1);
    if (second < 0)
        return entry;
    entry.day = QDate::fromString(line.left(first), QStringLiteral("yyyy/MM/dd"));
    entry.what = line.mid(first + 1, second - first - 1);
    entry.joined = entry.what == QStringLiteral("加入");
    entry.name = line.mid(second + 1);
    return entry;
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
    // The same steps as the store takes run by run as they are recorded.
    PointsStates states;
    const Snapshot *latest = nullptr;
    const QList<Snapshot> ordered = inTimeOrder(snapshots);
    for (const Snapshot &snapshot : ordered) {
        if (!readsPoints(snapshot))
            continue;
        applyPoints(states, snapshot);
        latest = &snapshot;
    }
    return latest ? idleFrom(states, *latest, today) : QList<IdleMember>();
}

bool readsPoints(const Snapshot &snapshot)
{
    return std::any_of(snapshot.members.cbegin(), snapshot.members.cend(),
                       [](const MemberReading &member) { return member.points.has_value(); });
}

SnapshotTotals totalsOf(const Snapshot &snapshot)
{
    SnapshotTotals totals{
        snapshot.id, snapshot.takenAt, snapshot.command, static_cast<int>(snapshot.members.size()), {}, {},
        {}};
    const auto add = [](std::optional<qint64> &sum, const std::optional<qint64> &value) {
        if (value)
            sum = sum.value_or(0) + *value;
    };
    for (const MemberReading &reading : snapshot.members) {
        add(totals.points, reading.points);
        add(totals.population, reading.population);
        add(totals.merit, reading.merit);
    }
    return totals;
}

QString pointsKey(const MemberReading &member)
{
    return member.userId.isEmpty() ? QStringLiteral("name:") + member.name
                                   : QStringLiteral("id:") + member.userId;
}

QStringList applyPoints(PointsStates &states, const Snapshot &snapshot)
{
    const QDate day = snapshot.takenAt.date();
    QStringList changed;
    const auto step = [&](const QString &key, qint64 points, const QString &name) {
        auto found = states.find(key);
        if (found == states.end()) {
            states.insert(key, PointsState{points, day, false, name});
        } else if (found->lastPoints != points) {
            *found = PointsState{points, day, true, name, static_cast<int>(found->lastMovedOn.daysTo(day))};
        } else if (found->name != name) {
            found->name = name;
        } else {
            return;
        }
        changed << key;
    };
    // A member with an id is followed by its id; a reading without one
    // stands for the member of that name, as the run that read it could
    // not tell more. The name's state follows every reading of the name.
    QSet<QString> readById;
    QHash<QString, qint64> byName;
    for (const MemberReading &reading : snapshot.members) {
        if (!reading.points)
            continue;
        if (!reading.userId.isEmpty()) {
            step(pointsKey(reading), *reading.points, reading.name);
            readById.insert(reading.name);
        }
        byName.insert(reading.name, *reading.points);
    }
    for (auto it = byName.cbegin(); it != byName.cend(); ++it)
        step(QStringLiteral("name:") + it.key(), it.value(), it.key());
    // A reading without an id also moves the members with ids of that name
    // that this snapshot did not read by their ids.
    QMultiHash<QString, QString> idKeysByName;
    for (const MemberReading &reading : snapshot.members) {
        if (!reading.points || !reading.userId.isEmpty() || readById.contains(reading.name))
            continue;
        if (idKeysByName.isEmpty()) {
            for (auto it = states.cbegin(); it != states.cend(); ++it) {
                if (it.key().startsWith(QStringLiteral("id:")))
                    idKeysByName.insert(it->name, it.key());
            }
        }
        const QStringList keys = idKeysByName.values(reading.name);
        for (const QString &key : keys)
            step(key, *reading.points, reading.name);
    }
    changed.removeDuplicates();
    return changed;
}

QList<IdleMember> idleFrom(const PointsStates &states, const Snapshot &latestWithPoints, const QDate &today)
{
    QList<IdleMember> idle;
    for (const MemberReading &current : latestWithPoints.members) {
        if (!current.points)
            continue;
        const auto found = states.constFind(pointsKey(current));
        if (found == states.cend())
            continue;
        // A clock set back never gives a negative idle time.
        const int days = static_cast<int>(std::max<qint64>(0, found->lastMovedOn.daysTo(today)));
        idle << IdleMember{current.userId, current.name,  found->lastMovedOn,
                           days,           !found->moved, found->stoodBeforeLastMove};
    }
    return idle;
}

} // namespace HistoryTrends
