#include "alliance/commands/branchcastlecommand.h"
#include "common/dates.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/common/qtprinters.h"

namespace {

using PageFixtures::Member;

QString profileWithCastle(const QString &name, const QString &coordinates)
{
    return QStringLiteral(
               "<html><body><table><tr><td>出城</td><td><a href=\"/land.php?x=1&y=2\">%1</a></td><td>"
               "<a href=\"/land.php?x=1&y=2\">%2</a></td></tr></table>\n<!-- /領地情報 --></body></html>")
        .arg(name, coordinates);
}

class ListBranchCastlesTest : public CommandFixture
{
protected:
    void run() { ListBranchCastles(m_context, m_clock); }
    QString created() const { return Dates::dateTime(m_clock.now()) + QStringLiteral(" 作成"); }
};

TEST_F(ListBranchCastlesTest, ListsTheMembersCastlesInMemberOrderUnderTheCreationLine)
{
    serveAlliance({{11, QStringLiteral("織田 信長"), QString()},
                   {12, QStringLiteral("武田"), QString()},
                   {13, QStringLiteral("上杉"), QString()},
                   {14, QStringLiteral("北条"), QString()}});
    browser().addPage(profileAddress(11),
                      profileWithCastle(QStringLiteral("清洲出城"), QStringLiteral("38,31")));
    browser().addPage(profileAddress(12),
                      QStringLiteral("<html><body><table></table><!-- /領地情報 --></body></html>"));
    browser().addPage(profileAddress(13),
                      profileWithCastle(QStringLiteral("春日山 出城"), QStringLiteral("30,40")));
    browser().addPage(profileAddress(14),
                      profileWithCastle(QStringLiteral("遠い出城"), QStringLiteral("0,0")));
    m_clock.setTime(21, 5, 9);
    run();
    EXPECT_EQ(m_port.text,
              QStringLiteral("\r\n") + created() +
                  QStringLiteral("\r\n★北東砦4 (36,36) 集団━━━ 2人\r\n織田信長>清洲出城>(38,31)\r\n"
                                 "上杉>春日山出城>(30,40)"));
    EXPECT_TRUE(created().contains(QStringLiteral("21:05:09")));
    EXPECT_EQ(m_session.allianceId, QStringLiteral("7"));
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_EQ(m_pacer.pauses, 4);
    EXPECT_EQ(m_port.progress.last(), QStringLiteral("出城リスト作成 4/4"));
}

TEST_F(ListBranchCastlesTest, MembersWhoseCastleCannotBeReadAreNamedAndTheRestListed)
{
    serveAlliance({{11, QStringLiteral("甲"), QString()},
                   {12, QStringLiteral("乙"), QString()},
                   {13, QStringLiteral("丙"), QString()}});
    browser().addPage(profileAddress(11), QStringLiteral("<html><body>読込中</body></html>"));
    browser().addPage(profileAddress(12), profileWithCastle(QStringLiteral("乙出城"), QStringLiteral("12")));
    browser().addPage(profileAddress(13),
                      profileWithCastle(QStringLiteral("丙出城"), QStringLiteral("12,-26")));
    run();
    EXPECT_EQ(browser().loadCount(profileAddress(11)), 5) << "bounded, not forever";
    EXPECT_EQ(m_port.text, QStringLiteral("\r\n") + created() +
                               QStringLiteral("\r\n★南東砦1 (12,-28) 集団━━━ 1人\r\n丙>丙出城>(12,-26)\r\n"
                                              "※プロフィールを読めなかった同盟員: 甲\r\n"
                                              "※出城の座標を読めなかった同盟員: 乙"));
    ASSERT_EQ(m_port.messages.size(), 1);
    const QString &message = m_port.messages.first();
    EXPECT_TRUE(message.contains(QStringLiteral("表示されませんでした：\r\n甲\r\n")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("読めませんでした：\r\n乙\r\n"))) << message.toStdString();
}

// One kind of problem is told under its own heading only, and the list
// names that member at its end.
struct OneProblem
{
    const char *what;
    const char *secondProfile;
    const char *heading;
    const char *otherHeading;
    const char *note;
};

class ListBranchCastlesOneProblemTest : public ListBranchCastlesTest,
                                        public ::testing::WithParamInterface<OneProblem>
{
};

TEST_P(ListBranchCastlesOneProblemTest, IsToldUnderItsOwnHeadingOnlyAndNamedInTheList)
{
    const OneProblem &c = GetParam();
    serveAlliance({{11, QStringLiteral("甲"), QString()},
                   {12, QStringLiteral("蜂須賀 康政"), QString()},
                   {13, QStringLiteral("丙"), QString()}});
    browser().addPage(profileAddress(11),
                      profileWithCastle(QStringLiteral("甲出城"), QStringLiteral("20,30")));
    const QString second = QString::fromUtf8(c.secondProfile);
    browser().addPage(profileAddress(12),
                      second == QStringLiteral("castle")
                          ? profileWithCastle(QStringLiteral("乙出城"), QStringLiteral("北"))
                          : second);
    browser().addPage(profileAddress(13),
                      profileWithCastle(QStringLiteral("丙出城"), QStringLiteral("12,-26")));
    run();
    EXPECT_EQ(m_port.text, QStringLiteral("\r\n") + created() +
                               QStringLiteral("\r\n★北東砦1 (12,28) 集団━━━ 1人\r\n甲>甲出城>(20,30)\r\n\r\n"
                                              "★南東砦1 (12,-28) 集団━━━ 1人\r\n丙>丙出城>(12,-26)\r\n") +
                               QString::fromUtf8(c.note));
    ASSERT_EQ(m_port.messages.size(), 1);
    const QString &message = m_port.messages.first();
    EXPECT_TRUE(message.contains(QString::fromUtf8(c.heading) + QStringLiteral("：\r\n蜂須賀康政\r\n")))
        << message.toStdString();
    EXPECT_FALSE(message.contains(QString::fromUtf8(c.otherHeading))) << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ListBranchCastlesOneProblemTest,
    ::testing::Values(OneProblem{"coordinates", "castle", "出城の名前か座標を読めませんでした",
                                 "プロフィールの領地情報が表示されませんでした",
                                 "※出城の座標を読めなかった同盟員: 蜂須賀康政"},
                      OneProblem{"fiefSection", "<html><body>読込中</body></html>",
                                 "プロフィールの領地情報が表示されませんでした",
                                 "出城の名前か座標を読めませんでした",
                                 "※プロフィールを読めなかった同盟員: 蜂須賀康政"}),
    [](const ::testing::TestParamInfo<OneProblem> &info) { return std::string(info.param.what); });

} // namespace
