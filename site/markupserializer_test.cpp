#include "site/document.h"

#include <gtest/gtest.h>

namespace {

QString markupOf(const char *html)
{
    return Document::fromHtml(QString(), QString::fromUtf8(html)).markup();
}

// The markup between <BODY> and </BODY>, where most cases put their content.
QString bodyMarkupOf(const char *html)
{
    const QString markup = markupOf(html);
    const qsizetype begin = markup.indexOf(QStringLiteral("<BODY>")) + 6;
    return markup.mid(begin, markup.lastIndexOf(QStringLiteral("</BODY>")) - begin);
}

TEST(MarkupSerializer, WritesUpperCaseTagsEndTagsAndVoidElementsWithoutEndTag)
{
    EXPECT_EQ(
        bodyMarkupOf("<div><p>x<br>y</p><my-widget>z</my-widget><img src=a.png><hr><input name=q></div>"),
        QStringLiteral("<DIV><P>x<BR>y</P><MY-WIDGET>z</MY-WIDGET><IMG src=a.png><HR><INPUT name=q></DIV>"));
}

TEST(MarkupSerializer, ShowsElementsTheParserInsertsAndLeavesOutTheDoctype)
{
    EXPECT_EQ(markupOf("<!DOCTYPE html><title>t</title><table><tr><td>1</td></tr></table>"),
              QStringLiteral("<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY>"
                             "<TABLE><TBODY><TR><TD>1</TD></TR></TBODY></TABLE></BODY></HTML>"));
}

TEST(MarkupSerializer, WritesValuesBareOnlyWhenMadeOfLettersDigitsAndDashUnderscoreDot)
{
    const QString markup = bodyMarkupOf(
        "<tr class=\"fs12\"></tr><img alt=\"城主名\" width=\"100\"><span id=\"lordName\" data-k=\"a-b_c.d\" "
        "title=\"𠮷野\"></span><a href=\"/user/?user_id=3\"></a><div class=\"sideBoxInner basename\"></div>"
        "<input value=\"\" disabled>");
    EXPECT_TRUE(markup.contains(QStringLiteral("<IMG alt=城主名 width=100>")));
    EXPECT_TRUE(markup.contains(QStringLiteral("<SPAN id=lordName data-k=a-b_c.d title=𠮷野>")));
    EXPECT_TRUE(markup.contains(QStringLiteral("<A href=\"/user/?user_id=3\">")));
    EXPECT_TRUE(markup.contains(QStringLiteral("<DIV class=\"sideBoxInner basename\">")));
    EXPECT_TRUE(markup.contains(QStringLiteral("<INPUT value=\"\" disabled=\"\">")));
    // A TR outside a table is dropped by the parser; inside one it keeps its bare class.
    EXPECT_TRUE(bodyMarkupOf("<table><tr class=\"fs12\"><td>x</td></tr></table>")
                    .contains(QStringLiteral("<TR class=fs12><TD>")));
}

TEST(MarkupSerializer, KeepsAttributesInSourceOrderWithNamesAsParsed)
{
    EXPECT_EQ(bodyMarkupOf("<P ID=b Class=a style='color: red'>x</P>"),
              QStringLiteral("<P id=b class=a style=\"color: red\">x</P>"));
}

TEST(MarkupSerializer, EscapesAmpersandAndQuoteInValuesAndMarkupCharactersInText)
{
    EXPECT_EQ(
        bodyMarkupOf(
            "<a href=\"/land.php?x=1&amp;y=2\" title='say \"hi\"'>a &amp; b &lt;c&gt; 5 > 3&nbsp;x</a>"),
        QStringLiteral("<A href=\"/land.php?x=1&amp;y=2\" title=\"say &quot;hi&quot;\">"
                       "a &amp; b &lt;c&gt; 5 &gt; 3&nbsp;x</A>"));
    // A raw ampersand in the source reads as the same character.
    EXPECT_EQ(bodyMarkupOf("<a href=/a?b=1&c=2>x</a>"), QStringLiteral("<A href=\"/a?b=1&amp;c=2\">x</A>"));
}

TEST(MarkupSerializer, KeepsScriptAndStyleVerbatimAndCommentsAndWhitespace)
{
    EXPECT_EQ(bodyMarkupOf("<body><script>if (a < b && c > d) x = \"&amp;\";</script>"
                           "<style>p > a { content: \"&\"; }</style>"),
              QStringLiteral("<SCRIPT>if (a < b && c > d) x = \"&amp;\";</SCRIPT>"
                             "<STYLE>p > a { content: \"&\"; }</STYLE>"));
    EXPECT_EQ(bodyMarkupOf("<ul>\n  <li>a</li>\n\t<!-- 次の頁 -->\n</ul>"),
              QStringLiteral("<UL>\n  <LI>a</LI>\n\t<!-- 次の頁 -->\n</UL>"));
}

} // namespace
