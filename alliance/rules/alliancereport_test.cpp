#include "alliance/rules/alliancereport.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

namespace {

LordProfile lord(const QString &population, const QString &merit = QStringLiteral("0"),
                 const QString &x = QStringLiteral("1"), const QString &y = QStringLiteral("1"),
                 const QString &role = QStringLiteral("一般"))
{
    return {population, merit, QStringLiteral("天下布武"), QStringLiteral("3(9位)"), role, x, y};
}

QStringList reportLines(const AllianceReport &report, qsizetype members,
                        const QString &steps = QStringLiteral("300"))
{
    const QString text = report.text({QStringLiteral("2024/04/01"), steps, QStringLiteral("10000"), members});
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

// The lines of one section: those after the heading up to the next empty line.
QStringList section(const QStringList &lines, const QString &heading)
{
    QStringList out;
    for (qsizetype i = lines.indexOf(heading) + 1; i > 0 && i < lines.size() && !lines[i].isEmpty(); ++i)
        out.append(lines[i]);
    return out;
}

TEST(ReadStarStep, OnlyOneTo32767MakeAStep)
{
    EXPECT_EQ(readStarStep(QStringLiteral("300")), 300);
    EXPECT_EQ(readStarStep(QStringLiteral(" 300人")), 300);
    EXPECT_EQ(readStarStep(QStringLiteral("1")), 1);
    EXPECT_EQ(readStarStep(QStringLiteral("32767")), 32767);
    EXPECT_EQ(readStarStep(QStringLiteral("2.5")), 2) << "halves go to the even neighbour";
    EXPECT_EQ(readStarStep(QStringLiteral("0")), std::nullopt);
    EXPECT_EQ(readStarStep(QStringLiteral("0.5")), std::nullopt);
    EXPECT_EQ(readStarStep(QStringLiteral("-300")), std::nullopt);
    EXPECT_EQ(readStarStep(QStringLiteral("32768")), std::nullopt);
    EXPECT_EQ(readStarStep(QStringLiteral("人口")), std::nullopt);
    EXPECT_EQ(readStarStep(QString()), std::nullopt);
}

TEST(AllianceReport, BarsHaveOneStarPerStepAndShowTheTextAsRead)
{
    AllianceReport report(300, 10000);
    report.addMember(QStringLiteral("甲"), lord(QStringLiteral("1250"), QStringLiteral("20000")));
    report.addMember(QStringLiteral("乙"), lord(QStringLiteral("299"), QStringLiteral("9999")));
    report.addMember(QStringLiteral("丙"), lord(QStringLiteral("300"), QStringLiteral("-20000")));
    report.addMember(QStringLiteral("丁 丁"), lord(QStringLiteral("不明"), QStringLiteral("12.5万")));
    const QStringList lines = reportLines(report, 4);
    EXPECT_EQ(section(lines, QStringLiteral("★人口について・・・")),
              QStringList({QStringLiteral("総人口 1849　平均一城主あたり 462"),
                           QStringLiteral("人口分布 *1つにつき300人"), QStringLiteral("****<<1250:甲"),
                           QStringLiteral("<<299:乙"), QStringLiteral("*<<300:丙"),
                           QStringLiteral("<<不明:丁 丁")}));
    EXPECT_EQ(section(lines, QStringLiteral("★戦功について・・・")),
              QStringList({QStringLiteral("総戦功 10011　平均一城主あたり 2502"),
                           QStringLiteral("戦功分布　*1つにつき10000"), QStringLiteral("**<<20000:甲"),
                           QStringLiteral("<<9999:乙"), QStringLiteral("<<-20000:丙"),
                           QStringLiteral("<<12.5万:丁 丁")}));
}

TEST(AllianceReport, NegativeTotalsAndAveragesTruncateTowardZero)
{
    AllianceReport report(300, 10000);
    report.addMember(QStringLiteral("甲"), lord(QStringLiteral("0"), QStringLiteral("-5")));
    report.addMember(QStringLiteral("乙"), lord(QStringLiteral("7"), QStringLiteral("-2")));
    const QStringList lines = reportLines(report, 2);
    EXPECT_TRUE(lines.contains(QStringLiteral("総人口 7　平均一城主あたり 3")));
    EXPECT_TRUE(lines.contains(QStringLiteral("総戦功-7　平均一城主あたり-3")));
}

TEST(AllianceReport, TotalsOfALargeAllianceDoNotOverflow)
{
    AllianceReport report(32767, 32767);
    for (int i = 0; i < 400; ++i)
        report.addMember(QStringLiteral("将"), lord(QStringLiteral("40000"), QStringLiteral("2147483647")));
    const QStringList lines = reportLines(report, 400);
    EXPECT_TRUE(lines.contains(QStringLiteral("総人口 16000000　平均一城主あたり 40000")));
    EXPECT_TRUE(lines.contains(QStringLiteral("総戦功 858993458800　平均一城主あたり 2147483647")));
}

TEST(AllianceReport, NoMemberReadGivesZerosNotADivisionByZero)
{
    const AllianceReport report(300, 10000);
    const QStringList lines = reportLines(report, 0);
    EXPECT_EQ(lines.first(), QStringLiteral("[]同盟 レポート 2024/04/01作成"));
    EXPECT_TRUE(lines.contains(QStringLiteral("総人口 0　平均一城主あたり 0")));
    EXPECT_TRUE(lines.contains(QStringLiteral("総戦功 0　平均一城主あたり 0")));
    EXPECT_EQ(lines.last(), QStringLiteral("南西(-○,-○) 0"));
}

TEST(AllianceReport, QuartersCountZeroAsWestAndSouth)
{
    AllianceReport report(300, 10000);
    const QString one = QStringLiteral("1");
    report.addMember(QStringLiteral("a"), lord(one, one, QStringLiteral("0"), QStringLiteral("12"))); // 北西
    report.addMember(QStringLiteral("b"), lord(one, one, QStringLiteral("5"), QStringLiteral("0"))); // 南東
    report.addMember(QStringLiteral("c"), lord(one, one, QStringLiteral("0"), QStringLiteral("0"))); // 南西
    report.addMember(QStringLiteral("d"), lord(one, one, QStringLiteral("1"), QStringLiteral("1"))); // 北東
    report.addMember(QStringLiteral("e"),
                     lord(one, one, QStringLiteral("-1"), QStringLiteral("-180"))); // 南西
    report.addMember(QStringLiteral("f"),
                     lord(one, one, QStringLiteral("0.5"), QStringLiteral("0.6"))); // 0, 1: 北西
    report.addMember(QStringLiteral("g"), lord(one, one, QString(), QString()));    // no coordinates: nowhere
    EXPECT_EQ(section(reportLines(report, 7), QStringLiteral("★本城分布・・・")),
              QStringList({QStringLiteral("北東(+○,+○) 1"), QStringLiteral("南東(+○,-○) 1"),
                           QStringLiteral("北西(-○,+○) 2"), QStringLiteral("南西(-○,-○) 2")}));

    const AllianceReport empty(300, 10000);
    EXPECT_EQ(section(reportLines(empty, 0), QStringLiteral("★本城分布・・・")),
              QStringList({QStringLiteral("北東(+○,+○) 0"), QStringLiteral("南東(+○,-○) 0"),
                           QStringLiteral("北西(-○,+○) 0"), QStringLiteral("南西(-○,-○) 0")}));
}

TEST(AllianceReport, FiefLinesOnlyForOneToSevenAndOnlyWhenCounted)
{
    AllianceReport report(300, 10000);
    for (const char16_t *count : {u"8", u"0", u"7", u"1", u"1", u"2.5", u"10", u"", u"3"})
        report.addFiefCount(QString::fromUtf16(count));
    EXPECT_EQ(section(reportLines(report, 0), QStringLiteral("★所領数分布・・・")),
              QStringList({QStringLiteral("所領数７の城主 1"), QStringLiteral("所領数３の城主 1"),
                           QStringLiteral("所領数１の城主 2")}));
}

TEST(AllianceReport, LeadersLineJoinsTheRolesPresentWithFullWidthBlanks)
{
    AllianceReport report(300, 10000);
    report.addMember(QStringLiteral("甲"),
                     lord(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("-3"), QStringLiteral("4"),
                          QStringLiteral("盟主")));
    report.addMember(QStringLiteral("丙（一）"),
                     lord(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("0"),
                          QStringLiteral("盟主補佐（二）")));
    // Compared exactly: none of these is a leader.
    for (const char16_t *role : {u"盟主 ", u"盟主補佐(一)", u"盟主補佐（一", u"副盟主"})
        report.addMember(QStringLiteral("戊"),
                         lord(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                              QStringLiteral("1"), QString::fromUtf16(role)));
    EXPECT_EQ(reportLines(report, 6).at(2), QStringLiteral("盟主:甲(-3,4)　盟主補佐(二):丙（一）(5,0)"));

    // A later holder of a role wins; the first sub-leader comes before the second.
    report.addMember(QStringLiteral("己"), lord(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                                                QStringLiteral("2"), QStringLiteral("盟主補佐（一）")));
    report.addMember(QStringLiteral("庚"), lord(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("7"),
                                                QStringLiteral("8"), QStringLiteral("盟主")));
    EXPECT_EQ(reportLines(report, 8).at(2),
              QStringLiteral("盟主:庚(7,8)　盟主補佐(一):己(1,2)　盟主補佐(二):丙（一）(5,0)"));

    AllianceReport none(300, 10000);
    none.addMember(QStringLiteral("甲"), lord(QStringLiteral("1")));
    EXPECT_EQ(reportLines(none, 1).at(2), QString()) << "the line is there, empty";
}

TEST(AllianceReport, TheWholeReportOfASmallAlliance)
{
    AllianceReport report(300, 10000);
    report.addMember(QStringLiteral("織田 信長"),
                     {QStringLiteral("1250"), QStringLiteral("25000"), QStringLiteral("尾張"),
                      QStringLiteral("3(12位)"), QStringLiteral("盟主"), QStringLiteral("-12"),
                      QStringLiteral("34")});
    report.addMember(QStringLiteral("ｶﾞﾗｼｬ"),
                     {QStringLiteral("299"), QStringLiteral("9999"), QStringLiteral("尾張"),
                      QStringLiteral("3(12位)"), QStringLiteral("盟主補佐（一）"), QStringLiteral("0"),
                      QStringLiteral("0")});
    report.addMember(QStringLiteral("豊臣"),
                     {QStringLiteral("600"), QStringLiteral("0"), QStringLiteral("尾張国"),
                      QStringLiteral("4(11位)"), QStringLiteral("一般"), QStringLiteral("55"),
                      QStringLiteral("180")});
    for (const char16_t *count : {u"2", u"0", u"2"})
        report.addFiefCount(QString::fromUtf16(count));
    const QString expected = QStringLiteral("[尾張国]同盟 レポート 2024/04/01作成\r\n"
                                            "同盟規模 4(11位)\r\n"
                                            "盟主:織田 信長(-12,34)　盟主補佐(一):ｶﾞﾗｼｬ(0,0)\r\n"
                                            "\r\n"
                                            "★人口について・・・\r\n"
                                            "総人口 2149　平均一城主あたり 716\r\n"
                                            "人口分布 *1つにつき 300人\r\n"
                                            "****<<1250:織田 信長\r\n"
                                            "<<299:ｶﾞﾗｼｬ\r\n"
                                            "**<<600:豊臣\r\n"
                                            "\r\n"
                                            "\r\n"
                                            "★戦功について・・・\r\n"
                                            "総戦功 34999　平均一城主あたり 11666\r\n"
                                            "戦功分布　*1つにつき1万\r\n"
                                            "**<<25000:織田 信長\r\n"
                                            "<<9999:ｶﾞﾗｼｬ\r\n"
                                            "<<0:豊臣\r\n"
                                            "\r\n"
                                            "\r\n"
                                            "★所領数分布・・・\r\n"
                                            "所領数２の城主 2\r\n"
                                            "\r\n"
                                            "\r\n"
                                            "★本城分布・・・\r\n"
                                            "北東(+○,+○) 1\r\n"
                                            "南東(+○,-○) 0\r\n"
                                            "北西(-○,+○) 1\r\n"
                                            "南西(-○,-○) 1\r\n");
    EXPECT_EQ(report.text({QStringLiteral("2024/04/01"), QStringLiteral(" 300"), QStringLiteral("1万"), 3}),
              expected);
    EXPECT_EQ(report.membersRead(), 3);
    EXPECT_FALSE(report.barsCut());
}

TEST(AllianceReport, AReportOfFewerMembersThanTheTableSaysSoAndAveragesOverThoseRead)
{
    AllianceReport report(300, 10000);
    report.addMember(QStringLiteral("甲"), lord(QStringLiteral("900"), QStringLiteral("30000")));
    report.addMember(QStringLiteral("乙"), lord(QStringLiteral("300"), QStringLiteral("10000")));
    const QStringList lines = reportLines(report, 5);
    EXPECT_EQ(lines.at(2), QStringLiteral("※同盟員 5人のうち、プロフィールを読めた 2人分の集計です"));
    EXPECT_EQ(lines.at(3), QString()) << "then the leaders line";
    EXPECT_TRUE(lines.contains(QStringLiteral("総人口 1200　平均一城主あたり 600")));
    EXPECT_TRUE(lines.contains(QStringLiteral("総戦功 40000　平均一城主あたり 20000")));
    EXPECT_FALSE(reportLines(report, 2).join(QString()).contains(QStringLiteral("※")));
}

TEST(AllianceReport, TheDefaultStepsDrawALargeAlliancesBarsWhole)
{
    AllianceReport report(300, 10000);
    report.addMember(QStringLiteral("甲"), lord(QStringLiteral("12345"), QStringLiteral("12345678")));
    const QStringList bars = section(reportLines(report, 1), QStringLiteral("★戦功について・・・"));
    ASSERT_GE(bars.size(), 3);
    EXPECT_EQ(bars[2], QString(1234, u'*') + QStringLiteral("<<12345678:甲"));
    EXPECT_FALSE(report.barsCut());
}

TEST(AllianceReport, UnreadMembersAreNamedAndAnUnreadLeaderKeepsTheRolesPlace)
{
    struct Case
    {
        const char *what;
        QStringList readRoles;  // roles of the members read (甲, 乙)
        QStringList tableRoles; // table roles of the unread members (丙, 丁)
        QString leaders;
    };
    const Case cases[] = {
        {"leader unread, nothing in the table",
         {QStringLiteral("一般"), QStringLiteral("盟主補佐（二）")},
         {QString(), QString()},
         QStringLiteral("盟主:（未読）　盟主補佐(二):乙(1,1)")},
        {"sub-leader unread, named by the table",
         {QStringLiteral("盟主"), QStringLiteral("一般")},
         {QStringLiteral("一般"), QStringLiteral("盟主補佐（一）")},
         QStringLiteral("盟主:甲(1,1)　盟主補佐(一):（未読）")},
        {"leaders all read",
         {QStringLiteral("盟主"), QStringLiteral("盟主補佐（一）")},
         {QStringLiteral("一般"), QStringLiteral("一般")},
         QStringLiteral("盟主:甲(1,1)　盟主補佐(一):乙(1,1)")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        AllianceReport report(300, 10000);
        LordProfile first = lord(QStringLiteral("900"), QStringLiteral("30000"));
        first.role = c.readRoles.at(0);
        LordProfile second = lord(QStringLiteral("300"), QStringLiteral("10000"));
        second.role = c.readRoles.at(1);
        report.addMember(QStringLiteral("甲"), first);
        report.addMember(QStringLiteral("乙"), second);
        report.addUnreadMember(QStringLiteral("丙"), c.tableRoles.at(0));
        report.addUnreadMember(QStringLiteral("丁"), c.tableRoles.at(1));
        const QStringList lines = reportLines(report, 4);
        EXPECT_EQ(lines.at(2), QStringLiteral("※同盟員 4人のうち、プロフィールを読めた 2人分の集計です"));
        EXPECT_EQ(lines.at(3), QStringLiteral("※プロフィールを読めなかった同盟員: 丙、丁"));
        EXPECT_EQ(lines.at(4), c.leaders);
    }
}

TEST(AllianceReport, ABarLongerThanTheLimitIsCut)
{
    AllianceReport report(1, 1);
    report.addMember(QStringLiteral("甲"),
                     lord(QString::number(AllianceReport::kMaxStars), QStringLiteral("0")));
    EXPECT_FALSE(report.barsCut());
    report.addMember(QStringLiteral("乙"), lord(QStringLiteral("99999999999999999999"), QStringLiteral("0")));
    EXPECT_TRUE(report.barsCut());
    const QStringList bars =
        section(reportLines(report, 2, QStringLiteral("1")), QStringLiteral("★人口について・・・"));
    ASSERT_EQ(bars.size(), 4);
    EXPECT_EQ(bars[2], QString(AllianceReport::kMaxStars, u'*') + QStringLiteral("<<") +
                           QString::number(AllianceReport::kMaxStars) + QStringLiteral(":甲"));
    EXPECT_EQ(bars[3],
              QString(AllianceReport::kMaxStars, u'*') + QStringLiteral("<<99999999999999999999:乙"));
}

} // namespace
