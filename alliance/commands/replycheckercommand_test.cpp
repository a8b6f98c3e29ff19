#include "alliance/commands/replycheckercommand.h"
#include "common/datafile.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/alliance/pagefixtures.h"
#include "testsupport/common/qtprinters.h"

namespace {

using PageFixtures::inboxHtml;

class ReplyCheckCommandTest : public CommandFixture
{
protected:
    QString inbox(int page) const { return kWorld + QStringLiteral("/message/inbox.php?p=%1").arg(page); }
    void writeRoster(const QString &text)
    {
        ASSERT_TRUE(DataFile::writeText(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"), text));
    }
    // The members the result names for a letter.
    QStringList run(const QString &keyword = QStringLiteral("キーワード"))
    {
        ReplyCheckCommand command(m_context, keyword);
        command.run();
        return command.addressees();
    }
};

TEST_F(ReplyCheckCommandTest, WithoutARosterItWarnsAndChangesNothing)
{
    browser().addPage(inbox(1), inboxHtml(1, 1, {{QStringLiteral("件名"), QStringLiteral("甲")}}));
    run();
    EXPECT_EQ(m_port.messages, QStringList({QStringLiteral("注意|同盟員名簿が作成されていません。")}));
    EXPECT_EQ(m_port.text, QStringLiteral("前の出力"));
    EXPECT_TRUE(browser().navigations().isEmpty());
}

TEST_F(ReplyCheckCommandTest, ReadsEveryPageThePagerCountsAndListsRepliersThenTheRest)
{
    // The roster named after the cleaned id ("7/" -> "7"), with a name that
    // comes back from its character reference.
    writeRoster(QStringLiteral("\"山田太郎\",\"1\",\"2\"\r\n\"𠮷川\",\"3\",\"4\"\r\n\"凛\",\"5\",\"6\"\r\n"));
    browser().addPage(inbox(1),
                      inboxHtml(1, 3,
                                {{QStringLiteral("Re: 出欠"), QStringLiteral("山田 太郎")},
                                 {QStringLiteral("お知らせ"), QStringLiteral("戦国OVEK運営チーム")}}));
    browser().addPage(inbox(2), inboxHtml(2, 3, {{QStringLiteral("Re: 出欠"), QStringLiteral("部外者")}}));
    browser().addPage(inbox(3), inboxHtml(3, 3, {{QStringLiteral("ご挨拶"), QStringLiteral("𠮷川")}}));
    browser().addPage(inbox(4), inboxHtml(4, 4, {{QStringLiteral("Re: 出欠"), QStringLiteral("凛")}}));
    EXPECT_EQ(run(QStringLiteral("  出欠 ")), (QStringList{QStringLiteral("𠮷川"), QStringLiteral("凛")}));
    EXPECT_EQ(m_port.text,
              QStringLiteral("★返信者リスト\r\n山田太郎\r\n部外者\r\n\r\n★未返信者リスト\r\n𠮷川\r\n凛\r\n"));
    EXPECT_EQ(browser().navigations(), QStringList({inbox(1), inbox(2), inbox(3)}));
    EXPECT_EQ(m_session.allianceId, QStringLiteral("7"));
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_EQ(m_pacer.pauses, 3);
}

TEST_F(ReplyCheckCommandTest, ReadsAtMostTenPagesEvenWhenThePagerCountsTwelve)
{
    writeRoster(QString());
    for (int p = 1; p <= 12; ++p)
        browser().addPage(inbox(p), inboxHtml(p, 9, {{QStringLiteral("件名"), QStringLiteral("将%1").arg(p)}},
                                              p == 1 ? QStringLiteral("10 11 12") : QString()));
    run();
    EXPECT_EQ(browser().navigations().size(), 10);
    EXPECT_EQ(browser().navigations().last(), inbox(10));
    EXPECT_TRUE(m_port.text.contains(QStringLiteral("\r\n将10\r\n")));
    EXPECT_TRUE(m_port.text.endsWith(
        QStringLiteral("★未返信者リスト\r\n※受信箱の 11 ページ目以降は読んでいません\r\n")))
        << "a member who answered on page 11 is listed as not replied: the output says so";
}

TEST_F(ReplyCheckCommandTest, AnEmptyInboxMakesEveryMemberANonReplierAtOnce)
{
    writeRoster(QStringLiteral("\"甲\",\"1\",\"2\"\r\n\"乙\",\"1\",\"2\"\r\n"));
    browser().addPage(inbox(1), QStringLiteral("<html><body><div>ログアウト ヘルプ 発言の注意</div>"
                                               "<h2>受信箱</h2><p>書状はありません。</p></body></html>"));
    run();
    EXPECT_EQ(browser().loadCount(inbox(1)), 1);
    EXPECT_EQ(m_port.text, QStringLiteral("★返信者リスト\r\n\r\n★未返信者リスト\r\n甲\r\n乙\r\n"));
    EXPECT_TRUE(m_port.messages.isEmpty());

    // A table whose header reads otherwise is no empty inbox: the user is
    // told, since everyone shows as a non-replier.
    browser().addPage(inbox(1),
                      PageFixtures::inboxHtml(1, 1, {{QStringLiteral("件名"), QStringLiteral("甲")}})
                          .replace(QStringLiteral("送信者"), QStringLiteral("差出人")));
    run();
    EXPECT_EQ(m_port.text, QStringLiteral("★返信者リスト\r\n\r\n★未返信者リスト\r\n甲\r\n乙\r\n"));
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(
        QStringLiteral("注意|受信箱の書状の表を読めなかったため、全員を未返信者としました。\r\n\r\n"
                       "「受信箱」のページに 書状の表の見出し「選択件名送信者日付ロック」 "
                       "が見つかりませんでした。\r\nゲームのページは表示されていたので")))
        << m_port.messages[0].toStdString();
}

TEST_F(ReplyCheckCommandTest, AFirstPageThatIsNoGamePageGivesNoResult)
{
    writeRoster(QStringLiteral("\"甲\",\"1\",\"2\"\r\n"));
    browser().addPage(inbox(1), QStringLiteral("<html><body>書状を読み込めませんでした。</body></html>"));
    EXPECT_EQ(run(), QStringList()) << "nobody to write to";
    EXPECT_EQ(browser().loadCount(inbox(1)), 5);
    EXPECT_EQ(m_port.text, QString()) << "no list claiming that nobody replied";
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages.first().startsWith(QStringLiteral("注意|受信箱を読み込めませんでした。")));
}

TEST_F(ReplyCheckCommandTest, ALaterPageLeftOutIsNamedBesideTheResult)
{
    writeRoster(QStringLiteral("\"甲\",\"1\",\"2\"\r\n\"乙\",\"1\",\"2\"\r\n"));
    browser().addPage(inbox(1), inboxHtml(1, 3, {{QStringLiteral("件名"), QStringLiteral("甲")}}));
    browser().addPage(inbox(2), QStringLiteral("<html><body>読込中</body></html>"));
    browser().addPage(inbox(3), inboxHtml(3, 3, {{QStringLiteral("件名"), QStringLiteral("乙")}}));
    run();
    EXPECT_EQ(m_port.text, QStringLiteral("★返信者リスト\r\n甲\r\n乙\r\n\r\n★未返信者リスト\r\n"));
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages.first().contains(QStringLiteral("受信箱 2ページ")));
    EXPECT_EQ(m_port.progress.first(), QStringLiteral("返信者確認 1/1"));
}

} // namespace
