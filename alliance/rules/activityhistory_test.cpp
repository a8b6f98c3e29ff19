#include "alliance/rules/activityhistory.h"
#include "common/readfailure.h"
#include "site/document.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

// Readable failures: found by argument-dependent lookup.
static void PrintTo(const ActivityRecord &record, std::ostream *out)
{
    *out << '{' << record.name.toStdString() << '%' << record.points.toStdString() << '%'
         << record.date.toStdString() << '}';
}

namespace {

using namespace ActivityHistory;

// An alliance page as the game lays it out: a header link to the leader
// before the member list, one row per member, and the last row's end run
// straight into the table's end.
QString alliancePage(const QStringList &rows, const QString &tableEnd = QStringLiteral("</tbody></table>"))
{
    return QStringLiteral(
               "<html><body><table><tr><th>代表</th><td><a href=\"/user/?user_id=9\">盟主</a>"
               "</td></tr></table>\n<table class=\"commonTables\"><tbody><tr><th>城主名</th></tr>\n") +
           rows.join(QStringLiteral("\n")) + tableEnd + QStringLiteral("</body></html>");
}

QString row(int id, const QString &name, const QString &points)
{
    return QStringLiteral("<tr class=\"fs12\"><td><a href=\"/user/?user_id=%1\" title=\"城主\">%2</a></td>"
                          "<td>%3</td><td>1200</td><td>5</td><td>3</td><td>一般</td></tr>")
        .arg(id)
        .arg(name, points);
}

QList<ActivityRecord> readPage(const QString &html)
{
    return readMemberRows(memberRowsMarkup(Document::fromHtml(QStringLiteral("http://w3.test/"), html)));
}

TEST(ActivityRows, ReadsEveryRowsNameAndPointsInPageOrder)
{
    const QList<ActivityRecord> members =
        readPage(alliancePage({row(1, QStringLiteral("  真田 昌輝 "), QStringLiteral(" 1,234 ")),
                               row(2, QStringLiteral("A&B"), QStringLiteral("0")),
                               row(3, QStringLiteral("𠮷川"), QStringLiteral("-5"))}));
    // Names as the markup has them: inner blanks kept, "&" as "&amp;".
    const QList<ActivityRecord> expected{
        {QStringLiteral("真田 昌輝"), QStringLiteral("1,234"), QString(), QStringLiteral("1")},
        {QStringLiteral("A&amp;B"), QStringLiteral("0"), QString(), QStringLiteral("2")},
        {QStringLiteral("𠮷川"), QStringLiteral("-5"), QString(), QStringLiteral("3")}};
    EXPECT_EQ(members, expected);
}

TEST(ActivityRows, TheRowsRunFromTheFirstMarkerToTheTablesEndWithoutQuotes)
{
    const Document page =
        Document::fromHtml(QStringLiteral("http://w3.test/"),
                           alliancePage({row(1, QStringLiteral("甲"), QStringLiteral("10")),
                                         row(2, QStringLiteral("乙"), QStringLiteral("20"))}));
    const QString rows = memberRowsMarkup(page);
    EXPECT_TRUE(rows.startsWith(QStringLiteral("<TR class=fs12><TD><A href=/user/?user_id=1 title=城主>甲")))
        << rows.toStdString();
    EXPECT_TRUE(rows.endsWith(QStringLiteral("<TD>一般<"))) << "up to the \"<\" of the table's end";
    EXPECT_FALSE(rows.contains(u'"'));
    EXPECT_EQ(rows.count(QStringLiteral("<TR class=fs12")), 2);
}

TEST(ActivityRows, APageWithoutTheRowsOrTheTablesEndGivesNothing)
{
    const QStringList rows{row(1, QStringLiteral("甲"), QStringLiteral("10"))};
    // A blank between the last row and the table's end: the end is not found.
    EXPECT_TRUE(memberRowsMarkup(
                    Document::fromHtml(QString(), alliancePage(rows, QStringLiteral("\n</tbody></table>"))))
                    .isEmpty());
    EXPECT_TRUE(memberRowsMarkup(Document::fromHtml(QString(), alliancePage({}))).isEmpty());
    EXPECT_TRUE(
        memberRowsMarkup(Document::fromHtml(QString(), QStringLiteral("<html><body>読込中</body></html>")))
            .isEmpty());
    EXPECT_THROW(readMemberRows(QString()), ReadFailure) << "no member list to write back";
}

TEST(ActivityRows, TheMarkersAreFoundWhateverTheirLetterCaseButRowsSplitOnlyAtTheExactMarker)
{
    // A comment keeps its text as written: the lower-case marker in it is
    // where the rows begin, but only the exact marker starts a row.
    const QString html = QStringLiteral("<html><body><!-- <tr class=fs12 --><table><tbody>") +
                         row(1, QStringLiteral("甲"), QStringLiteral("10")) +
                         QStringLiteral("</tbody></table></body></html>");
    const QString rows = memberRowsMarkup(Document::fromHtml(QString(), html));
    EXPECT_TRUE(rows.startsWith(QStringLiteral("<tr class=fs12 -->"))) << rows.toStdString();
    EXPECT_EQ(readMemberRows(rows), QList<ActivityRecord>({{QStringLiteral("甲"), QStringLiteral("10"),
                                                            QString(), QStringLiteral("1")}}));

    // Inside a row every search ignores letter case.
    const QString mixedCase =
        QStringLiteral("<TR class=fs12><td><a href=/user/?USER_ID=4>丙</a></td><td class=x>7</td>"
                       "<td>30</td></td><tr class=fs12>");
    EXPECT_EQ(readMemberRows(mixedCase), QList<ActivityRecord>({{QStringLiteral("丙"), QStringLiteral("30"),
                                                                 QString(), QStringLiteral("4")}}))
        << "the first plain <TD> after the name holds the points; a lower-case marker starts no row";
}

TEST(ActivityRows, ARowWithoutItsLinkNameOrPointsFailsTheRead)
{
    const QString good = QStringLiteral("<TR class=fs12><TD><A href=/user/?user_id=1>甲</A></TD><TD>10</TD>");
    EXPECT_EQ(readMemberRows(good).size(), 1);
    const QStringList broken{
        QStringLiteral("<TR class=fs12><TD><A href=/user/?id=1>甲</A></TD><TD>10</TD>"),
        QStringLiteral("<TR class=fs12><TD><A href=/user/?user_id=1>甲</TD><TD>10</TD>"),
        QStringLiteral("<TR class=fs12><TD><A href=/user/?user_id=1>甲</A></TD><TH>10</TH>"),
        QStringLiteral("<TR class=fs12><TD><A href=/user/?user_id=1>甲</A></TD><TD>10"),
    };
    for (const QString &bad : broken) {
        try {
            readMemberRows(good + bad);
            ADD_FAILURE() << "read without failing: " << bad.toStdString();
        } catch (const ReadFailure &failure) {
            EXPECT_TRUE(failure.message().contains(QStringLiteral("2行目")))
                << failure.message().toStdString();
        }
    }
}

TEST(ActivityFile, ReadingTrimsBlanksAndSkipsLinesThatCannotBeARecord)
{
    const QList<ActivityRecord> records = parseHistory({
        QStringLiteral("  織田 信長%100%2024/03/01  "),
        QStringLiteral("壊れた行"),
        QStringLiteral("二つ%だけ"),
        QString(),
        QStringLiteral("四つ%1%2024/03/02%余り"),
        QStringLiteral("50&#37;組%7%2024/03/03"),
        QStringLiteral("\u3000全角%8%2024/03/04"),
    });
    const QList<ActivityRecord> expected{
        {QStringLiteral("織田 信長"), QStringLiteral("100"), QStringLiteral("2024/03/01")},
        {QStringLiteral("四つ"), QStringLiteral("1"), QStringLiteral("2024/03/02")},
        {QStringLiteral("50%組"), QStringLiteral("7"), QStringLiteral("2024/03/03")},
        {QStringLiteral("\u3000全角"), QStringLiteral("8"), QStringLiteral("2024/03/04")},
    };
    EXPECT_EQ(records, expected);
}

TEST(ActivityFile, WritingGivesOneLinePerRecordAndReadsBackTheSame)
{
    const QList<ActivityRecord> records{
        {QStringLiteral("甲"), QStringLiteral("100"), QStringLiteral("2024/03/01")},
        {QStringLiteral("50%組"), QStringLiteral("7"), QStringLiteral("2024/03/03")},
        {QStringLiteral("𠮷川"), QStringLiteral("0"), QStringLiteral("2024/03/04")},
    };
    const QStringList lines = formatHistory(records);
    EXPECT_EQ(lines,
              QStringList({QStringLiteral("甲%100%2024/03/01"), QStringLiteral("50&#37;組%7%2024/03/03"),
                           QStringLiteral("𠮷川%0%2024/03/04")}));
    EXPECT_EQ(parseHistory(lines), records);
    EXPECT_EQ(fileName(QStringLiteral("2581")), QStringLiteral("同盟ポイントDATA_2581.txt"));
}

TEST(ActivityComparison, AMemberKeepsTheDateOnlyWhileNameAndPointsMatchTheFirstRecord)
{
    const QString today = QStringLiteral("2024/04/04");
    const QList<ActivityRecord> previous{
        {QStringLiteral("太郎"), QStringLiteral("100"), QStringLiteral("2024/03/01")},
        {QStringLiteral("花子"), QStringLiteral("50"), QStringLiteral("2024/03/02")},
        {QStringLiteral("太郎"), QStringLiteral("999"), QStringLiteral("2024/02/01")},
        {QStringLiteral("abc"), QStringLiteral("7"), QStringLiteral("2024/03/01")},
        {QStringLiteral("次郎"), QStringLiteral("999"), QStringLiteral("2024/03/05")},
        {QStringLiteral("次郎"), QStringLiteral("30"), QStringLiteral("2024/02/01")},
        {QStringLiteral("去った"), QStringLiteral("1"), QStringLiteral("2024/03/01")},
    };
    const QList<ActivityRecord> current{
        {QStringLiteral("太郎"), QStringLiteral("100"), QString()},
        {QStringLiteral("花子"), QStringLiteral("51"), QString()},
        {QStringLiteral("新人"), QStringLiteral("5"), QString()},
        {QStringLiteral("ABC"), QStringLiteral("7"), QString()},
        {QStringLiteral("次郎"), QStringLiteral("30"), QString()},
    };
    const QList<ActivityRecord> expected{
        {QStringLiteral("太郎"), QStringLiteral("100"), QStringLiteral("2024/03/01")},
        {QStringLiteral("花子"), QStringLiteral("51"), today},
        {QStringLiteral("新人"), QStringLiteral("5"), today},
        {QStringLiteral("ABC"), QStringLiteral("7"), today},
        {QStringLiteral("次郎"), QStringLiteral("30"), today},
    };
    EXPECT_EQ(dateMembers(current, previous, today), expected);
    EXPECT_EQ(dateMembers(current, {}, today).constLast().date, today);
}

TEST(ActivityReport, ListsTheMembersNotDatedTodayUnderTheThreeHeaderLines)
{
    const QString today = QStringLiteral("2024/04/04");
    const QStringList lines =
        inactiveLines({{QStringLiteral("甲"), QStringLiteral("1"), QStringLiteral("2024/03/01")},
                       {QStringLiteral("乙"), QStringLiteral("2"), today},
                       {QStringLiteral("丙"), QStringLiteral("3"), QStringLiteral("2024/04/03")}},
                      today);
    EXPECT_EQ(lines, QStringList({QStringLiteral("甲<<1<<2024/03/01"), QStringLiteral("丙<<3<<2024/04/03")}));
    EXPECT_EQ(inactiveReport(lines),
              QStringLiteral("2人の同盟員が、前回調査時より、\r\n"
                             "同盟ポイントに変動がなく、活動停止状態です｡ \r\n"
                             "以下、活動停止中の同盟員・・・氏名<<同盟ポイント<<最終確認日\r\n"
                             "甲<<1<<2024/03/01\r\n"
                             "丙<<3<<2024/04/03\r\n"));
    EXPECT_TRUE(inactiveReport(QStringList(12, QStringLiteral("x"))).startsWith(QStringLiteral("12人の")));
}

} // namespace
