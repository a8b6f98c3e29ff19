#include "alliance/commands/alliancereportcommand.h"
#include "common/readfailure.h"
#include "testsupport/alliance/commandfixture.h"

namespace {

struct Lord
{
    int id;
    QString name; // as the member table shows it
    QString population;
    QString role;
    int x;
    int y;
    int fiefs;
};

class AllianceReportCommandTest : public CommandFixture
{
protected:
    static QString reportAllianceAddress() { return kWorld + QStringLiteral("/alliance/info.php?id=2581"); }

    static QString alliancePage(const std::vector<Lord> &lords)
    {
        QString rows;
        for (const Lord &l : lords) {
            rows += QStringLiteral("<tr class=\"fs12\"><td><a href=\"/user/?user_id=%1\">%2</a></td>"
                                   "<td>10</td><td>%3</td><td>5</td><td>%4</td><td>　%5　</td></tr>\n")
                        .arg(l.id)
                        .arg(l.name, l.population)
                        .arg(l.fiefs)
                        .arg(l.role);
        }
        return QStringLiteral("<html><body><table><tr><th>城主名</th></tr>\n%1</table></body></html>")
            .arg(rows);
    }

    static QString profilePage(const Lord &l)
    {
        return PageFixtures::lordProfilePage(l.name, l.population, QString::number(l.id * 100), l.role, l.x,
                                             l.y);
    }

    void serve(const std::vector<Lord> &lords)
    {
        browser().addPage(reportAllianceAddress(), alliancePage(lords));
        for (const Lord &l : lords)
            browser().addPage(profileAddress(l.id), profilePage(l));
    }

    void run(const QString &id = QStringLiteral(" 2581 "), const QString &popStep = QStringLiteral("300"),
             const QString &meritStep = QStringLiteral("10000"))
    {
        AllianceReportCommand(m_context, m_clock, id, popStep, meritStep).run();
    }

    const std::vector<Lord> m_lords = {
        {101, QStringLiteral("斎藤道三"), QStringLiteral("1250"), QStringLiteral("盟主"), -12, 34, 8},
        {102, QStringLiteral("明智"), QStringLiteral("299"), QStringLiteral("盟主補佐（二）"), 5, 0, 2},
        {103, QStringLiteral("ｶﾞﾗｼｬ"), QStringLiteral("600"), QStringLiteral("一般"), 0, 12, 0}};
};

TEST_F(AllianceReportCommandTest, ReportsEveryMemberOfTheTypedAllianceAndFillsTheList)
{
    serve(m_lords);
    m_port.listItems = {QStringLiteral("前の一覧")};
    run();

    const QString expected = QStringLiteral("[美濃]同盟 レポート 2024/04/01作成\r\n"
                                            "同盟規模 3(5位)\r\n"
                                            "盟主:斎藤道三(-12,34)　盟主補佐(二):明智(5,0)\r\n"
                                            "\r\n"
                                            "★人口について・・・\r\n"
                                            "総人口 2149　平均一城主あたり 716\r\n"
                                            "人口分布 *1つにつき300人\r\n"
                                            "****<<1250:斎藤道三\r\n"
                                            "<<299:明智\r\n"
                                            "**<<600:ｶﾞﾗｼｬ\r\n"
                                            "\r\n"
                                            "\r\n"
                                            "★戦功について・・・\r\n"
                                            "総戦功 30600　平均一城主あたり 10200\r\n"
                                            "戦功分布　*1つにつき10000\r\n"
                                            "*<<10100:斎藤道三\r\n"
                                            "*<<10200:明智\r\n"
                                            "*<<10300:ｶﾞﾗｼｬ\r\n"
                                            "\r\n"
                                            "\r\n"
                                            "★所領数分布・・・\r\n"
                                            "所領数２の城主 1\r\n"
                                            "\r\n"
                                            "\r\n"
                                            "★本城分布・・・\r\n"
                                            "北東(+○,+○) 0\r\n"
                                            "南東(+○,-○) 1\r\n"
                                            "北西(-○,+○) 2\r\n"
                                            "南西(-○,-○) 0\r\n");
    EXPECT_EQ(m_port.text, expected);
    EXPECT_EQ(m_port.listItems,
              QStringList({QStringLiteral("斎藤道三/"), QStringLiteral("明智/"), QStringLiteral("ｶﾞﾗｼｬ/")}));
    EXPECT_EQ(browser().navigations(), QStringList({reportAllianceAddress(), profileAddress(101),
                                                    profileAddress(102), profileAddress(103)}));
    EXPECT_EQ(m_pacer.pauses, 3) << "one pause before every member page";
    ASSERT_FALSE(m_port.progress.isEmpty());
    EXPECT_EQ(m_port.progress.first(), QStringLiteral("同盟データ取得 1/3"));
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_EQ(m_session.allianceId, QStringLiteral("7/")) << "the own alliance id is not touched";
}

TEST_F(AllianceReportCommandTest, AProfileThatComesLateIsReadAgainAndCountedOnce)
{
    serve(m_lords);
    browser().redirect(profileAddress(102), kWorld + QStringLiteral("/busy.php"), 2);
    run(QStringLiteral("２５８１"));
    EXPECT_EQ(m_pacer.pauses, 5);
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_TRUE(m_port.text.contains(QStringLiteral("総人口 2149　")));
    EXPECT_EQ(m_port.text.count(QStringLiteral(":明智\r\n")), 2) << "one population and one merit bar";
}

TEST_F(AllianceReportCommandTest, AProfileThatNeverReadsIsLeftOutAndNamed)
{
    serve(m_lords);
    browser().addPage(profileAddress(102),
                      QStringLiteral("<html><body>城主情報を読み込めませんでした。</body></html>"));
    run();
    EXPECT_EQ(browser().loadCount(profileAddress(102)), 5) << "bounded, then the walk goes on";
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(QStringLiteral("注意|")));
    EXPECT_TRUE(m_port.messages[0].contains(
        QStringLiteral("\r\n明智\r\n\r\n「プロフィール」のページに 人口の欄「人口数」 "
                       "が見つかりませんでした。\r\nゲームのページではなく、エラーのページ")))
        << m_port.messages[0].toStdString();
    EXPECT_TRUE(
        m_port.text.contains(QStringLiteral("※同盟員 3人のうち、プロフィールを読めた 2人分の集計です\r\n"
                                            "※プロフィールを読めなかった同盟員: 明智\r\n"
                                            "盟主:斎藤道三(-12,34)　盟主補佐(二):（未読）\r\n")))
        << m_port.text.toStdString();
    EXPECT_TRUE(m_port.text.contains(QStringLiteral("総人口 1850　平均一城主あたり 925\r\n")));
    EXPECT_FALSE(m_port.text.contains(QStringLiteral(":明智")));
    EXPECT_EQ(m_port.listItems.size(), 3) << "the list still names every member";
    EXPECT_TRUE(m_port.text.contains(QStringLiteral("所領数２の城主 1")))
        << "the table's fief counts are all there";
}

TEST_F(AllianceReportCommandTest, AnUnreadLeaderKeepsTheRolesPlaceAndTheReportNamesItsAlliance)
{
    serve(m_lords);
    browser().addPage(profileAddress(101), QStringLiteral("<html><body>メンテナンス中</body></html>"));
    AllianceReportCommand command(m_context, m_clock, QStringLiteral("２５８１"), QStringLiteral("300"),
                                  QStringLiteral("10000"));
    command.run();
    EXPECT_TRUE(m_port.text.contains(QStringLiteral("※プロフィールを読めなかった同盟員: 斎藤道三\r\n"
                                                    "盟主:（未読）　盟主補佐(二):明智(5,0)\r\n")))
        << m_port.text.toStdString();
    EXPECT_EQ(command.reportedAllianceId(), QStringLiteral("2581")) << "the id in the address, not as typed";
}

TEST_F(AllianceReportCommandTest, WhatTheUserTypedIsCheckedBeforeAnyPageIsLoaded)
{
    serve(m_lords);
    m_port.listItems = {QStringLiteral("前の一覧")};
    const std::vector<std::array<QString, 3>> refused = {
        {QStringLiteral("  "), QStringLiteral("300"), QStringLiteral("10000")},
        {QStringLiteral("2581&id=1"), QStringLiteral("300"), QStringLiteral("10000")},
        {QStringLiteral("25 81"), QStringLiteral("300"), QStringLiteral("10000")},
        {QStringLiteral("2581"), QStringLiteral("0"), QStringLiteral("10000")},
        {QStringLiteral("2581"), QStringLiteral("300"), QStringLiteral("-1")},
        {QStringLiteral("2581"), QStringLiteral("300"), QStringLiteral("40000")},
        {QStringLiteral("2581"), QStringLiteral("人口"), QStringLiteral("10000")}};
    for (const auto &typed : refused) {
        m_port.messages.clear();
        run(typed[0], typed[1], typed[2]);
        ASSERT_EQ(m_port.messages.size(), 1) << typed[0].toStdString() << typed[1].toStdString();
        EXPECT_TRUE(m_port.messages[0].startsWith(QStringLiteral("注意|")));
    }
    EXPECT_TRUE(browser().navigations().isEmpty());
    EXPECT_EQ(m_port.text, QStringLiteral("前の出力"));
    EXPECT_EQ(m_port.listItems, QStringList{QStringLiteral("前の一覧")});
    EXPECT_EQ(m_pacer.pauses, 0);
}

TEST_F(AllianceReportCommandTest, AnIdOfNoAllianceIsToldAndChangesNothing)
{
    browser().addPage(reportAllianceAddress(),
                      QStringLiteral("<html><body><p>指定された同盟は存在しません。</p></body></html>"));
    m_port.listItems = {QStringLiteral("前の一覧")};
    run();
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(
        m_port.messages[0].startsWith(QStringLiteral("注意|同盟ID 2581 の同盟員一覧を読めませんでした。")));
    EXPECT_EQ(m_port.text, QStringLiteral("前の出力"));
    EXPECT_EQ(m_port.listItems, QStringList{QStringLiteral("前の一覧")});
    EXPECT_EQ(browser().navigations(), QStringList{reportAllianceAddress()});
}

TEST_F(AllianceReportCommandTest, AFailureMidWalkReachesTheRunnerWithTextEmpty)
{
    serve(m_lords);
    // The home row ends right after its label: the field cannot be cut.
    browser().addPage(
        profileAddress(103),
        QStringLiteral("<html><body><p><img alt=\"城主名\"></p><p>人口数<p class=\"para\">5<span></p>"
                       "<table><tr><td>本領</td></tr></table></body></html>"));
    EXPECT_THROW(run(), ReadFailure);
    EXPECT_EQ(m_port.text, QString());
    EXPECT_TRUE(m_port.messages.isEmpty());
}

} // namespace
