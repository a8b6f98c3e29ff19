#include "common/readfailure.h"
#include "site/document.h"

#include <QSet>
#include <gtest/gtest.h>
#include <optional>

namespace {

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

TEST(DocumentLinks, ResolvesEveryAnchorAndAreaWithAnHrefAgainstTheAddressInOrder)
{
    const Document page = Document::fromHtml(QStringLiteral("http://w3.example.jp/user/?user_id=5"), utf8(R"(
<a href="/alliance/info.php?id=77">同盟</a>
<a name="top">no href, no link</a>
<a href="../land.php?x=1&amp;y=2" title="本拠地">x</a>
<map name="m"><area shape="rect" coords="0,0,9,9" href="map.php?x=3" title="w003"></map>
<a href=" http://other.example.com/p?q=城 ">ext</a>
<a href="#top">top</a>)"));
    const QList<Document::Link> &links = page.links();
    ASSERT_EQ(links.size(), 5);
    EXPECT_EQ(links[0].href, QStringLiteral("http://w3.example.jp/alliance/info.php?id=77"));
    EXPECT_TRUE(links[0].title.isEmpty());
    EXPECT_EQ(links[1].href, QStringLiteral("http://w3.example.jp/land.php?x=1&y=2"));
    EXPECT_EQ(links[1].title, utf8("本拠地"));
    EXPECT_EQ(links[2].href, QStringLiteral("http://w3.example.jp/user/map.php?x=3"));
    EXPECT_EQ(links[2].title, QStringLiteral("w003"));
    EXPECT_EQ(links[3].href, QStringLiteral("http://other.example.com/p?q=%E5%9F%8E"));
    EXPECT_EQ(links[4].href, QStringLiteral("http://w3.example.jp/user/?user_id=5#top"));
}

TEST(DocumentLinks, FollowTheFirstBaseElementWhereverItStandsLikeTheBrowser)
{
    const Document page = Document::fromHtml(QStringLiteral("http://top.example.jp/index.php"),
                                             QStringLiteral("<a href=\"select.php\">w</a>"
                                                            "<base href=\"http://w3.example.jp/world/\">"
                                                            "<base href=\"http://elsewhere.example.jp/\">"));
    ASSERT_EQ(page.links().size(), 1);
    EXPECT_EQ(page.links()[0].href, QStringLiteral("http://w3.example.jp/world/select.php"));
}

// Checks the element table against the markup it points into: document
// order, each element's own tags around its inner markup, and every element
// inside its parent's inner markup.
void expectConsistentElementTable(const Document &page)
{
    static const QSet<QString> voidTags{
        QStringLiteral("AREA"),  QStringLiteral("BASE"), QStringLiteral("BR"),    QStringLiteral("COL"),
        QStringLiteral("EMBED"), QStringLiteral("HR"),   QStringLiteral("IMG"),   QStringLiteral("INPUT"),
        QStringLiteral("LINK"),  QStringLiteral("META"), QStringLiteral("PARAM"), QStringLiteral("SOURCE"),
        QStringLiteral("TRACK"), QStringLiteral("WBR")};
    const QString &markup = page.markup();
    ASSERT_GT(page.elementCount(), 0);
    EXPECT_EQ(page.tagName(0), QStringLiteral("HTML"));
    EXPECT_EQ(page.outerHtml(0), QStringView(markup));
    struct Range
    {
        qsizetype begin, end;
        bool holds(Range r) const { return begin <= r.begin && r.end <= end; }
    };
    auto rangeOf = [&markup](QStringView view) {
        const qsizetype begin = view.data() - markup.constData();
        return Range{begin, begin + view.size()};
    };
    QList<Range> outers, inners;
    for (qsizetype i = 0; i < page.elementCount(); ++i) {
        const QString tag = page.tagName(i);
        const QStringView outer = page.outerHtml(i);
        const QStringView inner = page.innerHtml(i);
        const Range outerRange = rangeOf(outer), innerRange = rangeOf(inner);
        ASSERT_TRUE((Range{0, markup.size()}.holds(outerRange))) << i;
        ASSERT_TRUE(outerRange.holds(innerRange)) << i;
        const QStringView startTag = outer.first(innerRange.begin - outerRange.begin);
        EXPECT_TRUE(startTag.startsWith(QLatin1Char('<') + tag) && startTag.endsWith(QLatin1Char('>'))) << i;
        if (voidTags.contains(tag)) {
            EXPECT_TRUE(inner.isEmpty()) << i;
            EXPECT_EQ(outer, startTag) << i;
        } else {
            EXPECT_EQ(outer.toString(),
                      startTag.toString() + inner.toString() + QStringLiteral("</") + tag + QLatin1Char('>'))
                << i;
        }
        if (i > 0) {
            EXPECT_GT(outerRange.begin, outers.back().begin) << i;
            std::optional<qsizetype> parent;
            for (qsizetype j = i - 1; j >= 0 && !parent; --j)
                if (outers[j].holds(outerRange))
                    parent = j;
            ASSERT_TRUE(parent.has_value()) << i;
            EXPECT_TRUE(inners[*parent].holds(outerRange)) << i;
        }
        outers.append(outerRange);
        inners.append(innerRange);
    }
}

// A user page as the game serves it, cut down to what the readers use.
const char *const userPage = R"(<!DOCTYPE html>
<html lang="ja"><head><meta charset="utf-8"><title>君主</title></head>
<body>
<div class="sideBoxInner basename">
  <ul><li class="name">君主名</li><li id="lordName">織田 信長 </li></ul>
  <a href="/alliance/info.php?id=77">同盟</a>
  <table class="villages">
    <tr><td>本領</td><td><a href="/village_change.php?village_id=101">本 拠</a></td><td><a href="/land.php?x=12&y=-34">地図</a></td></tr>
    <tr><td>所領</td><td><a href="/village_change.php?village_id=102">支城</a></td><td><a href="/land.php?x=1&y=2">地図</a></td></tr>
  </table>
</div>
<img src="/img/lord.png" alt="城主名"><br>
<table class="profile"><tr><td>本領</td><td>(本拠地)</td><td><a href="/land.php?x=12&y=-34&c=5">12,-34</a></td></tr></table>
</body></html>)";

TEST(DocumentMarkup, UserAndProfilePagesCarryTheMarkersTheReadersSearchFor)
{
    const Document page = Document::fromHtml(QStringLiteral("http://w3.example.jp/user/"), utf8(userPage));
    const QString &markup = page.markup();
    for (const char *marker :
         {"sideBoxInner basename", "\"/alliance/info.php?id=77\">同盟</A>", "id=lordName>織田 信長 </LI>",
          "<TD>本領</TD><TD><A href=\"/village_change.php?village_id=101\">本 拠</A></TD>",
          "<A href=\"/land.php?x=12&amp;y=-34\">", "<TD>所領</TD>",
          "<IMG src=\"/img/lord.png\" alt=城主名><BR>",
          "<TR><TD>本領</TD><TD>(本拠地)</TD><TD><A href=\"/land.php?x=12&amp;y=-34&amp;c=5\">12,-34</A>"
          "</TD></TR></TBODY></TABLE>"})
        EXPECT_TRUE(markup.contains(utf8(marker))) << marker;
    expectConsistentElementTable(page);
}

TEST(DocumentMarkup, AllianceMemberRowsCarryTheMarkersTheTableReaderSearchesFor)
{
    const Document page =
        Document::fromHtml(QStringLiteral("http://w3.example.jp/alliance/info.php?id=77"), utf8(R"(
<table class="common_table1 center">
  <tr><th>名前</th><th>順位</th><th>ポイント</th><th>人口</th><th>所領</th><th>役職</th></tr>
  <tr class="fs12"><td><a href="/user/?user_id=1234">織田 信長</a></td><td>1</td><td>12345</td><td>678</td><td>3</td><td>盟　主</td></tr>
  <tr class="fs12"><td><a href="/user/?user_id=99">Ｔａｒｏ</a></td><td>2</td><td>10</td><td>50</td><td>0</td><td></td></tr></table>)"));
    const QString &markup = page.markup();
    EXPECT_TRUE(markup.contains(
        utf8("<TR class=fs12><TD><A href=\"/user/?user_id=1234\">織田 信長</A></TD><TD>1</TD><TD>12345</TD>"
             "<TD>678</TD><TD>3</TD><TD>盟　主</TD></TR>\n  <TR class=fs12>")));
    EXPECT_TRUE(markup.contains(utf8("<TD>0</TD><TD></TD></TR></TBODY></TABLE>")));
    expectConsistentElementTable(page);
}

TEST(Document, EmptyPageAndElementsPastTheEnd)
{
    const Document empty;
    EXPECT_TRUE(empty.address().isEmpty());
    EXPECT_TRUE(empty.markup().isEmpty());
    EXPECT_EQ(empty.elementCount(), 0);
    EXPECT_TRUE(empty.bodyText().isEmpty());
    EXPECT_TRUE(empty.links().isEmpty());
    EXPECT_THROW(empty.outerHtml(0), ReadFailure);

    // Whatever the browser hands over, the page has its root, head and body.
    const Document blank = Document::fromHtml(QStringLiteral("about:blank"), QString());
    EXPECT_EQ(blank.markup(), QStringLiteral("<HTML><HEAD></HEAD><BODY></BODY></HTML>"));
    EXPECT_EQ(blank.elementCount(), 3);
    EXPECT_THROW(blank.innerHtml(3), ReadFailure);
    EXPECT_THROW(blank.tagName(-1), ReadFailure);
}

TEST(Document, ViewsStayValidInACopyAfterTheOriginalIsGone)
{
    std::optional<Document> original =
        Document::fromHtml(QStringLiteral("http://a/"), QStringLiteral("<p id=x>text</p>"));
    const Document copy = *original;
    original.reset();
    EXPECT_EQ(copy.tagName(3), QStringLiteral("P"));
    EXPECT_EQ(copy.outerHtml(3), QStringLiteral("<P id=x>text</P>"));
    EXPECT_EQ(copy.innerHtml(3), QStringLiteral("text"));
    EXPECT_EQ(copy.address(), QStringLiteral("http://a/"));
}

} // namespace
