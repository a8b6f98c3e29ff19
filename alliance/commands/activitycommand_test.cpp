#include "alliance/commands/activitycommand.h"
#include "common/datafile.h"
#include "common/dates.h"
#include "common/readfailure.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/common/filesizelimit.h"
#include "testsupport/common/openfilelimit.h"
#include "testsupport/common/qtprinters.h"

#include <QDir>
#include <QFile>

namespace {

struct Row
{
    QString name;
    QString points;
};

const QString kTitle = QStringLiteral("同盟員活動状況");
const QString kFirstRun =
    kTitle +
    QStringLiteral("|判定不能\r\n\r\n記録データがなかったため、活動状況の推移は次回実行時には判定できます。");
const QString kAllActive =
    kTitle + QStringLiteral("|全員活動中です。前回調査と比べての全員同盟ポイントが変動しています。");
const QString kHeader = QStringLiteral("同盟ポイントに変動がなく、活動停止状態です｡ \r\n"
                                       "以下、活動停止中の同盟員・・・氏名<<同盟ポイント<<最終確認日\r\n");

class ActivityCommandTest : public CommandFixture
{
protected:
    static QString address() { return kWorld + QStringLiteral("/alliance/info.php?id=7"); }

    // The alliance page as the game lays it out: the last row's end runs
    // straight into the table's end.
    static QString page(const QList<Row> &rows)
    {
        QString html =
            QStringLiteral("<html><body><table class=\"commonTables\"><tbody><tr><th>城主名</th></tr>");
        for (qsizetype i = 0; i < rows.size(); ++i) {
            html +=
                QStringLiteral("\n<tr class=\"fs12\"><td><a href=\"/user/?user_id=%1\">%2</a></td><td>%3</td>"
                               "<td>100</td><td>5</td><td>3</td><td>一般</td></tr>")
                    .arg(i + 1)
                    .arg(rows.at(i).name, rows.at(i).points);
        }
        return html + QStringLiteral("</tbody></table></body></html>");
    }
    void serve(const QList<Row> &rows) { browser().addPage(address(), page(rows)); }

    // The members the result names for a letter.
    QStringList run()
    {
        ActivityCommand command(m_context, m_clock);
        command.run();
        return command.addressees();
    }
    QStringList runOn(QDate date)
    {
        m_clock.setDate(date);
        return run();
    }
    QString today() const { return m_clock.todayText(); }

    QString historyPath() const { return m_session.appDir + QStringLiteral("同盟ポイントDATA_7.txt"); }
    QByteArray historyBytes() const
    {
        QFile file(historyPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    QStringList historyLines() const { return DataFile::readLines(historyPath()).value; }
    void writeHistory(const QStringList &lines) { ASSERT_TRUE(DataFile::writeLines(historyPath(), lines)); }
};

TEST_F(ActivityCommandTest, TheFirstRunRecordsEveryMemberDatedTodayAndOnlySaysSo)
{
    serve({{QStringLiteral("織田 信長"), QStringLiteral("100")},
           {QStringLiteral("𠮷川"), QStringLiteral("5")},
           {QStringLiteral("ｶﾞﾗｼｬ"), QStringLiteral("0")}});
    EXPECT_EQ(run(), QStringList()) << "a first run names nobody";

    EXPECT_EQ(m_session.allianceId, QStringLiteral("7"));
    EXPECT_EQ(m_port.text, QString()) << "Text1 is emptied and stays empty";
    EXPECT_EQ(m_port.messages, QStringList({kFirstRun}));
    // Built by hand: code page 932, "%" between the fields, 𠮷 as its
    // reference, every line ended by CR LF and nothing after the last.
    const QByteArray day = today().toLatin1();
    EXPECT_EQ(historyBytes(), QByteArray("\x90\x44\x93\x63 \x90\x4d\x92\xb7%100%") + day +
                                  QByteArray("\r\n&#134071;\x90\xec%5%") + day +
                                  QByteArray("\r\n\xb6\xde\xd7\xbc\xac%0%") + day + QByteArray("\r\n"));
    EXPECT_EQ(browser().loadCount(address()), 1);
    EXPECT_EQ(m_pacer.pauses, 0) << "one page, loaded once: nothing to pace";
    EXPECT_EQ(m_port.hourglassDepth, 0);
}

TEST_F(ActivityCommandTest, WhenEveryMembersPointsMovedAllAreActiveAndDatedTheNewDay)
{
    serve({{QStringLiteral("甲"), QStringLiteral("10")}, {QStringLiteral("乙"), QStringLiteral("20")}});
    runOn(QDate(2024, 4, 1));
    serve({{QStringLiteral("甲"), QStringLiteral("11")}, {QStringLiteral("乙"), QStringLiteral("0")}});
    m_port.text = QStringLiteral("前の出力");
    runOn(QDate(2024, 4, 2));

    EXPECT_EQ(m_port.messages, QStringList({kFirstRun, kAllActive}));
    EXPECT_EQ(m_port.text, QString());
    EXPECT_EQ(historyLines(),
              QStringList({QStringLiteral("甲%11%") + today(), QStringLiteral("乙%0%") + today()}));
}

TEST_F(ActivityCommandTest, UnchangedMembersAreListedWithTheirDayAndKeepItJoinersAndLeaversAreNot)
{
    writeHistory({
        QStringLiteral("甲%100%2024/03/29"),
        QStringLiteral("  乙%200%2024/03/29  "),
        QStringLiteral("壊れた行"),
        QStringLiteral("二つ%だけ"),
        QStringLiteral("丙%300%2024/03/15"),
        QStringLiteral("去った%1%2024/03/29"),
        QStringLiteral("甲%999%2024/03/01"),
    });
    serve({{QStringLiteral("甲"), QStringLiteral("100")},
           {QStringLiteral("丙"), QStringLiteral("301")},
           {QStringLiteral("新人"), QStringLiteral("5")},
           {QStringLiteral("乙"), QStringLiteral("200")}});
    EXPECT_EQ(runOn(QDate(2024, 4, 1)), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));

    EXPECT_EQ(m_port.text, QStringLiteral("2人の同盟員が、前回調査時より、\r\n") + kHeader +
                               QStringLiteral("甲<<100<<2024/03/29\r\n乙<<200<<2024/03/29\r\n"));
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.messages.join(u'\n').toStdString();
    EXPECT_EQ(historyLines(),
              QStringList({QStringLiteral("甲%100%2024/03/29"), QStringLiteral("丙%301%") + today(),
                           QStringLiteral("新人%5%") + today(), QStringLiteral("乙%200%2024/03/29")}));
}

TEST_F(ActivityCommandTest, ASecondRunOnTheSameDayListsNobodyWhosePointsMovedEarlierThatDay)
{
    writeHistory({QStringLiteral("甲%10%2024/03/29"), QStringLiteral("乙%20%2024/03/29")});
    serve({{QStringLiteral("甲"), QStringLiteral("11")}, {QStringLiteral("乙"), QStringLiteral("20")}});
    runOn(QDate(2024, 4, 1));
    EXPECT_EQ(m_port.text, QStringLiteral("1人の同盟員が、前回調査時より、\r\n") + kHeader +
                               QStringLiteral("乙<<20<<2024/03/29\r\n"));
    run();
    EXPECT_EQ(m_port.text, QStringLiteral("1人の同盟員が、前回調査時より、\r\n") + kHeader +
                               QStringLiteral("乙<<20<<2024/03/29\r\n"))
        << "甲 moved today: the second run of the day does not call him inactive";
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(ActivityCommandTest, NamesTheCodePageLacksOrThatHoldTheSeparatorCompareEqualAcrossRuns)
{
    // A file with the reference as the file helper writes it.
    ASSERT_TRUE(DataFile::writeBytes(historyPath(), QByteArray("&#134071;\x90\xec%5%2024/03/29\r\n")));
    serve({{QStringLiteral("𠮷川"), QStringLiteral("5")}, {QStringLiteral("50%組"), QStringLiteral("7")}});
    runOn(QDate(2024, 4, 1));
    EXPECT_EQ(m_port.text, QStringLiteral("1人の同盟員が、前回調査時より、\r\n") + kHeader +
                               QStringLiteral("𠮷川<<5<<2024/03/29\r\n"));
    EXPECT_TRUE(historyBytes().startsWith("&#134071;\x90\xec%5%2024/03/29\r\n50&#37;"));

    runOn(QDate(2024, 4, 2));
    EXPECT_TRUE(m_port.text.endsWith(QStringLiteral("𠮷川<<5<<2024/03/29\r\n50%組<<7<<") +
                                     QStringLiteral("%1\r\n").arg(Dates::shortDate(QDate(2024, 4, 1)))))
        << m_port.text.toStdString();
}

TEST_F(ActivityCommandTest, AThousandRecordsAreNoLimit)
{
    QList<Row> rows;
    for (int i = 1; i <= 1200; ++i)
        rows.append({QStringLiteral("将%1").arg(i), QString::number(i)});
    serve(rows);
    runOn(QDate(2024, 4, 1));
    EXPECT_EQ(historyLines().size(), 1200);
    runOn(QDate(2024, 4, 2));
    EXPECT_TRUE(m_port.text.startsWith(QStringLiteral("1200人の同盟員が")))
        << m_port.text.left(40).toStdString();
    EXPECT_TRUE(m_port.text.endsWith(
        QStringLiteral("将1200<<1200<<%1\r\n").arg(Dates::shortDate(QDate(2024, 4, 1)))));
}

TEST_F(ActivityCommandTest, APageThatNeverShowsTheMemberListIsLoadedAFewTimesAPauseApartThenTold)
{
    writeHistory({QStringLiteral("甲%10%2024/03/29")});
    const QByteArray before = historyBytes();
    // The rows come, but the table's end after them never does.
    browser().addPage(address(), page({{QStringLiteral("甲"), QStringLiteral("10")}})
                                     .replace(QStringLiteral("</tbody>"), QStringLiteral("\n</tbody>")));
    run();

    EXPECT_EQ(browser().loadCount(address()), ActivityCommand::kAlliancePageLoads);
    EXPECT_EQ(m_pacer.pauses, ActivityCommand::kAlliancePageLoads - 1)
        << "a pause before every load but the first";
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(kTitle + QStringLiteral("|同盟ページを5回読み込みましたが、")))
        << m_port.messages[0].toStdString();
    EXPECT_EQ(historyBytes(), before);
    EXPECT_EQ(m_port.text, QString());
}

TEST_F(ActivityCommandTest, APageThatShowsTheMemberListAtItsThirdLoadIsRead)
{
    browser().addPage(address(), QStringLiteral("<html><body>読込中</body></html>"));
    m_pacer.onPause = [this] {
        if (m_pacer.pauses == 2)
            serve({{QStringLiteral("甲"), QStringLiteral("10")}});
    };
    run();
    EXPECT_EQ(browser().loadCount(address()), 3);
    EXPECT_EQ(m_port.messages, QStringList({kFirstRun}));
    EXPECT_EQ(historyLines(), QStringList({QStringLiteral("甲%10%") + today()}));
}

TEST_F(ActivityCommandTest, AnUnreadableRowStopsTheRunWithTheFileAsItWas)
{
    writeHistory({QStringLiteral("甲%10%2024/03/29")});
    const QByteArray before = historyBytes();
    browser().addPage(address(), page({{QStringLiteral("甲"), QStringLiteral("10")},
                                       {QStringLiteral("乙"), QStringLiteral("20")}})
                                     .replace(QStringLiteral("user_id=2"), QStringLiteral("id=2")));
    EXPECT_THROW(run(), ReadFailure) << "the runner tells the user why";
    EXPECT_EQ(historyBytes(), before);
    EXPECT_EQ(m_port.text, QString());
}

TEST_F(ActivityCommandTest, ARecordThatCannotBeReadIsToldAndLeftAsItWas)
{
    // Read as a first run, this record would date every member anew.
    writeHistory({QStringLiteral("甲%10%2024/03/29"), QStringLiteral("乙%20%2024/03/30")});
    const QByteArray before = historyBytes();
    serve({{QStringLiteral("甲"), QStringLiteral("10")}, {QStringLiteral("乙"), QStringLiteral("21")}});
    {
        OpenFileLimit noFileOpens;
        runOn(QDate(2024, 4, 1));
    }
    EXPECT_EQ(historyBytes(), before);
    ASSERT_EQ(m_port.messages.size(), 1) << m_port.messages.join(u'\n').toStdString();
    const QString &message = m_port.messages.first();
    EXPECT_TRUE(message.startsWith(
        kTitle + QStringLiteral("|同盟員の活動記録を読めませんでした。記録は前のままです。")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(historyPath().section(u'/', -1))) << "with the file and the system's reason";
    EXPECT_FALSE(message.contains(QStringLiteral("全員活動中")));
    EXPECT_EQ(m_port.text, QString()) << "no list from a record that was not read";
}

TEST_F(ActivityCommandTest, AFailedWriteKeepsThePreviousFileByteForByteAndSaysSo)
{
    writeHistory({QStringLiteral("甲%10%2024/03/29")});
    const QByteArray before = historyBytes();
    QList<Row> rows{{QStringLiteral("甲"), QStringLiteral("10")}};
    for (int i = 1; i <= 20; ++i)
        rows.append({QStringLiteral("将%1").arg(i), QString::number(i)});
    serve(rows);

    // The file may not grow past 64 bytes: the disk is as good as full.
    {
        FileSizeLimit fullDisk;
        runOn(QDate(2024, 4, 1));
    }

    EXPECT_EQ(historyBytes(), before);
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(
        m_port.messages[0].startsWith(kTitle + QStringLiteral("|同盟員の活動記録を保存できませんでした。")))
        << m_port.messages[0].toStdString();
    EXPECT_TRUE(m_port.text.contains(QStringLiteral("甲<<10<<2024/03/29"))) << "the report is still shown";
}

TEST_F(ActivityCommandTest, AFirstRunThatCannotSaveSaysSoInsteadOfPromisingTheNextRun)
{
    // Something that is not a file stands where the history file goes.
    ASSERT_TRUE(QDir().mkpath(historyPath()));
    serve({{QStringLiteral("甲"), QStringLiteral("10")}});
    run();
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(
        m_port.messages[0].startsWith(kTitle + QStringLiteral("|同盟員の活動記録を保存できませんでした。")))
        << m_port.messages[0].toStdString();
    EXPECT_EQ(m_port.text, QString());
}

} // namespace
