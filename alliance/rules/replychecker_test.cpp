#include "alliance/rules/replychecker.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

namespace {

using namespace ReplyChecker;

const QString kHeader = QStringLiteral("選択件名送信者日付ロック");

QString row(const QString &subject, const QString &sender)
{
    return subject + u' ' + sender + QStringLiteral(" 2024/04/01 21:30");
}

QString lines(const QStringList &list)
{
    return list.join(QStringLiteral("\r\n"));
}

TEST(ReplyCheckerKeyword, OnlyATextOtherThanThePlaceholderIsInForce)
{
    EXPECT_EQ(trimmedKeyword(QStringLiteral("  出欠　 ")), QStringLiteral("出欠　"))
        << "only ASCII blanks are trimmed";
    EXPECT_FALSE(keywordInForce(QStringLiteral("キーワード")));
    EXPECT_FALSE(keywordInForce(QString()));
    EXPECT_TRUE(keywordInForce(QStringLiteral("キーワード2")));
    EXPECT_TRUE(keywordInForce(QStringLiteral("出欠")));
}

TEST(ReplyCheckerPager, ThePageCountIsTheWholeNumberBeforeTheArrow)
{
    EXPECT_EQ(pageCountOfPager(QStringLiteral("1 2 3 ＞  >>")), 3);
    EXPECT_EQ(pageCountOfPager(QStringLiteral("1 2 … 12 ＞  >>")), 12);
    EXPECT_EQ(pageCountOfPager(QStringLiteral("  7  ＞  >>")), 7);
    EXPECT_EQ(pageCountOfPager(QStringLiteral("次へ ＞  >>")), 0);
    EXPECT_EQ(pageCountOfPager(QStringLiteral("＞  >>")), 0);
}

TEST(ReplyCheckerPage, ReadsRowsBetweenTheHeaderAndThePager)
{
    const QString body = lines({QStringLiteral("受信箱"), QStringLiteral("前置き 山田 2024/04/01 10:00"),
                                kHeader, QStringLiteral("  件名A 武田信玄 2024/04/01 21:30 "),
                                QStringLiteral("件名B 凛 2024/04/01 20:00"), QStringLiteral("1 2 3 4 ＞  >>"),
                                QStringLiteral("件名C 後ろ 2024/04/01 19:00")});
    const InboxPage first = readInboxPage(body, InboxPageKind::First);
    EXPECT_TRUE(first.hasLetterTable);
    EXPECT_EQ(first.letterRows, QStringList({QStringLiteral("件名A 武田信玄 2024/04/01 21:30"),
                                             QStringLiteral("件名B 凛 2024/04/01 20:00")}));
    EXPECT_EQ(first.lastPageLink, 4);
    const InboxPage later = readInboxPage(body, InboxPageKind::Later);
    EXPECT_EQ(later.letterRows.size(), 2) << "a later page's onward pager also ends the page";
    EXPECT_FALSE(later.lastPageLink.has_value()) << "only the first page gives the count";

    const InboxPage last =
        readInboxPage(lines({kHeader, QStringLiteral("件名 甲 2024/04/01 10:00"),
                             QStringLiteral("<<  ＜ 1 2 3 4"), QStringLiteral("件名 乙 2024/04/01 09:00")}),
                      InboxPageKind::Later);
    EXPECT_EQ(last.letterRows, QStringList({QStringLiteral("件名 甲 2024/04/01 10:00")}));
    const InboxPage onlyBack = readInboxPage(
        lines({kHeader, QStringLiteral("<< 戻る"), QStringLiteral("＜ 印")}), InboxPageKind::Later);
    EXPECT_EQ(onlyBack.letterRows.size(), 2) << "both back arrows on one line make the pager";
}

TEST(ReplyCheckerPage, AOnePageInboxIsReadToItsEndAndAPageWithoutTableHasNoRows)
{
    const InboxPage one = readInboxPage(
        lines({kHeader, QStringLiteral("a 甲 d t"), QStringLiteral("b 乙 d t"), QStringLiteral("c 丙 d t")}),
        InboxPageKind::First);
    EXPECT_EQ(one.letterRows.size(), 3);
    EXPECT_FALSE(one.lastPageLink.has_value());
    EXPECT_FALSE(one.isGamePage) << "no menu line";
    const InboxPage none =
        readInboxPage(lines({QStringLiteral("書状を読み込めませんでした。")}), InboxPageKind::First);
    EXPECT_FALSE(none.hasLetterTable);
    EXPECT_FALSE(none.isGamePage);
    EXPECT_TRUE(none.letterRows.isEmpty());
    const InboxPage empty =
        readInboxPage(lines({QStringLiteral("ログアウトヘルプ発言の注意"), QStringLiteral("受信箱")}),
                      InboxPageKind::First);
    EXPECT_TRUE(empty.isGamePage);
    EXPECT_FALSE(empty.hasLetterTable);
}

TEST(ReplyCheckerPage, UnreadPagesAreNotedOnlyPastTheTenRead)
{
    EXPECT_EQ(unreadPagesNote(1), QString());
    EXPECT_EQ(unreadPagesNote(10), QString());
    EXPECT_EQ(unreadPagesNote(11), QStringLiteral("※受信箱の 11 ページ目以降は読んでいません"));
    EXPECT_EQ(unreadPagesNote(250), QStringLiteral("※受信箱の 11 ページ目以降は読んでいません"));
}

TEST(ReplyCheckerTally, ListsEachSenderOnceAndTheOthersInRosterOrder)
{
    ReplyTally tally({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙"), QStringLiteral("乙"),
                      QStringLiteral("丁")},
                     QStringLiteral("キーワード"));
    tally.addRow(row(QStringLiteral("Re: 件名"), QStringLiteral("丙")));
    tally.addRow(row(QStringLiteral("【運営】お知らせ"), QStringLiteral("戦国OVEK運営チーム")));
    tally.addRow(row(QStringLiteral("二通目"), QStringLiteral("丙")));
    tally.addRow(row(QStringLiteral("ご挨拶"), QStringLiteral("部外者")));
    tally.addRow(row(QStringLiteral("件名"), QStringLiteral("甲")));
    tally.addRow(QStringLiteral("2024/04/01 21:30"));
    tally.addRow(QStringLiteral("件名  2024/04/01 21:30"));
    EXPECT_EQ(tally.resultText(),
              QStringLiteral("★返信者リスト\r\n丙\r\n部外者\r\n甲\r\n\r\n★未返信者リスト\r\n乙\r\n丁\r\n"));
}

TEST(ReplyCheckerTally, AKeywordCountsOnlyRowsHoldingItExactly)
{
    ReplyTally tally({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")},
                     QStringLiteral("Re:"));
    tally.addRow(row(QStringLiteral("re: 小文字"), QStringLiteral("甲")));
    tally.addRow(row(QStringLiteral("Re: 出欠"), QStringLiteral("乙")));
    tally.addRow(row(QStringLiteral("ご挨拶"), QStringLiteral("丙")));
    EXPECT_EQ(tally.repliers(), QStringList({QStringLiteral("乙")}));
    EXPECT_TRUE(tally.resultText().endsWith(QStringLiteral("★未返信者リスト\r\n甲\r\n丙\r\n")));

    ReplyTally emptied({}, QString());
    emptied.addRow(row(QStringLiteral("ご挨拶"), QStringLiteral("丙")));
    EXPECT_EQ(emptied.repliers(), QStringList({QStringLiteral("丙")}));
}

TEST(ReplyCheckerTally, AnEmptyRosterEndsWithTheNonReplierHeader)
{
    ReplyTally tally({}, QStringLiteral("キーワード"));
    EXPECT_EQ(tally.resultText(), QStringLiteral("★返信者リスト\r\n\r\n★未返信者リスト\r\n"));
}

TEST(ReplyCheckerTally, ASenderWithABlankIsTheRosterMemberWithoutIt)
{
    ReplyTally tally({QStringLiteral("山田太郎"), QStringLiteral("佐々木小次郎"), QStringLiteral("田中")},
                     QStringLiteral("キーワード"));
    EXPECT_EQ(tally.senderOf(row(QStringLiteral("Re: 出欠"), QStringLiteral("山田 太郎"))),
              QStringLiteral("山田太郎"));
    // Whole words only: the last word is not a roster name's end.
    EXPECT_EQ(tally.senderOf(row(QStringLiteral("件名"), QStringLiteral("小次郎"))),
              QStringLiteral("小次郎"));
    EXPECT_EQ(tally.senderOf(row(QStringLiteral("件名"), QStringLiteral("部外 者"))), QStringLiteral("者"))
        << "a sender the roster does not know keeps the word before the date";
    tally.addRow(row(QStringLiteral("Re: 出欠"), QStringLiteral("山田 太郎")));
    tally.addRow(row(QStringLiteral("出欠"), QStringLiteral("山田太郎")));
    EXPECT_EQ(tally.resultText(),
              QStringLiteral("★返信者リスト\r\n山田太郎\r\n\r\n★未返信者リスト\r\n佐々木小次郎\r\n田中\r\n"));
}

} // namespace
