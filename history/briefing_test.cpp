#include "history/briefing.h"

#include <gtest/gtest.h>

namespace {

QStringList texts(std::initializer_list<const char *> items)
{
    QStringList list;
    for (const char *item : items)
        list << QString::fromUtf8(item);
    return list;
}

MemberReading member(int position, const char *userId, const char *name, std::optional<qint64> points = {})
{
    MemberReading reading;
    reading.position = position;
    reading.userId = QString::fromUtf8(userId);
    reading.name = QString::fromUtf8(name);
    reading.points = points;
    return reading;
}

IdleMember idle(const char *userId, const char *name, int days, int stood = 0)
{
    const QDate today(2026, 12, 20);
    return {QString::fromUtf8(userId), QString::fromUtf8(name), today.addDays(-days), days, false, stood};
}

// A reply check on day: who of the roster answered ('y') or not ('n').
Snapshot replies(int day, const QList<std::pair<const char *, char>> &answers)
{
    Snapshot check;
    check.takenAt = QDateTime(QDate(2026, 12, day), QTime(20, 0));
    check.command = QStringLiteral("replies");
    int position = 0;
    for (const auto &[name, answer] : answers) {
        MemberReading reading = member(++position, "", name);
        reading.replied = answer == 'y';
        check.members << reading;
    }
    return check;
}

Snapshot merit(int day, const char *name, qint64 rank, qint64 score)
{
    Snapshot ranking;
    ranking.takenAt = QDateTime(QDate(2026, 12, day), QTime(21, 0));
    ranking.command = QStringLiteral("ranking");
    MemberReading reading = member(1, "", name);
    reading.rank = rank;
    reading.score = score;
    ranking.members << reading;
    return ranking;
}

// Six members, one of each case; the ranking names with a blank the table drops.
Briefing::Inputs sixMembers()
{
    Briefing::Inputs inputs;
    inputs.today = QDate(2026, 12, 20);
    inputs.members = {member(1, "1", "甲斐", 1000), member(2, "2", "乙葉", 2000), member(3, "3", "丙", 300),
                      member(4, "4", "丁", 400),    member(5, "5", "戊", 500),    member(6, "", "ｴﾌ", 600)};
    inputs.idle = {idle("1", "甲斐", 9), idle("2", "乙葉", 2),   idle("3", "丙", 10),
                   idle("4", "丁", 20),  idle("5", "戊", 3, 12), idle("", "ｴﾌ", 1)};
    inputs.points7DaysAgo = {member(1, "1", "甲斐", 1000), member(2, "2", "乙葉", 1500),
                             member(6, "", "ｴﾌ", 550)};
    inputs.points28DaysAgo = {member(1, "1", "甲斐", 900)};
    inputs.replyChecks = {replies(19, {{"甲斐", 'y'}, {"乙葉", 'n'}, {"ｴﾌ", 'y'}}),
                          replies(12, {{"甲斐", 'y'}, {"乙葉", 'n'}, {"ｴﾌ", 'n'}}),
                          replies(5, {{"甲斐", 'n'}, {"乙葉", 'y'}, {"ｴﾌ", 'y'}}),
                          replies(1, {{"乙葉", 'n'}, {"ｴﾌ", 'y'}}),
                          replies(1, {{"乙葉", 'y'}})}; // a fifth, beyond the last four
    inputs.meritRankings = {merit(18, "甲 斐", 12, 5000), merit(11, "甲 斐", 20, 4200)};
    inputs.joinLeaveLog = {QStringLiteral("2026/12/01 脱退 丙"), QStringLiteral("2026/12/15 加入 丙")};
    inputs.firstRoster = QDate(2026, 11, 1);
    inputs.notes = {
        MemberNote{QStringLiteral("4"), QStringLiteral("丁"), QStringLiteral("旅行"), QDate(2026, 12, 25)},
        MemberNote{QStringLiteral("1"), QStringLiteral("甲斐"), QStringLiteral("声かけ済み"), QDate()}};
    return inputs;
}

TEST(Briefing, EachMemberGetsTheStatusAndReasonItsHistoryGives)
{
    const QList<Briefing::Row> rows = Briefing::rows(sixMembers(), Briefing::Thresholds{});
    struct Expected
    {
        Briefing::Status status;
        const char *reason;
    };
    const Expected expected[] = {
        {Briefing::Status::Attention, "9日間ポイント変化なし"},
        {Briefing::Status::Attention, "返信 1/4"},
        {Briefing::Status::Newcomer, "在籍5日"},  // idle 10 days, but new
        {Briefing::Status::OnLeave, "12/25まで"}, // idle 20 days, but on leave
        {Briefing::Status::Returned, "12日間の停止から再開"},
        {Briefing::Status::Active, ""},
    };
    ASSERT_EQ(rows.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rows[i].status, expected[i].status) << rows[i].name.toStdString();
        EXPECT_EQ(rows[i].reason, QString::fromUtf8(expected[i].reason)) << rows[i].name.toStdString();
    }

    // The first member's figures, as the table shows them.
    EXPECT_EQ(Briefing::cells(rows[0]),
              texts({"甲斐", "要注意", "9", "0", "+100", "2/3", "2026/12/05", "12", "+8", "5000", "+800",
                     "不明", "9日間ポイント変化なし", "声かけ済み"}));
    EXPECT_EQ(rows[1].gained7, 500);
    EXPECT_FALSE(rows[1].gained28) << "no reading 28 days ago";
    EXPECT_EQ(rows[1].lastMissed, QDate(2026, 12, 19));
    EXPECT_EQ(rows[5].answered, 3);
    EXPECT_EQ(rows[5].checked, 4);
    EXPECT_EQ(rows[2].daysInAlliance, 5) << "the latest join";

    // The player sends the circulars: never counted as not answering them.
    Briefing::Inputs led = sixMembers();
    led.leaderName = QStringLiteral("乙 葉");
    const QList<Briefing::Row> ledRows = Briefing::rows(led, Briefing::Thresholds{});
    EXPECT_EQ(ledRows[1].checked, 0);
    EXPECT_EQ(ledRows[1].status, Briefing::Status::Active);

    // The leader's thresholds move the lines.
    const QList<Briefing::Row> lenient = Briefing::rows(sixMembers(), Briefing::Thresholds{10, 4, 1});
    EXPECT_EQ(lenient[0].status, Briefing::Status::Active);
    EXPECT_EQ(lenient[1].status, Briefing::Status::Active);
    EXPECT_EQ(lenient[4].status, Briefing::Status::Returned) << "stood 12 days, at least 10";
}

TEST(Briefing, TheTextListsTheGroupsForTheOfficers)
{
    const QList<Briefing::Row> rows = Briefing::rows(sixMembers(), Briefing::Thresholds{});
    EXPECT_EQ(Briefing::text(rows, QDate(2026, 12, 20)),
              QStringLiteral("同盟の状況（2026/12/20）\r\n"
                             "\r\n■要注意（2名）\r\n"
                             "甲斐：9日間ポイント変化なし（声かけ済み）\r\n"
                             "乙葉：返信 1/4\r\n"
                             "\r\n■新入り（1名）\r\n"
                             "丙：在籍5日\r\n"
                             "\r\n■復帰（1名）\r\n"
                             "戊：12日間の停止から再開\r\n"
                             "\r\n■休止中（1名）\r\n"
                             "丁：12/25まで（旅行）\r\n"));
    EXPECT_EQ(Briefing::text({}, QDate(2026, 12, 20)),
              QStringLiteral("同盟の状況（2026/12/20）\r\n\r\n■要注意（0名）\r\n\r\n■新入り（0名）\r\n"
                             "\r\n■復帰（0名）\r\n\r\n■休止中（0名）\r\n"));
}

} // namespace
