#include "site/document.h"

#include <gtest/gtest.h>

namespace {

QString textOf(const char *html)
{
    return Document::fromHtml(QString(), QString::fromUtf8(html)).bodyText();
}

TEST(BodyText, TableCellsRunTogetherSeparatedOnlyByTheWhitespaceTheMarkupHolds)
{
    EXPECT_EQ(textOf("<table><tr><td>12</td><td>name</td></tr></table>"), QStringLiteral("12name"));
    EXPECT_EQ(textOf("<table><tr>\n<td>a</td>\n<td>b</td>\n</tr></table>"), QStringLiteral("a b"));
    EXPECT_EQ(textOf("<table><tr><th>選択</th><th>件名</th><th>送信者</th></tr></table>"),
              QStringLiteral("選択件名送信者"));
}

TEST(BodyText, RowsBlocksAndBreaksStartLinesJoinedByCrLf)
{
    EXPECT_EQ(textOf("x<div>d</div>y<br>z<table><tr><td>r1</td></tr><tr><td>r2</td></tr></table>w<p>p</p>"),
              QStringLiteral("x\r\nd\r\ny\r\nz\r\nr1\r\nr2\r\nw\r\np"));
    EXPECT_EQ(textOf("<ul><li>a</li><li>b</li></ul><h2>c</h2>"), QStringLiteral("a\r\nb\r\nc"));
}

TEST(BodyText, ConsecutiveBreaksCollapseAndNoneStandAtEitherEnd)
{
    EXPECT_EQ(textOf("<div><br>a<br><br>\n <br><p></p><div><div>b</div></div><br></div>"),
              QStringLiteral("a\r\nb"));
}

TEST(BodyText, WhitespaceRunsBecomeOneBlankAcrossElementsAndBlanksAtLineEdgesGo)
{
    EXPECT_EQ(textOf("a <b> b</b>"), QStringLiteral("a b"));
    EXPECT_EQ(textOf("<span>a\t\r\n  </span>\n<span>\fb</span>"), QStringLiteral("a b"));
    EXPECT_EQ(textOf("<div>  x  </div>  <div> y </div>"), QStringLiteral("x\r\ny"));
    // The ideographic space is text, not whitespace.
    EXPECT_EQ(textOf("<p>　名前　</p>"), QStringLiteral("　名前　"));
}

TEST(BodyText, NonBreakingSpaceIsABlankOfItsOwn)
{
    EXPECT_EQ(textOf("1 2 ＞&nbsp; &gt;&gt;"), QStringLiteral("1 2 ＞  >>"));
    EXPECT_EQ(textOf("a&nbsp;&nbsp;b"), QStringLiteral("a  b"));
    EXPECT_EQ(textOf("<div>&nbsp;x&nbsp;</div>&nbsp;"), QStringLiteral("x"));
}

TEST(BodyText, BlanksBesideALineBreakGoWhateverTheirKind)
{
    // U+00A0 is a blank like any other once it stands next to a break.
    EXPECT_EQ(textOf("a&nbsp;<br>b"), QStringLiteral("a\r\nb"));
    EXPECT_EQ(textOf("a<br>&nbsp;b"), QStringLiteral("a\r\nb"));
    EXPECT_EQ(textOf("a &nbsp; <br> &nbsp; b"), QStringLiteral("a\r\nb"));
    EXPECT_EQ(textOf("<p>a&nbsp;</p><p>&nbsp;b</p>"), QStringLiteral("a\r\nb"));
    EXPECT_EQ(textOf("a \t<div>b</div>"), QStringLiteral("a\r\nb"));
    EXPECT_EQ(textOf("<span> a</span>"), QStringLiteral("a"));
    EXPECT_EQ(textOf("&nbsp; a"), QStringLiteral("a"));
    // Inside a line they stay: an ordinary blank before one of its own.
    EXPECT_EQ(textOf("a &nbsp;b"), QStringLiteral("a  b"));
}

TEST(BodyText, EveryListedBlockElementStandsOnALineOfItsOwn)
{
    const char *blocks[] = {"address", "article", "aside",    "blockquote", "center",  "dd", "div",
                            "dl",      "dt",      "fieldset", "figure",     "footer",  "h1", "h2",
                            "h3",      "h4",      "h5",       "h6",         "header",  "li", "main",
                            "nav",     "ol",      "p",        "pre",        "section", "ul"};
    for (const char *tag : blocks) {
        const QByteArray html = QByteArray("x<") + tag + ">y</" + tag + ">z";
        EXPECT_EQ(textOf(html.constData()), QStringLiteral("x\r\ny\r\nz")) << tag;
    }
    EXPECT_EQ(textOf("x<hr>z"), QStringLiteral("x\r\nz"));
    // The parser moves text standing directly in a form out of it, so the
    // form gets an element to hold its text.
    EXPECT_EQ(textOf("x<form><b>y</b></form>z"), QStringLiteral("x\r\ny\r\nz"));
    EXPECT_EQ(textOf("x<table><caption>c</caption><thead><tr><td>h</td></tr></thead>"
                     "<tfoot><tr><td>f</td></tr></tfoot></table>z"),
              QStringLiteral("x\r\nc\r\nh\r\nf\r\nz"));
}

TEST(BodyText, InlineElementsAndCellsStayOnTheLine)
{
    EXPECT_EQ(textOf("x<span>y</span><a href=\"#\">z</a><b>w</b><font>v</font><em>u</em><label>t</label>"),
              QStringLiteral("xyzwvut"));
    EXPECT_EQ(textOf("<table><tr><td>a</td><th>b</th><td>c</td></tr></table>"), QStringLiteral("abc"));
}

TEST(BodyText, ShowsNothingOfHeadScriptsStylesTemplatesOrImages)
{
    EXPECT_EQ(textOf("<head><title>T</title><style>p{}</style></head><body>a<script>var x = 1;</script>"
                     "<img alt=pic src=x.png><style>b{}</style><noscript>n</noscript><template>t</template>b"
                     "<!-- c --></body>"),
              QStringLiteral("ab"));
}

TEST(BodyText, InboxPageReadsAsTheReplyCheckerExpects)
{
    const QString text = textOf(R"(<body>
<div id="header">
  <a href="/logout.php">ログアウト</a> <a href="/help/">ヘルプ</a>
  <a href="/rule.php">発言の注意</a>
</div>
<table class="inbox">
  <tr><th>選択</th><th>件名</th><th>送信者</th><th>日付</th><th>ロック</th></tr>
  <tr>
    <td><input type="checkbox" name="id[]" value="9"></td>
    <td><a href="/message/detail.php?id=9">Re: 集合</a></td>
    <td><a href="/user/?user_id=3">織田 信長</a></td>
    <td>2024-05-01 12:00</td>
    <td></td>
  </tr>
</table>
<div class="pager"><a href="?p=1">1</a> <a href="?p=2">2</a> <a href="?p=2">＞</a>&nbsp; <a href="?p=3">&gt;&gt;</a></div>
</body>)");
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4) << text.toStdString();
    EXPECT_EQ(lines.at(0), QStringLiteral("ログアウト ヘルプ 発言の注意"));
    EXPECT_EQ(lines.at(1), QStringLiteral("選択件名送信者日付ロック"));
    EXPECT_EQ(lines.at(2), QStringLiteral("Re: 集合 織田 信長 2024-05-01 12:00"));
    EXPECT_EQ(lines.at(3), QStringLiteral("1 2 ＞  >>"));
}

} // namespace
