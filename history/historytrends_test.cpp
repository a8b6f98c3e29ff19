#include "history/historytrends.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

MemberReading member(int position, const QString &userId, const QString &name,
                     std::optional<qint64> points = {})
{
    MemberReading reading;
    reading.position = position;
    reading.userId = userId;
    reading.name = name;
    reading.points = points;
    return reading;
}

// Japan's offset; a late-evening run stays on its local day.
Snapshot snapshotOn(int month, int day, const QString &command, const QList<MemberReading> &members,
                    QTime time = QTime(23, 30))
{
    Snapshot snapshot;
    snapshot.takenAt = QDateTime(QDate(2026, month, day), time, QTimeZone(9 * 3600));
    snapshot.command = command;
    snapshot.allianceId = QStringLiteral("7");
    snapshot.members = members;
    return snapshot;
}

} // namespace

TEST(HistoryTrendsTest, SameMemberByIdWhenBothHaveOneElseByExactName)
{
    const MemberReading rin = member(1, QStringLiteral("101"), QStringLiteral("Rin"));
    EXPECT_TRUE(HistoryTrends::sameMember(rin, member(5, QStringLiteral("101"), QStringLiteral("Renamed"))));
    EXPECT_FALSE(HistoryTrends::sameMember(rin, member(1, QStringLiteral("102"), QStringLiteral("Rin"))));
    EXPECT_TRUE(HistoryTrends::sameMember(rin, member(2, QString(), QStringLiteral("Rin"))));
    EXPECT_TRUE(HistoryTrends::sameMember(member(2, QString(), QStringLiteral("Rin")), rin));
    EXPECT_FALSE(HistoryTrends::sameMember(rin, member(2, QString(), QStringLiteral("rin"))));
    EXPECT_FALSE(HistoryTrends::sameMember(rin, member(2, QString(), QStringLiteral("Rin "))));
}

TEST(HistoryTrendsTest, JoinLeaveLogFollowsConsecutiveSnapshotsInTimeOrder)
{
    const QString roster = QStringLiteral("roster");
    const QList<Snapshot> snapshots = {
        // Given out of order: the log follows the time of each run.
        snapshotOn(12, 5, roster,
                   {member(1, QStringLiteral("102"), QStringLiteral("太郎改")),
                    member(2, QStringLiteral("103"), QStringLiteral("山田太郎"))}),
        snapshotOn(11, 30, roster,
                   {member(1, QStringLiteral("101"), QStringLiteral("凛")),
                    member(2, QStringLiteral("102"), QStringLiteral("太郎"))}),
        snapshotOn(12, 1, roster,
                   {member(1, QStringLiteral("101"), QStringLiteral("凛")),
                    member(2, QStringLiteral("102"), QStringLiteral("太郎")),
                    member(3, QStringLiteral("103"), QStringLiteral("山田太郎"))}),
        // A join and a leave on one day; a second join after the first.
        snapshotOn(12, 6, roster,
                   {member(1, QStringLiteral("104"), QStringLiteral("新人")),
                    member(2, QStringLiteral("102"), QStringLiteral("太郎改")),
                    member(3, QStringLiteral("106"), QStringLiteral("二人目"))}),
        // The same name under another id is another lord.
        snapshotOn(12, 7, roster,
                   {member(1, QStringLiteral("104"), QStringLiteral("新人")),
                    member(2, QStringLiteral("105"), QStringLiteral("太郎改")),
                    member(3, QStringLiteral("106"), QStringLiteral("二人目"))}),
    };
    const QStringList expected = {
        QStringLiteral("2026/12/01 加入 山田太郎"), QStringLiteral("2026/12/05 脱退 凛"),
        QStringLiteral("2026/12/06 加入 新人"),     QStringLiteral("2026/12/06 加入 二人目"),
        QStringLiteral("2026/12/06 脱退 山田太郎"), QStringLiteral("2026/12/07 加入 太郎改"),
        QStringLiteral("2026/12/07 脱退 太郎改"),
    };
    EXPECT_EQ(HistoryTrends::joinLeaveLog(snapshots), expected);

    EXPECT_TRUE(HistoryTrends::joinLeaveLog({snapshots.at(1)}).isEmpty());
    EXPECT_TRUE(HistoryTrends::joinLeaveLog({}).isEmpty());
}

TEST(HistoryTrendsTest, DaysSincePointsLastMovedAcrossEveryRunThatReadPoints)
{
    const QString activity = QStringLiteral("activity");
    const QString id1 = QStringLiteral("1"), id2 = QStringLiteral("2"), id3 = QStringLiteral("3"),
                  id4 = QStringLiteral("4"), id5 = QStringLiteral("5");
    const QList<Snapshot> snapshots = {
        snapshotOn(12, 1, activity,
                   {member(1, id1, QStringLiteral("A"), 100), member(2, id2, QStringLiteral("B"), 200),
                    member(3, id3, QStringLiteral("C"), 300), member(4, id5, QStringLiteral("E"), 9)}),
        snapshotOn(12, 3, QStringLiteral("report"),
                   {member(1, id1, QStringLiteral("A"), 100), member(2, id2, QStringLiteral("B"), 250),
                    member(3, id3, QStringLiteral("C"), 300), member(4, id5, QStringLiteral("E"), 9)}),
        // A roster reads no points: neither its members nor its missing
        // points count.
        snapshotOn(12, 4, QStringLiteral("roster"), {member(1, id1, QStringLiteral("A"))}),
        snapshotOn(12, 5, activity,
                   {member(1, id1, QStringLiteral("A"), 100), member(2, id2, QStringLiteral("B"), 250),
                    member(3, id3, QStringLiteral("C"), 310), member(4, id4, QStringLiteral("D"), 50)}),
        // C's points come back to an earlier value: that is a move too. E has
        // left and is not listed; the list follows this run's order.
        snapshotOn(12, 6, activity,
                   {member(1, id4, QStringLiteral("D"), 50), member(2, id1, QStringLiteral("A"), 100),
                    member(3, id2, QStringLiteral("B"), 250), member(4, id3, QStringLiteral("C"), 300)}),
    };
    const QDate today(2026, 12, 10);
    const QList<IdleMember> expected = {
        {id4, QStringLiteral("D"), QDate(2026, 12, 5), 5, true},
        {id1, QStringLiteral("A"), QDate(2026, 12, 1), 9, true},
        // B stood 2 days before it moved; C moved twice, the last time after a day.
        {id2, QStringLiteral("B"), QDate(2026, 12, 3), 7, false, 2},
        {id3, QStringLiteral("C"), QDate(2026, 12, 6), 4, false, 1},
    };
    EXPECT_EQ(HistoryTrends::daysSincePointsLastMoved(snapshots, today), expected);

    // Moved on the day itself: zero days; a clock set back gives no negative count.
    const QList<IdleMember> sameDay = HistoryTrends::daysSincePointsLastMoved(snapshots, QDate(2026, 12, 6));
    EXPECT_EQ(sameDay.at(3).days, 0);
    EXPECT_EQ(sameDay.at(2).days, 3);
    EXPECT_EQ(HistoryTrends::daysSincePointsLastMoved(snapshots, QDate(2026, 11, 1)).at(3).days, 0);

    EXPECT_TRUE(HistoryTrends::daysSincePointsLastMoved({snapshots.at(2)}, today).isEmpty());
}

TEST(HistoryTrendsTest, DaysSinceMatchesReadingsWithoutIdsByName)
{
    // A run that read no user ids still belongs to the member of that name.
    const QList<Snapshot> snapshots = {
        snapshotOn(12, 1, QStringLiteral("report"), {member(1, QString(), QStringLiteral("凛"), 10)}),
        snapshotOn(12, 2, QStringLiteral("activity"),
                   {member(1, QStringLiteral("9"), QStringLiteral("凛"), 20)}),
        snapshotOn(12, 4, QStringLiteral("report"), {member(1, QString(), QStringLiteral("凛"), 20)}),
    };
    const QList<IdleMember> idle = HistoryTrends::daysSincePointsLastMoved(snapshots, QDate(2026, 12, 4));
    ASSERT_EQ(idle.size(), 1);
    EXPECT_EQ(idle.at(0).lastMovedOn, QDate(2026, 12, 2));
    EXPECT_FALSE(idle.at(0).neverMoved);
}
