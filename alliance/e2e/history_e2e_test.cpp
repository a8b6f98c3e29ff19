// End to end: five days of roster and activity runs against demosite, the
// world moved on a day between them, every run's snapshot in the real
// history store in AppDir.
#include "alliance/commands/activitycommand.h"
#include "alliance/commands/rostercommand.h"
#include "alliance/walk/historyrecorder.h"
#include "history/historystore.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/qtprinters.h"

#include <QHash>
#include <QJsonArray>

namespace {

constexpr int kDays = 5;

class HistoryEndToEnd : public EndToEndFixture
{
protected:
    QDate dayDate(int day) const { return m_firstDay.addDays(day); }

    const QDate m_firstDay{2026, 12, 1};
    FakeClock m_today{12 * 3600, m_firstDay};
};

TEST_F(HistoryEndToEnd, FiveDaysOfRunsKeepEverySnapshotTheJoinsAndLeavesAndWhenPointsLastMoved)
{
    startUp();
    const QString allianceId = m_session.allianceId;
    HistoryStore store(m_session.appDir);
    StoreRecorder recorder(store, m_today);
    context().history = &recorder;

    QStringList expectedLog;
    // Per member name (as the member table shows it): the points of every
    // day the member was in the alliance, from the dump.
    QHash<QString, QList<std::pair<int, qint64>>> seen;
    QJsonObject lastDump;
    for (int day = 0; day < kDays; ++day) {
        if (day > 0) {
            const QJsonObject moved =
                QJsonDocument::fromJson(m_site.control(QStringLiteral("advance-day"))).object();
            ASSERT_EQ(moved[QStringLiteral("day")].toInt(), day);
            const QJsonObject world = dump();
            EXPECT_EQ(world[QStringLiteral("day")].toInt(), day);
            for (const QString &change : {QStringLiteral("joined"), QStringLiteral("left")}) {
                const int id = moved[change].toInt();
                ASSERT_NE(id, 0) << change.toStdString();
                for (const QJsonValue lord : world[QStringLiteral("lords")].toArray()) {
                    if (lord[QStringLiteral("user_id")].toInt() == id)
                        expectedLog.append(dayDate(day).toString(QStringLiteral("yyyy/MM/dd")) +
                                           (change == QStringLiteral("joined") ? QStringLiteral(" 加入 ")
                                                                               : QStringLiteral(" 脱退 ")) +
                                           RosterOracle::tableName(lord.toObject()));
                }
            }
        }
        m_today.setDate(dayDate(day));
        m_port.progress.clear();
        RosterCommand(context()).run();
        ActivityCommand(context(), m_today).run();
        for (const QString &caption : std::as_const(m_port.progress))
            EXPECT_FALSE(caption.contains(QStringLiteral("履歴を記録できませんでした")))
                << caption.toStdString();

        lastDump = dump();
        for (const QJsonObject &lord : RosterOracle::members(lastDump, allianceId))
            seen[RosterOracle::tableName(lord)].append({day, lord[QStringLiteral("points")].toInteger()});
    }
    ASSERT_EQ(expectedLog.size(), 2 * (kDays - 1));

    const Result<QList<Snapshot>> rosters = store.snapshots(allianceId, History::Kinds::roster.key);
    const Result<QList<Snapshot>> activities = store.snapshots(allianceId, History::Kinds::activity.key);
    ASSERT_TRUE(rosters.ok && activities.ok) << rosters.error.toStdString() << activities.error.toStdString();
    ASSERT_EQ(rosters.value.size(), kDays);
    ASSERT_EQ(activities.value.size(), kDays);
    for (int day = 0; day < kDays; ++day) {
        EXPECT_EQ(rosters.value[day].takenAt.date(), dayDate(day));
        EXPECT_EQ(rosters.value[day].members.size(), 30) << "one joins and one leaves each day";
    }

    const Result<QStringList> log = store.joinLeaveLog(allianceId);
    ASSERT_TRUE(log.ok) << log.error.toStdString();
    EXPECT_EQ(log.value, expectedLog);

    // The day points were last seen to move: the last day a member's points
    // differ from those of the member's previous day in the alliance.
    QHash<QString, int> pointsDay;
    for (const QJsonValue lord : lastDump[QStringLiteral("lords")].toArray())
        pointsDay[RosterOracle::tableName(lord.toObject())] = lord[QStringLiteral("points_day")].toInt();
    const Result<QList<IdleMember>> idle =
        store.daysSincePointsLastMoved(allianceId, dayDate(kDays - 1));
    ASSERT_TRUE(idle.ok) << idle.error.toStdString();
    ASSERT_EQ(idle.value.size(), 30);
    int throughout = 0;
    int stoodStill = 0;
    for (const IdleMember &member : idle.value) {
        const QString name = QString(member.name).remove(u' ');
        ASSERT_TRUE(seen.contains(name)) << name.toStdString();
        const QList<std::pair<int, qint64>> &days = seen[name];
        int lastMoved = days.first().first;
        for (qsizetype i = 1; i < days.size(); ++i) {
            if (days[i].second != days[i - 1].second)
                lastMoved = days[i].first;
        }
        EXPECT_EQ(member.lastMovedOn, dayDate(lastMoved)) << name.toStdString();
        EXPECT_EQ(member.days, kDays - 1 - lastMoved) << name.toStdString();
        EXPECT_EQ(member.neverMoved, lastMoved == days.first().first) << name.toStdString();
        if (days.size() == kDays) {
            ++throughout;
            EXPECT_EQ(lastMoved, pointsDay[name])
                << "the world's own record of the day, " << name.toStdString();
            if (pointsDay[name] < kDays - 1)
                ++stoodStill;
        }
    }
    EXPECT_GT(throughout, 20);
    EXPECT_GT(stoodStill, 0) << "some members' points stood still on the last day";
}

} // namespace
