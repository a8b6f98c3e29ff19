#include "alliance/commands/activitycommand.h"
#include "alliance/commands/alliancereportcommand.h"
#include "alliance/commands/branchcastlecommand.h"
#include "alliance/commands/rankingcommand.h"
#include "alliance/commands/replycheckercommand.h"
#include "alliance/commands/rostercommand.h"
#include "common/datafile.h"
#include "common/readfailure.h"
#include "history/historytrends.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/alliance/pagefixtures.h"
#include "testsupport/alliance/rankingtestpages.h"
#include "testsupport/alliance/recordinghistory.h"
#include "testsupport/common/qtprinters.h"

#include <QFile>

namespace {

MemberReading reading(int position, const QString &userId, const QString &name)
{
    MemberReading r;
    r.position = position;
    r.userId = userId;
    r.name = name;
    return r;
}

class HistoryRecordingTest : public CommandFixture
{
protected:
    HistoryRecordingTest() { m_context.history = &m_history; }

    QByteArray fileBytes(const QString &name) const
    {
        QFile file(m_session.appDir + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    void serveRoster()
    {
        serveAlliance({{11, QStringLiteral("織田 信長"), QStringLiteral("-12,34")},
                       {12, QStringLiteral("𠮷川"), QStringLiteral("0,-180")},
                       {13, QStringLiteral("ｶﾞﾗｼｬ"), QStringLiteral("5")}});
    }

    // An alliance page of alliance 7 whose rows carry points, population
    // and fief count in the game's order.
    static QString memberPage(const QStringList &names, const QStringList &points, const QStringList &fiefs)
    {
        QString html =
            QStringLiteral("<html><body><table class=\"commonTables\"><tbody><tr><th>城主名</th></tr>");
        for (qsizetype i = 0; i < names.size(); ++i) {
            html +=
                QStringLiteral("\n<tr class=\"fs12\"><td><a href=\"/user/?user_id=%1\">%2</a></td><td>%3</td>"
                               "<td>100</td><td>5</td><td>%4</td><td>　一般　</td></tr>")
                    .arg(i + 21)
                    .arg(names.at(i), points.at(i), fiefs.at(i));
        }
        return html + QStringLiteral("</tbody></table></body></html>");
    }

    static QString lordProfile(const QString &population, const QString &merit, const QString &role, int x,
                               int y)
    {
        return QStringLiteral(
                   "<html><body><table>"
                   "<tr><th><img alt=\"城主名\"></th><td><strong>城主</strong></td></tr>"
                   "<tr><th><img alt=\"城主レベル\"></th><td><p "
                   "class=\"para\">Lv.3<span>x</span></p></td></tr>"
                   "<tr><th>人口数</th><td><p class=\"para\">%1<span>人</span></p></td></tr>"
                   "<tr><th>戦功</th><td><p class=\"para\">総戦功<br>%2 pt</p></td></tr>"
                   "<tr><th>所属同盟</th><td><a href=\"/alliance/info.php?id=2581\">美濃</a></td></tr>"
                   "<tr><th><img alt=\"役職\"></th><td><p class=\"para\">%3</p></td></tr>"
                   "<tr><th>同盟規模</th><td><p class=\"para\">3人<span "
                   "class=\"rank\">5位</span></p></td></tr>"
                   "</table><table><tr><td>本領</td><td>城(本拠地)</td>"
                   "<td><a href=\"/land.php?x=%4&y=%5&c=1\">%4,%5</a></td></tr></table></body></html>")
            .arg(population, merit, role)
            .arg(x)
            .arg(y);
    }

    RecordingHistory m_history;
};

TEST_F(HistoryRecordingTest, ACompletedRosterRecordsEveryMemberWithIdCoordinatesAndFiefCount)
{
    serveRoster();
    RosterCommand(m_context).run();

    ASSERT_EQ(m_history.snapshots.size(), 1);
    const Snapshot &snapshot = m_history.snapshots.first();
    EXPECT_EQ(snapshot.command, QStringLiteral("roster"));
    EXPECT_EQ(snapshot.allianceId, QStringLiteral("7")) << "the id as the pages use it, without the slash";
    QList<MemberReading> expected{reading(1, QStringLiteral("11"), QStringLiteral("織田信長")),
                                  reading(2, QStringLiteral("12"), QStringLiteral("𠮷川")),
                                  reading(3, QStringLiteral("13"), QStringLiteral("ｶﾞﾗｼｬ"))};
    expected[0].x = -12;
    expected[0].y = 34;
    expected[1].x = 0;
    expected[1].y = -180;
    expected[2].x = 5; // a link with one number only
    for (MemberReading &r : expected) {
        r.fiefCount = 3;
        r.points = 1; // the member table's points
    }
    EXPECT_EQ(snapshot.members, expected);
    EXPECT_EQ(m_port.progress.last(), QStringLiteral("名簿作成 3/3"))
        << "a recorded run adds nothing to the caption";
}

TEST_F(HistoryRecordingTest, ARosterMemberCarriedOverFromThePreviousRosterIsRecordedWithoutCoordinates)
{
    ASSERT_TRUE(DataFile::writeText(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"),
                                    QStringLiteral("\"𠮷川\",\"9\",\"9\"\r\n")));
    serveRoster();
    browser().addPage(profileAddress(12), PageFixtures::profilePageWithoutHome());
    RosterCommand(m_context).run();

    ASSERT_EQ(m_history.snapshots.size(), 1);
    const QList<MemberReading> &members = m_history.snapshots.first().members;
    ASSERT_EQ(members.size(), 3) << "a member whose profile never showed has not left";
    EXPECT_EQ(members[1].name, QStringLiteral("𠮷川"));
    EXPECT_FALSE(members[1].x.has_value()) << "the kept line was not read by this run";
    EXPECT_EQ(members[2].x, 5);
}

TEST_F(HistoryRecordingTest, ACompletedReportRecordsTheTypedAllianceWithProfilesAndFiefCounts)
{
    browser().addPage(kWorld + QStringLiteral("/alliance/info.php?id=2581"),
                      memberPage({QStringLiteral("斎藤道三"), QStringLiteral("明智"), QStringLiteral("帰蝶")},
                                 {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10")},
                                 {QStringLiteral("8"), QStringLiteral("2"), QStringLiteral("0")}));
    browser().addPage(profileAddress(21), lordProfile(QStringLiteral("1,250"), QStringLiteral("7000"),
                                                      QStringLiteral("盟主"), -12, 34));
    browser().addPage(profileAddress(22), lordProfile(QStringLiteral("299"), QStringLiteral("0"),
                                                      QStringLiteral("盟主補佐 （二）"), 5, 0));
    // The third profile never comes: left out of the report, still a member.
    browser().addPage(profileAddress(23), QStringLiteral("<html><body>読込中</body></html>"));
    AllianceReportCommand(m_context, m_clock, QStringLiteral("２５８１"), QStringLiteral("300"),
                          QStringLiteral("10000"))
        .run();

    ASSERT_EQ(m_history.snapshots.size(), 1);
    const Snapshot &snapshot = m_history.snapshots.first();
    EXPECT_EQ(snapshot.command, QStringLiteral("report"));
    EXPECT_EQ(snapshot.allianceId, QStringLiteral("2581"));
    QList<MemberReading> expected{reading(1, QStringLiteral("21"), QStringLiteral("斎藤道三")),
                                  reading(2, QStringLiteral("22"), QStringLiteral("明智")),
                                  reading(3, QStringLiteral("23"), QStringLiteral("帰蝶"))};
    expected[0].population = 1250;
    expected[0].merit = 7000;
    expected[0].role = QStringLiteral("盟主");
    expected[0].x = -12;
    expected[0].y = 34;
    expected[0].fiefCount = 8;
    expected[1].population = 299;
    expected[1].merit = 0;
    expected[1].role = QStringLiteral("盟主補佐（二）");
    expected[1].x = 5;
    expected[1].y = 0;
    expected[1].fiefCount = 2;
    expected[2].fiefCount = 0;
    for (MemberReading &r : expected)
        r.points = 10; // every reading of the member table keeps its points
    EXPECT_EQ(snapshot.members, expected);
}

TEST_F(HistoryRecordingTest, ACompletedActivityRunRecordsNamesAndPointsOnTheFirstAndLaterRuns)
{
    const QString address = kWorld + QStringLiteral("/alliance/info.php?id=7");
    browser().addPage(address, memberPage({QStringLiteral("甲"), QStringLiteral("乙")},
                                          {QStringLiteral("1,234"), QStringLiteral("0")},
                                          {QStringLiteral("1"), QStringLiteral("1")}));
    ActivityCommand(m_context, m_clock).run();
    m_clock.setDate(m_clock.now().date().addDays(1));
    // Meanwhile 甲 renamed himself: his user id still tells him apart.
    browser().addPage(address, memberPage({QStringLiteral("甲改"), QStringLiteral("乙")},
                                          {QStringLiteral("1,300"), QStringLiteral("？")},
                                          {QStringLiteral("1"), QStringLiteral("1")}));
    ActivityCommand(m_context, m_clock).run();

    ASSERT_EQ(m_history.snapshots.size(), 2);
    const Snapshot &later = m_history.snapshots.last();
    EXPECT_EQ(later.command, QStringLiteral("activity"));
    EXPECT_EQ(later.allianceId, QStringLiteral("7"));
    QList<MemberReading> expected{reading(1, QStringLiteral("21"), QStringLiteral("甲改")),
                                  reading(2, QStringLiteral("22"), QStringLiteral("乙"))};
    expected[0].points = 1300;
    EXPECT_EQ(later.members, expected) << "points that are no number are left empty, not taken as 0";
    EXPECT_EQ(HistoryTrends::joinLeaveLog(m_history.snapshots), QStringList())
        << "a renamed lord is neither a leave nor a join";
    EXPECT_EQ(m_history.snapshots.first().members[0].points, 1234);
    EXPECT_EQ(m_history.snapshots.first().members[1].points, 0);
}

TEST_F(HistoryRecordingTest, ACompletedCastleListRecordsEveryMemberWithFiefCount)
{
    serveAlliance({{11, QStringLiteral("上杉"), QString()}, {12, QStringLiteral("北条"), QString()}});
    for (int id : {11, 12})
        browser().addPage(profileAddress(id),
                          QStringLiteral("<html><body><table></table><!-- /領地情報 --></body></html>"));
    ListBranchCastles(m_context, m_clock);

    ASSERT_EQ(m_history.snapshots.size(), 1);
    EXPECT_EQ(m_history.snapshots.first().command, QStringLiteral("castles"));
    QList<MemberReading> expected{reading(1, QStringLiteral("11"), QStringLiteral("上杉")),
                                  reading(2, QStringLiteral("12"), QStringLiteral("北条"))};
    for (MemberReading &r : expected) {
        r.fiefCount = 3;
        r.points = 1;
    }
    EXPECT_EQ(m_history.snapshots.first().members, expected);
}

TEST_F(HistoryRecordingTest, ARefusedRecordLeavesOutputAndFilesAsTheyWouldBeAndSaysWhyInTheCaption)
{
    // What the commands leave without any history.
    serveRoster();
    m_context.history = nullptr;
    RosterCommand(m_context).run();
    const QString rosterText = m_port.text;
    const QByteArray rosterFile = fileBytes(QStringLiteral("OVEKMAP_DATA_7.txt"));
    ASSERT_TRUE(QFile::remove(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt")));

    m_context.history = &m_history;
    m_history.refusal = QStringLiteral("履歴を記録できませんでした（読み取り専用です）");
    m_port.text = QStringLiteral("前の出力");
    RosterCommand(m_context).run();
    EXPECT_EQ(m_history.calls, 1);
    EXPECT_EQ(m_port.text, rosterText);
    EXPECT_EQ(fileBytes(QStringLiteral("OVEKMAP_DATA_7.txt")), rosterFile);
    EXPECT_EQ(m_port.progress.last(),
              QStringLiteral("名簿作成は完了しました。履歴を記録できませんでした（読み取り専用です）"));
    EXPECT_TRUE(m_port.messages.isEmpty()) << "no message box for the history";

    // The activity file is still written and the first run still says so.
    browser().addPage(kWorld + QStringLiteral("/alliance/info.php?id=7"),
                      memberPage({QStringLiteral("甲")}, {QStringLiteral("5")}, {QStringLiteral("1")}));
    ActivityCommand(m_context, m_clock).run();
    EXPECT_EQ(DataFile::readLines(m_session.appDir + QStringLiteral("同盟ポイントDATA_7.txt")).value,
              QStringList{QStringLiteral("甲%5%") + m_clock.todayText()});
    EXPECT_EQ(m_port.progress.last(),
              QStringLiteral("活動履歴は完了しました。履歴を記録できませんでした（読み取り専用です）"));
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].contains(QStringLiteral("判定不能")));
}

TEST_F(HistoryRecordingTest, ARunThatStopsRecordsNothing)
{
    // A roster that fails between two members.
    std::vector<PageFixtures::Member> members;
    for (int i = 1; i <= 4; ++i)
        members.push_back({i, QStringLiteral("将%1").arg(i), QStringLiteral("%1,%1").arg(i)});
    serveAlliance(members);
    browser().addPage(profileAddress(3), QStringLiteral("<html><body>(本拠地) 座標なし</body></html>"));
    EXPECT_THROW(RosterCommand(m_context).run(), ReadFailure);

    // A castle list over an alliance page without its member table.
    browser().addPage(kWorld + QStringLiteral("/alliance/info.php?id=7"),
                      QStringLiteral("<html><body>同盟が見つかりません</body></html>"));
    EXPECT_THROW(ListBranchCastles(m_context, m_clock), ReadFailure);

    // An activity run whose page never shows the member list, and a report
    // whose alliance has no member table: both told, neither completed.
    ActivityCommand(m_context, m_clock).run();
    AllianceReportCommand(m_context, m_clock, QStringLiteral("7"), QStringLiteral("300"),
                          QStringLiteral("10000"))
        .run();
    EXPECT_EQ(m_port.messages.size(), 2);
    EXPECT_EQ(m_history.calls, 0);
}

} // namespace

namespace {

// A band of ten ranking pages, with own lords (alliance 7) on pages 3 and 7;
// page 5 never reads when broken.
void serveBand(FakeBrowser &browser, const WorldConfig &world, bool pageFiveBroken)
{
    for (int page = 1; page <= 10; ++page) {
        QList<RankingTestPages::Row> rows{
            RankingTestPages::row(10 * page, QStringLiteral("他人%1").arg(page), QStringLiteral("8"), 90)};
        if (page == 3 || page == 7)
            rows.append(RankingTestPages::row(10 * page + 1, QStringLiteral("身内%1").arg(page),
                                              QStringLiteral("7"), 1'234'000 - page));
        browser.addPage(world.warRankingUrl(0, page),
                        pageFiveBroken && page == 5
                            ? QStringLiteral("<html><body>メンテナンス中</body></html>")
                            : RankingTestPages::page(rows));
    }
}

} // namespace

TEST_F(HistoryRecordingTest, AWholeBandRecordsEachOwnMembersRankAndScoreUnderItsCategory)
{
    serveBand(browser(), m_session.world, false);
    RankingCommand(m_context, 0, 0, false).run();
    ASSERT_EQ(m_history.snapshots.size(), 1);
    const Snapshot &snapshot = m_history.snapshots.first();
    EXPECT_EQ(snapshot.command, History::Kinds::ranking.key);
    EXPECT_EQ(snapshot.detail, QStringLiteral("戦功/1"));
    EXPECT_EQ(snapshot.allianceId, QStringLiteral("7"));
    QList<MemberReading> expected{reading(1, QString(), QStringLiteral("身内3")),
                                  reading(2, QString(), QStringLiteral("身内7"))};
    expected[0].rank = 31;
    expected[0].score = 1'233'997;
    expected[1].rank = 71;
    expected[1].score = 1'233'993;
    EXPECT_EQ(snapshot.members, expected);

    // A band with a page left out says nothing of the places on it.
    m_history.snapshots.clear();
    serveBand(browser(), m_session.world, true);
    RankingCommand(m_context, 0, 0, false).run();
    EXPECT_TRUE(m_history.snapshots.isEmpty());
}

TEST_F(HistoryRecordingTest, ACompletedReplyCheckRecordsEveryRosterMemberRepliedOrNotAndTheKeyword)
{
    ASSERT_TRUE(DataFile::writeText(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"),
                                    QStringLiteral("\"山田太郎\",\"1\",\"2\"\r\n\"凛\",\"5\",\"6\"\r\n")));
    const QString inbox = kWorld + QStringLiteral("/message/inbox.php?p=1");
    browser().addPage(inbox,
                      PageFixtures::inboxHtml(1, 1,
                                              {{QStringLiteral("Re: 出欠"), QStringLiteral("山田 太郎")},
                                               {QStringLiteral("雑談"), QStringLiteral("凛")}}));
    ReplyCheckCommand(m_context, QStringLiteral(" 出欠 ")).run();
    ASSERT_EQ(m_history.snapshots.size(), 1);
    const Snapshot &snapshot = m_history.snapshots.first();
    EXPECT_EQ(snapshot.command, History::Kinds::replies.key);
    EXPECT_EQ(snapshot.detail, QStringLiteral("出欠"));
    QList<MemberReading> expected{reading(1, QString(), QStringLiteral("山田太郎")),
                                  reading(2, QString(), QStringLiteral("凛"))};
    expected[0].replied = true;
    expected[1].replied = false;
    EXPECT_EQ(snapshot.members, expected);

    // An inbox whose first page never reads records nothing.
    m_history.snapshots.clear();
    browser().addPage(inbox, QStringLiteral("<html><body>メンテナンス中</body></html>"));
    ReplyCheckCommand(m_context, QStringLiteral("出欠")).run();
    EXPECT_TRUE(m_history.snapshots.isEmpty());
}
