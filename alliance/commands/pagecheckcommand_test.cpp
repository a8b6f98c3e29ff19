#include "alliance/commands/pagecheckcommand.h"
#include "alliance/console/consoleport.h"
#include "alliance/console/unattendedrun.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/alliance/rankingtestpages.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/site/recordingpagekeeper.h"

namespace {

const QString kMenu = QStringLiteral("<div><a>ログアウト</a> <a>ヘルプ</a> <a>発言の注意</a></div>");

class PageCheckCommandTest : public CommandFixture
{
protected:
    PageCheckCommandTest()
    {
        m_context.keeper = &m_keeper;
        const WorldConfig &world = m_session.world;
        browser().addPage(profileAddress(101), PageFixtures::lordProfilePage(
                                                   QStringLiteral("斎藤道三"), QStringLiteral("1250"),
                                                   QStringLiteral("10100"), QStringLiteral("盟主"), -12, 34));
        browser().addPage(world.allianceInfoUrl(QStringLiteral("7")),
                          PageFixtures::alliancePage({{101, QStringLiteral("斎藤道三"), QString()}}));
        for (int category = 0; category < 4; ++category)
            browser().addPage(
                world.warRankingUrl(category, 1),
                RankingTestPages::page({RankingTestPages::row(1, QStringLiteral("某"), QString(), 5)}));
        browser().addPage(world.inboxUrl(1),
                          PageFixtures::inboxHtml(1, 1, {{QStringLiteral("件名"), QStringLiteral("甲")}}));
        browser().addPage(world.newLetterUrl(), letterPage(QStringLiteral("TO")));
    }
    static QString letterPage(const QString &toId)
    {
        return QStringLiteral("<html><body>") + kMenu +
               QStringLiteral("<form><input id=SUBJECT><input id=\"%1\"><textarea id=BODY></textarea></form>"
                              "</body></html>")
                   .arg(toId);
    }
    qsizetype run()
    {
        PageCheckCommand command(m_context, m_clock);
        command.run();
        return command.unreadPages();
    }

    RecordingPageKeeper m_keeper;
};

const QStringList kFamilies{QStringLiteral("プロフィール"),     QStringLiteral("同盟情報"),
                            QStringLiteral("合戦格付（戦功）"), QStringLiteral("合戦格付（攻撃）"),
                            QStringLiteral("合戦格付（防御）"), QStringLiteral("合戦格付（総合）"),
                            QStringLiteral("受信箱"),           QStringLiteral("書状作成")};

TEST_F(PageCheckCommandTest, EveryFamilyThatReadsIsListedAsRead)
{
    EXPECT_EQ(run(), 0);
    QString expected = QStringLiteral("ページ点検 ") + m_clock.dateTimeText() + QStringLiteral("\r\n");
    for (const QString &family : kFamilies)
        expected += family + QStringLiteral("：読めました\r\n");
    EXPECT_EQ(m_port.text, expected);
    EXPECT_EQ(browser().navigations().size(), 8) << "one page of each, loaded once";
    EXPECT_EQ(m_pacer.pauses, 8);
    EXPECT_TRUE(m_keeper.kept.isEmpty());
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(PageCheckCommandTest, APageMadeOtherwiseIsNamedWithItsMarkAndKept)
{
    const WorldConfig &world = m_session.world;
    // The attack ranking without its table, the letter page without TO, the
    // alliance page an error page.
    browser().addPage(world.warRankingUrl(1, 1), RankingTestPages::page({}, {.table = false}));
    browser().addPage(world.newLetterUrl(), letterPage(QStringLiteral("ADDRESS")));
    browser().addPage(world.allianceInfoUrl(QStringLiteral("7")),
                      QStringLiteral("<html><body><h1>503 Service Unavailable</h1></body></html>"));
    EXPECT_EQ(run(), 3);
    const QStringList lines = m_port.text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(
        lines.mid(1, 8),
        (QStringList{QStringLiteral("プロフィール：点検できませんでした（同盟員の一覧が読めないため）"),
                     QStringLiteral("同盟情報：読めません（同盟員の行の印「<TR class=fs12」）"),
                     QStringLiteral("合戦格付（戦功）：読めました"),
                     QStringLiteral("合戦格付（攻撃）：読めません（格付の表の始まり「alt=攻撃国」）"),
                     QStringLiteral("合戦格付（防御）：読めました"),
                     QStringLiteral("合戦格付（総合）：読めました"), QStringLiteral("受信箱：読めました"),
                     QStringLiteral("書状作成：読めません（入力欄「TO」）")}));
    // The table, then each explanation after exactly one empty line.
    ASSERT_GT(lines.size(), 10);
    EXPECT_EQ(lines.at(9), QString());
    EXPECT_TRUE(lines.at(10).startsWith(QStringLiteral("「同盟情報」のページに")))
        << lines.at(10).toStdString();
    EXPECT_EQ(m_port.text.count(QStringLiteral("\r\n\r\n「")), 3) << m_port.text.toStdString();
    EXPECT_FALSE(m_port.text.contains(QStringLiteral("\r\n\r\n\r\n"))) << m_port.text.toStdString();
    EXPECT_TRUE(m_port.text.contains(
        QStringLiteral("「同盟情報」のページに 同盟員の行の印「<TR class=fs12」 が見つかりませんでした。\r\n"
                       "ゲームのページではなく、エラーのページか")));
    EXPECT_TRUE(m_port.text.contains(
        QStringLiteral("「合戦格付」のページに 格付の表の始まり「alt=攻撃国」 が見つかりませんでした。\r\n"
                       "ゲームのページは表示されていたので")));
    EXPECT_EQ(m_keeper.kept,
              (QStringList{QStringLiteral("alliance|") + world.allianceInfoUrl(QStringLiteral("7")),
                           QStringLiteral("ranking|") + world.warRankingUrl(1, 1),
                           QStringLiteral("letter|") + world.newLetterUrl()}));
    // A page that does not read is loaded again a bounded number of times,
    // so a slow page is not taken for a changed one.
    EXPECT_EQ(browser().loadCount(world.newLetterUrl()), 5);
}

TEST_F(PageCheckCommandTest, AnInboxAddressShowingNoGamePageIsUnreadByItsMenuLineAndTheCheckEndsWithOne)
{
    const QString pages[] = {QStringLiteral("<p>ログインしてください</p>"),
                             QStringLiteral("<p>ただいまメンテナンス中です</p>"),
                             QStringLiteral("<h1>500 Internal Server Error</h1>")};
    for (const QString &page : pages) {
        SCOPED_TRACE(page.toStdString());
        browser().addPage(m_session.world.inboxUrl(1),
                          QStringLiteral("<html><body>") + page + QStringLiteral("</body></html>"));
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        ConsolePort port(outStream, errStream, false);
        const CommandEnvironment environment{m_session, m_navigator, m_browsers, m_pacer, m_clock};
        EXPECT_EQ(UnattendedRun(environment, port)
                      .run({QStringLiteral("check-pages")}, CommandTable::defaultInputs()),
                  ExitCode::Stopped);
        EXPECT_TRUE(out.contains(
            QStringLiteral("\n受信箱：読めません（メニュー「ログアウト ヘルプ 発言の注意」）\n")))
            << out.toStdString();
        EXPECT_EQ(out.count(QStringLiteral("：読めました\n")), 7) << out.toStdString();
    }
}

} // namespace
