#include "common/readfailure.h"
#include "site/document.h"
#include "site/membertable.h"

#include <gtest/gtest.h>

namespace {

QString row(int id, const QString &name, const QString &cells,
            const QString &rowTag = QStringLiteral("<tr class=\"fs12\">"))
{
    return rowTag +
           QStringLiteral("<td><a href=\"/user/?user_id=%1\">%2</a></td>%3</tr>\n").arg(id).arg(name, cells);
}

const QString rowA = row(501, QStringLiteral("Lord A"),
                         QStringLiteral("<td>1</td><td>100</td><td>2,000</td><td>3</td><td>盟　主</td>"));
const QString rowB = row(502, QStringLiteral("織田\"信長\""),
                         QStringLiteral("<td>2</td><td>80</td><td>1,500</td><td>0</td><td></td>"));

QString alliancePage(const QString &rows, const QString &afterTable = QString())
{
    return QStringLiteral("<!DOCTYPE html><html><head><title>同盟</title></head><body>\n<table><tbody>\n"
                          "<tr><th>名前</th></tr>\n%1</tbody></table>\n%2</body></html>")
        .arg(rows, afterTable);
}

Document page(const QString &html)
{
    return Document::fromHtml(QStringLiteral("http://w3.example.jp/alliance/info.php?id=7"), html);
}

QStringList ids(const QString &html)
{
    MemberTable table;
    ReadMemberTable(page(html), table);
    return splitMemberLines(table.ids);
}

const QStringList bothIds = {QStringLiteral("501"), QStringLiteral("502")};

} // namespace

TEST(ReadMemberTable, EachRowAddsOneLineToEveryOutputWithoutQuotesOrSpaces)
{
    QString collected;
    MemberTable table;
    ReadMemberTable(page(alliancePage(rowA + rowB)), table, &collected);
    EXPECT_EQ(table.names, QStringLiteral("LordA\r\n織田信長\r\n"));
    EXPECT_EQ(table.ids, QStringLiteral("501\r\n502\r\n"));
    EXPECT_EQ(table.cell1 + table.cell2 + table.cell3 + table.cell4,
              QStringLiteral("1\r\n2\r\n100\r\n80\r\n2,000\r\n1,500\r\n3\r\n0\r\n"));
    EXPECT_EQ(table.cell5, QStringLiteral("盟主\r\n\r\n"));
    EXPECT_TRUE(collected.startsWith(QStringLiteral("<HEAD><TITLE>同盟</TITLE></HEAD>")));
    EXPECT_TRUE(collected.endsWith(QStringLiteral("</BODY>\r\n")));

    // Nothing is cleared: a second call lists every member again.
    ReadMemberTable(page(alliancePage(rowA + rowB)), table);
    EXPECT_EQ(splitMemberLines(table.names),
              QStringList({QStringLiteral("LordA"), QStringLiteral("織田信長"), QStringLiteral("LordA"),
                           QStringLiteral("織田信長")}));
    for (const QString *output : {&table.cell1, &table.cell2, &table.cell3, &table.cell4, &table.cell5})
        EXPECT_EQ(splitMemberLines(*output).size(), 4);
}

TEST(ReadMemberTable, RowsFoundWhateverTheCaseAndMarkerFormTheEarlierFormWins)
{
    QString upper = alliancePage(rowA + rowB);
    upper.replace(QStringLiteral("tr"), QStringLiteral("TR"))
        .replace(QStringLiteral("td>"), QStringLiteral("TD>"));
    EXPECT_EQ(ids(upper), bothIds);

    // "fs12" alone is written bare (<TR class=fs12>); with a second class the
    // value is written in quotes (<TR class="fs12 odd">). Whichever form comes
    // first starts the table, so no member before the other form is lost.
    const QString quotedTag = QStringLiteral("<tr class=\"fs12 odd\">");
    const QString bareTag = QStringLiteral("<tr class=fs12>");
    const QString rowAQuoted = QString(rowA).replace(QStringLiteral("<tr class=\"fs12\">"), quotedTag);
    const QString rowBQuoted = QString(rowB).replace(QStringLiteral("<tr class=\"fs12\">"), quotedTag);
    const QString rowABare = QString(rowA).replace(QStringLiteral("<tr class=\"fs12\">"), bareTag);
    const QString rowBBare = QString(rowB).replace(QStringLiteral("<tr class=\"fs12\">"), bareTag);
    ASSERT_TRUE(page(alliancePage(rowAQuoted)).markup().contains(QStringLiteral("<TR class=\"fs12 odd\">")));
    ASSERT_TRUE(page(alliancePage(rowABare)).markup().contains(QStringLiteral("<TR class=fs12>")));
    EXPECT_EQ(ids(alliancePage(rowAQuoted + rowBBare)), bothIds);
    EXPECT_EQ(ids(alliancePage(rowABare + rowBQuoted)), bothIds);
    // Either form alone, and the marker's letter case, do not matter.
    EXPECT_EQ(ids(alliancePage(rowAQuoted + rowBQuoted)), bothIds);
    EXPECT_EQ(ids(alliancePage(
                  QString(rowAQuoted + rowBQuoted).replace(QStringLiteral("fs12"), QStringLiteral("FS12")))),
              bothIds);
    const QString upperClass = QString(rowA).replace(QStringLiteral("fs12"), QStringLiteral("FS12"));
    EXPECT_EQ(
        ids(alliancePage(upperClass + QString(rowB).replace(QStringLiteral("fs12"), QStringLiteral("Fs12")))),
        bothIds);
}

TEST(ReadMemberTable, TheMemberIdIsFoundWhateverItsLetterCase)
{
    const QString upperLink = QString(rowA).replace(QStringLiteral("user_id="), QStringLiteral("USER_ID="));
    EXPECT_EQ(ids(alliancePage(upperLink + rowB)), bothIds);
}

TEST(ReadMemberTable, OnlyTheFifthCellLosesItsFullWidthSpaces)
{
    const QString spaced =
        row(503, QStringLiteral("武田　信玄"),
            QStringLiteral("<td>一　</td><td>二　</td><td>三　</td><td>四　</td><td>五　番</td>"));
    MemberTable table;
    ReadMemberTable(page(alliancePage(spaced)), table);
    EXPECT_EQ(table.names, QStringLiteral("武田　信玄\r\n"));
    EXPECT_EQ(table.cell1 + table.cell2 + table.cell3 + table.cell4 + table.cell5,
              QStringLiteral("一　\r\n二　\r\n三　\r\n四　\r\n五番\r\n"));
}

TEST(ReadMemberTable, FirstIdOfTheRowIsTheMembersAndCellsFollowTheName)
{
    // A cell before the link is not one of the five; a later link with
    // another id= does not replace the member's.
    const QString r = QStringLiteral("<tr class=fs12><td>x</td><td><a href=\"/user/?user_id=77\">N</a></td>"
                                     "<td>1</td><td>2</td><td><a href=\"/land.php?id=9\">3</a></td>"
                                     "<td>4</td><td>5</td><td>6</td></tr>\n");
    MemberTable table;
    ReadMemberTable(page(alliancePage(r)), table);
    EXPECT_EQ(table.ids, QStringLiteral("77\r\n"));
    EXPECT_EQ(table.names, QStringLiteral("N\r\n"));
    EXPECT_EQ(table.cell1 + table.cell2 + table.cell3 + table.cell4 + table.cell5,
              QStringLiteral("1\r\n2\r\n<Ahref=/land.php?id=9>3</A>\r\n4\r\n5\r\n"));
}

TEST(ReadMemberTable, RowsAfterTheEndOfTheBodyAreNotRead)
{
    const QString rowC =
        row(503, QStringLiteral("C"), QStringLiteral("<td>3</td><td>3</td><td>3</td><td>3</td><td>3</td>"));
    const QString otherTable = QStringLiteral("<table><tbody>") + rowC + QStringLiteral("</tbody></table>");
    EXPECT_EQ(ids(alliancePage(rowA + rowB + QStringLiteral("</tbody><tbody>") + rowC, otherTable)), bothIds);
}

TEST(ReadMemberTable, TheEndOfATableWithoutABodyEndsTheRowsToo)
{
    // Rows kept in a table footer end with "</TFOOT></TABLE>", no "</TBODY>".
    const QString rowC =
        row(503, QStringLiteral("C"), QStringLiteral("<td>3</td><td>3</td><td>3</td><td>3</td><td>3</td>"));
    const QString html = QStringLiteral("<html><body><table><tfoot>%1</tfoot></table>"
                                        "<table><tbody>%2</tbody></table></body></html>")
                             .arg(rowA + rowB, rowC);
    ASSERT_TRUE(page(html).markup().contains(QStringLiteral("</TFOOT></TABLE>")));
    EXPECT_EQ(ids(html), bothIds);
}

TEST(ReadMemberTable, PageWithoutTableOrRowWithoutCellsFails)
{
    QString collected;
    MemberTable table;
    const Document sessionOut =
        page(QStringLiteral("<html><body><p>セッションが切れました</p></body></html>"));
    EXPECT_THROW(ReadMemberTable(sessionOut, table, &collected), ReadFailure);
    EXPECT_TRUE(collected.contains(QStringLiteral("セッションが切れました")));

    const QString shortRow = QString(rowA).replace(QStringLiteral("<td>3</td>"), QString());
    EXPECT_THROW(ReadMemberTable(page(alliancePage(rowB + shortRow)), table), ReadFailure);
    // The outputs stay in step: the good row is in all seven, the broken one in none.
    EXPECT_EQ(table.ids + table.cell5, QStringLiteral("502\r\n\r\n"));
}

TEST(SplitMemberLines, DropsOnlyTheEmptyTailOfTheLastLineEnd)
{
    EXPECT_EQ(splitMemberLines(QStringLiteral("a\r\n\r\nb\r\n")),
              QStringList({QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_TRUE(splitMemberLines(QString()).isEmpty());
}
