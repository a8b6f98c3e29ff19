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

} // namespace
