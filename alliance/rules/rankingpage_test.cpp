#include "alliance/rules/rankingpage.h"
#include "site/document.h"
#include "testsupport/alliance/rankingtestpages.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

namespace {

using RankingTestPages::row;
using Row = RankingTestPages::Row;

Document pageOf(const QList<Row> &rows, RankingTestPages::Parts parts = {})
{
    return Document::fromHtml(QStringLiteral("http://w3.test/war/war_ranking.php?p=1"),
                              RankingTestPages::page(rows, parts));
}

QStringList scrape(const QList<Row> &rows, int category = 0, const QString &savedText = QString(),
                   const QString &allianceId = QStringLiteral("7"))
{
    return ScrapeRankingPage(pageOf(rows), allianceId, category, SavedRanking::fromText(savedText));
}

TEST(RankingPageTest, ListsOnlyTheOwnAlliancesRowsWithRankNameAndScore)
{
    const QList<Row> rows = {row(11, QStringLiteral("織田信長"), QStringLiteral("8"), 900),
                             row(12, QStringLiteral("真田 昌輝"), QStringLiteral("7"), 850),
                             row(13, QStringLiteral("無所属"), QString(), 800),
                             row(14, QStringLiteral("ＳＡＭＵＲＡＩ"), QStringLiteral("7"), 790),
                             row(15, QStringLiteral("𠮷川広家"), QStringLiteral("7"), 0)};
    EXPECT_EQ(scrape(rows),
              QStringList({QStringLiteral("12位 真田 昌輝 850"), QStringLiteral("14位 ＳＡＭＵＲＡＩ 790"),
                           QStringLiteral("15位 𠮷川広家 0")}));
    EXPECT_TRUE(scrape({row(1, QStringLiteral("他人"), QStringLiteral("8"), 5)}).isEmpty());
    EXPECT_TRUE(scrape({}).isEmpty());
}

TEST(RankingPageTest, EachCategoryReadsItsOwnScoreCell)
{
    Row lord = row(3, QStringLiteral("凛"), QStringLiteral("7"), 0);
    lord.scores = {QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("300"),
                   QStringLiteral("400")};
    for (int category = 0; category < 4; ++category)
        EXPECT_EQ(scrape({lord}, category),
                  QStringList{QStringLiteral("3位 凛 %1").arg(100 * (category + 1))})
            << category;
    // The text up to the cell's first tag: a wrapped score reads empty.
    lord.scores[1] = QStringLiteral("<span>200</span>");
    EXPECT_EQ(scrape({lord}, 1), QStringList{QStringLiteral("3位 凛 ")});
}

TEST(RankingPageTest, TheAllianceIdMustEndWhereTheLinkEnds)
{
    // 7 is a prefix of 71 and 7 of 7&x; letter case of the link does not matter.
    Row upper = row(4, QStringLiteral("大文字"), QStringLiteral("7"), 60);
    const QList<Row> rows = {row(1, QStringLiteral("他家甲"), QStringLiteral("71"), 90),
                             row(2, QStringLiteral("身内"), QStringLiteral("7"), 80),
                             row(3, QStringLiteral("他家乙"), QStringLiteral("70"), 70)};
    EXPECT_EQ(scrape(rows), QStringList{QStringLiteral("2位 身内 80")});
    QString html = RankingTestPages::page({row(4, QStringLiteral("大文字"), QStringLiteral("7"), 60)});
    html.replace(QStringLiteral("alliance/info.php?id=7\">某"),
                 QStringLiteral("ALLIANCE/INFO.PHP?ID=7\">某"));
    const Document shouting = Document::fromHtml(QStringLiteral("http://w3.test/"), html);
    EXPECT_EQ(ScrapeRankingPage(shouting, QStringLiteral("7"), 0, {}),
              QStringList{QStringLiteral("4位 大文字 60")});
    EXPECT_TRUE(scrape(rows, 0, {}, QString()).isEmpty()) << "an empty id is nobody's";
}

TEST(RankingPageTest, ANameInsideAnEarlierNameOrAllianceKeepsItsOwnLine)
{
    Row stranger = row(4, QStringLiteral("白凛丸"), QStringLiteral("8"), 500);
    Row other = row(5, QStringLiteral("他人"), QStringLiteral("8"), 480);
    other.allianceName = QStringLiteral("凛々会");
    const QList<Row> rows = {stranger, other, row(6, QStringLiteral("凛"), QStringLiteral("7"), 450),
                             row(7, QStringLiteral("丸"), QStringLiteral("7"), 440)};
    EXPECT_EQ(scrape(rows), QStringList({QStringLiteral("6位 凛 450"), QStringLiteral("7位 丸 440")}));
    // Names are matched in the page text without regard to letter case.
    EXPECT_EQ(scrape({row(9, QStringLiteral("Ken"), QStringLiteral("7"), 1)}),
              QStringList{QStringLiteral("9位 Ken 1")});
}

TEST(RankingPageTest, AGamePageWithoutRowsIsAnEmptyRankingPageAndOnlyANonGamePageIsIncomplete)
{
    const QList<Row> rows = {row(1, QStringLiteral("身内"), QStringLiteral("7"), 1)};
    EXPECT_TRUE(readRankingPage(pageOf(rows), QStringLiteral("7"), 0).complete);
    const RankingPageRead tight =
        readRankingPage(pageOf(rows, {.spacedMenu = false}), QStringLiteral("7"), 0);
    EXPECT_TRUE(tight.complete);
    EXPECT_EQ(tight.rows.size(), 1);
    // Past the last ranked lord: the frame of the page, no table or no pager.
    for (const RankingTestPages::Parts parts :
         {RankingTestPages::Parts{.table = false}, RankingTestPages::Parts{.pager = false},
          RankingTestPages::Parts{.table = false, .pager = false}}) {
        const RankingPageRead read = readRankingPage(pageOf(rows, parts), QStringLiteral("7"), 0);
        EXPECT_TRUE(read.complete);
        EXPECT_TRUE(read.rows.isEmpty());
    }
    EXPECT_TRUE(readRankingPage(pageOf({}), QStringLiteral("7"), 0).complete);
    // No menu line: an error or maintenance page, or a half-made load.
    const RankingPageRead other = readRankingPage(pageOf(rows, {.menu = false}), QStringLiteral("7"), 0);
    EXPECT_FALSE(other.complete);
    EXPECT_TRUE(other.rows.isEmpty());
    EXPECT_FALSE(readRankingPage(Document(), QStringLiteral("7"), 0).complete);
}

TEST(RankingPageTest, RowsAfterThePagerAreNotRanking)
{
    QString html = RankingTestPages::page({row(1, QStringLiteral("身内"), QStringLiteral("7"), 1)});
    html.replace(QStringLiteral("</body>"),
                 QStringLiteral("<table><tr><td>2</td><td><a href=\"/user/?user_id=5\">後ろ</a></td><td><a "
                                "href=\"/alliance/info.php?id=7\">x</a></td><td>9</td></tr></table></body>"));
    const Document page = Document::fromHtml(QStringLiteral("http://w3.test/"), html);
    EXPECT_EQ(ScrapeRankingPage(page, QStringLiteral("7"), 0, {}), QStringList{QStringLiteral("1位 身内 1")});
}

TEST(RankingPageTest, MarksCompareRankAndScoreWithTheSavedRows)
{
    const QString saved = QStringLiteral("★第1～100位 3人\r\n15位 上昇 100\r\n12位 同じ 90\r\n"
                                         "3位 下降 10\r\n 8位 真田 昌輝 7 \r\n");
    const QList<Row> rows = {row(12, QStringLiteral("上昇"), QStringLiteral("7"), 90),
                             row(13, QStringLiteral("同じ"), QStringLiteral("7"), 0),
                             row(14, QStringLiteral("下降"), QStringLiteral("7"), 11),
                             row(15, QStringLiteral("新顔"), QStringLiteral("7"), 5),
                             row(16, QStringLiteral("真田 昌輝"), QStringLiteral("7"), 7)};
    QList<Row> same = rows;
    same[1] = {12, QStringLiteral("同じ"), QStringLiteral("7"), {QStringLiteral("90")}};
    EXPECT_EQ(scrape({same[0], same[1]}, 0, saved),
              QStringList({QStringLiteral("12位↑ 上昇 90↓"), QStringLiteral("12位→ 同じ 90→")}));
    EXPECT_EQ(scrape(rows, 0, saved).mid(2),
              QStringList({QStringLiteral("14位↓ 下降 11↑"), QStringLiteral("15位　 新顔 5"),
                           QStringLiteral("16位↓ 真田 昌輝 7→")}));
    // Names are compared exactly, and the first saved row of a name counts.
    EXPECT_EQ(scrape({row(9, QStringLiteral("Ken"), QStringLiteral("7"), 1)}, 0,
                     QStringLiteral("9位 ken 1\r\n20位 Ken 1\r\n5位 Ken 1\r\n")),
              QStringList{QStringLiteral("9位↑ Ken 1→")});
    // An empty score on either side is no figure: the rank is marked, the
    // score is not.
    const QList<Row> wrapped = {{2, QStringLiteral("凛"), QStringLiteral("7"), {QStringLiteral("<b>9</b>")}},
                                row(4, QStringLiteral("丸"), QStringLiteral("7"), 12)};
    EXPECT_EQ(scrape(wrapped, 0, QStringLiteral("3位 凛 \r\n4位 丸 \r\n")),
              QStringList({QStringLiteral("2位↑ 凛 "), QStringLiteral("4位→ 丸 12")}));
    // Saved text without a single row: no comparison, no marks.
    EXPECT_EQ(scrape({rows[0]}, 0, QStringLiteral("メモ\r\n")), QStringList{QStringLiteral("12位 上昇 90")});
}

TEST(RankingPageTest, ALineNeverHoldsALineBreak)
{
    const RankingRow row{QStringLiteral("\n12"), QStringLiteral("名\r\n前"), QStringLiteral("3\r")};
    EXPECT_EQ(rankingLine(row, {}), QStringLiteral("12位 名前 3"));
}

} // namespace
