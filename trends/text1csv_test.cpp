#include "testsupport/trends/trendstestsupport.h"
#include "trends/text1csv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Rows = QList<QStringList>;

// The alliance report as the tool window shows it, trimmed to what matters.
QString reportText(const QString &populationBars, const QString &meritBars)
{
    return QStringLiteral(
               "[テスト]同盟 レポート 2026/12/01作成\r\n同盟規模 3\r\n盟主:山田太郎(1,2)\r\n\r\n"
               "★人口について・・・\r\n総人口 1549　平均一城主あたり 774\r\n人口分布 *1つにつき300人\r\n") +
           populationBars +
           QStringLiteral("\r\n\r\n★戦功について・・・\r\n総戦功 20000　平均一城主あたり 10000\r\n"
                          "戦功分布　*1つにつき10000\r\n") +
           meritBars +
           QStringLiteral("\r\n\r\n★所領数分布・・・\r\n所領数１の城主 2\r\n\r\n\r\n★本城分布・・・\r\n"
                          "北東(+○,+○) 1\r\n南東(+○,-○) 0\r\n北西(-○,+○) 1\r\n南西(-○,-○) 0\r\n");
}

TEST(Text1Csv, RosterLinesBecomeNameXY)
{
    const auto table = Text1Csv::tableFromOutput(QStringLiteral(
        "\"LordA\",\"-12\",\"34\"\r\n\"𠮷野\",\"0\",\"-5\"\r\n\"凛\",\"7\"\r\n\"空\",\"\"\r\n\r\n"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->headers,
              (QStringList{QStringLiteral("名前"), QStringLiteral("X"), QStringLiteral("Y")}));
    EXPECT_EQ(table->rows, (Rows{{QStringLiteral("LordA"), QStringLiteral("-12"), QStringLiteral("34")},
                                 {QStringLiteral("𠮷野"), QStringLiteral("0"), QStringLiteral("-5")},
                                 {QStringLiteral("凛"), QStringLiteral("7"), QString()},
                                 {QStringLiteral("空"), QString(), QString()}}));
}

TEST(Text1Csv, ReportGivesOneRowPerMemberFromBothBarSections)
{
    // A name with a colon, a population that is no number, a member of no
    // stars, and two members of one name paired in order.
    const QString text =
        reportText(QStringLiteral("****<<1250:山田太郎\r\n<<299:a:b\r\n<<不明:凛\r\n*<<300:凛"),
                   QStringLiteral("**<<20000:山田太郎\r\n<<0:a:b\r\n<<5:凛\r\n<<6:凛"));
    const auto table = Text1Csv::tableFromOutput(text);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->headers,
              (QStringList{QStringLiteral("名前"), QStringLiteral("人口"), QStringLiteral("戦功")}));
    EXPECT_EQ(table->rows,
              (Rows{{QStringLiteral("山田太郎"), QStringLiteral("1250"), QStringLiteral("20000")},
                    {QStringLiteral("a:b"), QStringLiteral("299"), QStringLiteral("0")},
                    {QStringLiteral("凛"), QStringLiteral("不明"), QStringLiteral("5")},
                    {QStringLiteral("凛"), QStringLiteral("300"), QStringLiteral("6")}}));
}

TEST(Text1Csv, AMemberMissingFromOneSectionKeepsTheOthersInPlace)
{
    const auto table = Text1Csv::reportTable(
        reportText(QStringLiteral("<<1:甲\r\n<<2:乙"), QStringLiteral("<<9:乙\r\n<<8:丙")));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows, (Rows{{QStringLiteral("甲"), QStringLiteral("1"), QString()},
                                 {QStringLiteral("乙"), QStringLiteral("2"), QStringLiteral("9")},
                                 {QStringLiteral("丙"), QString(), QStringLiteral("8")}}));
}

TEST(Text1Csv, OtherOutputIsNeitherRosterNorReport)
{
    EXPECT_FALSE(Text1Csv::tableFromOutput(QString()));
    EXPECT_FALSE(Text1Csv::tableFromOutput(QStringLiteral("\r\n\r\n")));
    EXPECT_FALSE(Text1Csv::tableFromOutput(QStringLiteral("\"LordA\",\"1\",\"2\"\r\n山田 休止中\r\n")));
    EXPECT_FALSE(Text1Csv::tableFromOutput(QStringLiteral("★人口について・・・\r\n<<1:甲\r\n")));
}

TEST(Text1Csv, SaveOutputWritesTheTableOrSaysWhyNot)
{
    QTemporaryDir dir;
    TrendsTest::FakeFilePort port;
    port.answer = dir.filePath(QStringLiteral("roster.csv"));

    EXPECT_FALSE(Text1Csv::saveOutput(QStringLiteral("ランキング"), QStringLiteral("s.csv"), port));
    EXPECT_EQ(port.told.size(), 1);
    EXPECT_TRUE(port.suggested.isEmpty()) << "no dialog for text that is no table";
    EXPECT_FALSE(QFile::exists(port.answer));

    ASSERT_TRUE(
        Text1Csv::saveOutput(QStringLiteral("\"A,1\",\"3\",\"4\"\r\n"), QStringLiteral("s.csv"), port));
    EXPECT_EQ(port.suggested, QStringList{QStringLiteral("s.csv")});
    QFile file(port.answer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArrayLiteral("\xEF\xBB\xBF") + QStringLiteral("名前,X,Y\r\n\"A,1\",3,4\r\n").toUtf8());

    port.answer.clear(); // cancelled
    EXPECT_FALSE(
        Text1Csv::saveOutput(QStringLiteral("\"A\",\"3\",\"4\"\r\n"), QStringLiteral("s.csv"), port));
    EXPECT_EQ(port.told.size(), 1);
}

} // namespace
