#include "common/readfailure.h"
#include "common/textsearch.h"

#include <gtest/gtest.h>

using namespace TextSearch;

namespace {

TEST(TextSearch, PositionsAreOneBasedAndZeroMeansMissing)
{
    const QString page = QStringLiteral("<A href=x>同盟</A><a href=y>");
    EXPECT_EQ(findExact(page, QStringLiteral("<A")), 1);
    EXPECT_EQ(findExact(page, QStringLiteral("<a")), 17);
    EXPECT_EQ(findAsText(page, QStringLiteral("<a"), 2), 17);
    EXPECT_EQ(findExact(page, QStringLiteral("<A"), 2), 0);
    EXPECT_EQ(findExact(page, QStringLiteral("none")), 0);
    EXPECT_EQ(findExact(page, QStringLiteral("<A"), 999), 0);
}

TEST(TextSearch, BackwardSearchFindsTheLastStartAtOrBeforeTheLimit)
{
    const QString link = QStringLiteral("/v.php?a=1&id=22\">");
    EXPECT_EQ(findLastExact(link, QStringLiteral("=")), 14);
    EXPECT_EQ(findLastExact(link, QStringLiteral("="), 13), 9);
    EXPECT_EQ(findLastAsText(link, QStringLiteral("ID=")), 12);
    EXPECT_EQ(findLastExact(link, QStringLiteral("ID=")), 0);
    EXPECT_EQ(findLastExact(link, QStringLiteral("="), 0), 0);
}

TEST(TextSearch, PositionsBeyondSixteenBitsWork)
{
    const QString page = QString(40000, u'x') + QStringLiteral("(本拠地)");
    EXPECT_EQ(findExact(page, QStringLiteral("(本拠地)")), 40001);
    EXPECT_EQ(mid(page, 40002, 3), QStringLiteral("本拠地"));
}

TEST(TextSearch, RemoveAllIsExact)
{
    EXPECT_EQ(removeAll(QStringLiteral("a/b//c"), QStringLiteral("/")), QStringLiteral("abc"));
    EXPECT_EQ(removeAll(QStringLiteral("amp;AMP;"), QStringLiteral("amp;")), QStringLiteral("AMP;"));
    EXPECT_EQ(removeAll(QStringLiteral("abc"), QString()), QStringLiteral("abc"));
}

TEST(TextSearch, TrimRemovesOnlyAsciiSpaces)
{
    EXPECT_EQ(trimSpaces(QStringLiteral("  名 前  ")), QStringLiteral("名 前"));
    EXPECT_EQ(trimSpaces(QStringLiteral("　x\t\r\n ")), QStringLiteral("　x\t\r\n"));
    EXPECT_EQ(trimSpaces(QStringLiteral("   ")), QString());
}

TEST(TextSearch, MidFailsWhereAMarkerWasMissing)
{
    EXPECT_EQ(mid(QStringLiteral("abcdef"), 2, 3), QStringLiteral("bcd"));
    EXPECT_EQ(mid(QStringLiteral("abc"), 2, 10), QStringLiteral("bc"));
    EXPECT_EQ(span(QStringLiteral("abcdef"), 2, 1), QString());
    EXPECT_THROW(mid(QStringLiteral("abc"), 0, 1), ReadFailure);
    EXPECT_THROW(mid(QStringLiteral("abc"), 1, -1), ReadFailure);
    // A search continued after a marker that was missing (position 0) fails
    // instead of starting again at the top.
    EXPECT_THROW(continueFindExact(QStringLiteral("a>b"), QStringLiteral(">"), 0), ReadFailure);
    EXPECT_EQ(continueFindAsText(QStringLiteral("a>B>"), QStringLiteral("b"), 2), 3);
}

TEST(TextSearch, ForwardSearchStartsAtTheGivenPositionInclusive)
{
    const QString page = QStringLiteral("<A href=x>同盟</A><a href=y>");
    EXPECT_EQ(findExact(page, QStringLiteral("<a"), 17), 17);
    EXPECT_EQ(findExact(page, QStringLiteral("<a"), 18), 0);
    EXPECT_EQ(findAsText(page, QStringLiteral("<A"), 1), 1);
    EXPECT_EQ(findAsText(page, QStringLiteral("</a>"), 13), 13);
    // A start before the first character searches the whole text.
    EXPECT_EQ(findExact(page, QStringLiteral("<A"), 0), 1);
    EXPECT_EQ(findAsText(page, QStringLiteral("<a"), -5), 1);
}

TEST(TextSearch, BackwardSearchLimitIsInclusiveDownToTheFirstCharacter)
{
    const QString text = QStringLiteral("abcabc");
    EXPECT_EQ(findLastExact(text, QStringLiteral("abc"), 4), 4);
    EXPECT_EQ(findLastExact(text, QStringLiteral("abc"), 3), 1);
    EXPECT_EQ(findLastExact(text, QStringLiteral("a"), 1), 1);
    EXPECT_EQ(findLastAsText(text, QStringLiteral("BC"), 5), 5);
    EXPECT_EQ(findLastAsText(text, QStringLiteral("BC"), 4), 2);
    EXPECT_EQ(findLastExact(text, QStringLiteral("BC")), 0);
    EXPECT_EQ(findLastAsText(text, QStringLiteral("X")), 0);
}

TEST(TextSearch, AsTextIgnoresLetterCaseExactDoesNot)
{
    // The side box, lordName and end-of-table checks match markup whose case
    // the page decides.
    EXPECT_TRUE(containsAsText(QStringLiteral("x</tbody>"), QStringLiteral("</TBODY>")));
    EXPECT_TRUE(containsAsText(QStringLiteral("id=LORDNAME"), QStringLiteral("lordName")));
    EXPECT_FALSE(containsExact(QStringLiteral("x</tbody>"), QStringLiteral("</TBODY>")));
    EXPECT_TRUE(containsExact(QStringLiteral("x</TBODY>"), QStringLiteral("</TBODY>")));
    EXPECT_FALSE(containsAsText(QStringLiteral("x</tbody>"), QStringLiteral("</TABLE>")));

    EXPECT_EQ(findAsText(QStringLiteral("xAbC"), QStringLiteral("abc")), 2);
    EXPECT_EQ(findExact(QStringLiteral("xAbC abc"), QStringLiteral("abc")), 6);
    EXPECT_EQ(continueFindExact(QStringLiteral("aB b"), QStringLiteral("b"), 1), 4);
    EXPECT_EQ(continueFindAsText(QStringLiteral("aB b"), QStringLiteral("b"), 1), 2);
}

TEST(TextSearch, ContinuedSearchAcceptsTheFirstPositionAndRefusesBelowIt)
{
    EXPECT_EQ(continueFindExact(QStringLiteral(">ab"), QStringLiteral(">"), 1), 1);
    EXPECT_EQ(continueFindAsText(QStringLiteral("a>b>"), QStringLiteral(">"), 3), 4);
    EXPECT_EQ(continueFindExact(QStringLiteral("a>b"), QStringLiteral("<"), 1), 0);
    EXPECT_THROW(continueFindAsText(QStringLiteral("a>b"), QStringLiteral(">"), 0), ReadFailure);
    EXPECT_THROW(continueFindExact(QStringLiteral("a>b"), QStringLiteral(">"), -3), ReadFailure);
}

TEST(TextSearch, MidAndSpanCountFromOneAndIncludeBothEnds)
{
    EXPECT_EQ(mid(QStringLiteral("abcdef"), 1, 2), QStringLiteral("ab"));
    EXPECT_EQ(mid(QStringLiteral("abc"), 1, 0), QString());
    EXPECT_EQ(mid(QStringLiteral("abc"), 4, 1), QString());
    EXPECT_EQ(span(QStringLiteral("abcdef"), 2, 4), QStringLiteral("bcd"));
    EXPECT_EQ(span(QStringLiteral("abcdef"), 3, 3), QStringLiteral("c"));
    EXPECT_EQ(span(QStringLiteral("abcdef"), 1, 6), QStringLiteral("abcdef"));
    // A last position before the first is a missing marker, not an empty cut.
    EXPECT_THROW(span(QStringLiteral("abcdef"), 3, 1), ReadFailure);
    EXPECT_THROW(span(QStringLiteral("abcdef"), 0, 3), ReadFailure);
}

TEST(TextSearch, RemoveAllTakesEveryOccurrenceAndTrimKeepsInnerSpaces)
{
    EXPECT_EQ(removeAll(QStringLiteral("\"a\" \"b\""), QStringLiteral("\"")), QStringLiteral("a b"));
    EXPECT_EQ(removeAll(QStringLiteral("aaaa"), QStringLiteral("aa")), QString());
    EXPECT_EQ(trimSpaces(QStringLiteral(" a")), QStringLiteral("a"));
    EXPECT_EQ(trimSpaces(QStringLiteral("a ")), QStringLiteral("a"));
    EXPECT_EQ(trimSpaces(QStringLiteral("a  b")), QStringLiteral("a  b"));
    EXPECT_EQ(trimSpaces(QString()), QString());
}

} // namespace
