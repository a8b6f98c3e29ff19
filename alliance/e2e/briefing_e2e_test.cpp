// End to end: four days of readings against demosite (the world moved on a
// day between them, members answering circulars on two days, the merit
// ranking read on two days, one member on leave, one joining each day), and
// 「同盟の状況」 over them against what the world dumps imply.
#include "alliance/commands/activitycommand.h"
#include "alliance/commands/briefingcommand.h"
#include "alliance/commands/rankingcommand.h"
#include "alliance/commands/replycheckercommand.h"
#include "alliance/commands/rostercommand.h"
#include "alliance/walk/historyrecorder.h"
#include "common/datafile.h"
#include "history/briefing.h"
#include "history/historystore.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/qtprinters.h"

#include <QHash>
#include <QJsonArray>
#include <QSet>
#include <QUrl>
#include <algorithm>

namespace {

constexpr int kDays = 4;
const Briefing::Thresholds kThresholds{2, 4, 2};

// What the world showed of one member over the days, from the dumps.
struct Seen
{
    int userId = 0;
    QList<std::pair<int, qint64>> points; // day, points
    int answered = 0;
    int checked = 0;
    std::optional<int> firstRank;
    std::optional<int> lastRank;
};

class BriefingEndToEnd : public EndToEndFixture
{
protected:
    QStringList siteOptions() const override { return demoOptions(12); }

    // The ranks of the own members among the first hundred of the merit ranking.
    QHash<QString, int> meritRanks(const QJsonObject &world) const
    {
        QHash<QString, int> ranks;
        for (const QJsonValue row : world[QStringLiteral("ranking")][QStringLiteral("merit")].toArray()) {
            const int rank = row[QStringLiteral("rank")].toInt();
            if (rank <= 100 &&
                QString::number(row[QStringLiteral("alliance_id")].toInt()) == m_session.allianceId)
                ranks.insert(QString(row[QStringLiteral("name")].toString()).remove(u' ').remove(u'"'), rank);
        }
        return ranks;
    }

    const QDate m_firstDay{2026, 12, 1};
    FakeClock m_today{12 * 3600, m_firstDay};
};

// The status the rules give, worked out again from what the world showed.
Briefing::Status expectedStatus(const Seen &seen, bool onLeave, int idle, int stood)
{
    if (onLeave)
        return Briefing::Status::OnLeave;
    if (seen.points.first().first > 0)
        return Briefing::Status::Newcomer; // joined during these days
    if (idle >= kThresholds.idleDays ||
        (seen.checked >= kThresholds.minAnswered && seen.answered < kThresholds.minAnswered))
        return Briefing::Status::Attention;
    if (idle < Briefing::kReturnedWithinDays && stood >= kThresholds.idleDays)
        return Briefing::Status::Returned;
    return Briefing::Status::Active;
}

TEST_F(BriefingEndToEnd, EveryMembersStatusIdleDaysRepliesAndMeritChangeAreWhatTheWorldImplies)
{
    startUp();
    const QString own = m_session.allianceId;
    HistoryStore store(m_session.appDir);
    StoreRecorder recorder(store, m_today);
    context().history = &recorder;
    ASSERT_TRUE(Briefing::writeThresholds(m_session.appDir, kThresholds).isEmpty());

    QHash<QString, Seen> seen; // by the name the member table shows
    QJsonObject world;
    for (int day = 0; day < kDays; ++day) {
        if (day > 0)
            m_site.control(QStringLiteral("advance-day"));
        m_today.setDate(m_firstDay.addDays(day));
        RosterCommand(context()).run();
        ActivityCommand(context(), m_today).run();
        QSet<int> senders;
        const bool checkDay = day == 1 || day == 3;
        if (checkDay) {
            // A circular of its own each time: the inbox keeps the earlier answers.
            const QString keyword = QStringLiteral("集合%1").arg(day);
            const QJsonObject posted =
                QJsonDocument::fromJson(
                    m_site.control(QStringLiteral("post-replies?keyword=%1&every=2&offset=%2")
                                       .arg(QString::fromUtf8(QUrl::toPercentEncoding(keyword)))
                                       .arg(day % 2)))
                    .object();
            for (const QJsonValue id : posted[QStringLiteral("senders")].toArray())
                senders.insert(id.toInt());
            ASSERT_FALSE(senders.isEmpty());
            ReplyCheckCommand(context(), keyword).run();
        }
        const bool rankingDay = day == 0 || day == kDays - 1;
        if (rankingDay) {
            // Three members among the first of the merit ranking, in another
            // order on the last day.
            const QList<QJsonObject> table = RosterOracle::members(dump(), own);
            const int scores[2][3] = {{900000, 800000, 700000}, {750000, 950000, 700000}};
            for (int i = 0; i < 3; ++i)
                m_site.control(QStringLiteral("set-score?user_id=%1&category=merit&score=%2")
                                   .arg(table[i][QStringLiteral("user_id")].toInt())
                                   .arg(scores[day == 0 ? 0 : 1][i]));
            RankingCommand(context(), 0, 0, false).run();
        }
        world = dump();
        const QHash<QString, int> ranks = meritRanks(world);
        for (const QJsonObject &lord : RosterOracle::members(world, own)) {
            Seen &member = seen[RosterOracle::tableName(lord)];
            member.userId = lord[QStringLiteral("user_id")].toInt();
            member.points.append({day, lord[QStringLiteral("points")].toInteger()});
            // The player sends the circulars: never counted.
            if (checkDay &&
                member.userId != world[QStringLiteral("player")][QStringLiteral("user_id")].toInt()) {
                ++member.checked;
                member.answered += senders.contains(member.userId) ? 1 : 0;
            }
            if (rankingDay && ranks.contains(RosterOracle::tableName(lord))) {
                (day == 0 ? member.firstRank : member.lastRank) = ranks.value(RosterOracle::tableName(lord));
            }
        }
    }

    // The leader marks the third member of the table on leave.
    const QList<QJsonObject> members = RosterOracle::members(world, own);
    ASSERT_EQ(members.size(), 12);
    const QString onLeave = RosterOracle::tableName(members[2]);
    ASSERT_TRUE(
        store.writeNote(own, MemberNote{QString::number(members[2][QStringLiteral("user_id")].toInt()),
                                        onLeave, QStringLiteral("旅行"), m_today.now().date().addDays(5)}));

    const QDate today = m_today.now().date();
    Result<Briefing::Inputs> inputs = store.briefingInputs(own, today, kThresholds.circulars);
    ASSERT_TRUE(inputs.ok) << inputs.error.toStdString();
    inputs.value.leaderName = m_session.ownLord.lordName;
    const QList<Briefing::Row> rows = Briefing::rows(inputs.value, kThresholds);
    ASSERT_EQ(rows.size(), 12);
    QSet<Briefing::Status> statuses;
    for (const Briefing::Row &row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        // The activity's names keep the blanks the member table drops.
        const QString name = QString(row.name).remove(u' ');
        ASSERT_TRUE(seen.contains(name));
        const Seen &member = seen[name];
        int lastMoved = member.points.first().first;
        int movedBefore = lastMoved;
        for (qsizetype i = 1; i < member.points.size(); ++i) {
            if (member.points[i].second != member.points[i - 1].second) {
                movedBefore = lastMoved;
                lastMoved = member.points[i].first;
            }
        }
        const int idle = kDays - 1 - lastMoved;
        EXPECT_EQ(row.idleDays, idle);
        EXPECT_EQ(row.checked, member.checked);
        EXPECT_EQ(row.answered, member.answered);
        if (member.firstRank && member.lastRank)
            EXPECT_EQ(row.rankChange, *member.firstRank - *member.lastRank);
        else
            EXPECT_FALSE(row.rankChange);
        EXPECT_EQ(row.meritRank, member.lastRank ? member.lastRank : member.firstRank)
            << "the latest place read";
        const Briefing::Status expected =
            expectedStatus(member, name == onLeave, idle, lastMoved - movedBefore);
        EXPECT_EQ(row.status, expected) << Briefing::statusName(row.status).toStdString() << " against "
                                        << Briefing::statusName(expected).toStdString();
        statuses.insert(row.status);
    }
    EXPECT_GE(statuses.size(), 3) << "the days give more than one kind of member";
    EXPECT_GE(std::count_if(rows.cbegin(), rows.cend(),
                            [](const Briefing::Row &row) { return row.rankChange.has_value(); }),
              2);

    // The text of the command is the text of the tab, byte for byte in the file.
    m_port.text.clear();
    BriefingCommand(context(), m_today).run();
    const QString text = Briefing::text(rows, today);
    EXPECT_EQ(m_port.text + QStringLiteral("\r\n"), text);
    ASSERT_TRUE(DataFile::writeText(m_session.appDir + QStringLiteral("briefing.txt"), m_port.text));
    QFile file(m_session.appDir + QStringLiteral("briefing.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), DataFile::encode(text));
}

} // namespace
