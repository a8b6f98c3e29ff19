#include "testsupport/composer/composerfixture.h"
#include "testsupport/site/recordingpagekeeper.h"

namespace {

using namespace ComposerTesting;

TEST_F(ComposerTest, OpeningShowsTheRosterTheSavedLettersOfThisWorldAndLoadsTheLetterPage)
{
    write(QStringLiteral("OVEKMAP_DATA_7.txt"), QStringLiteral("\"LordA\",\"-12\",\"34\"\r\n"));
    write(QStringLiteral("書状3_出欠.txt"), QStringLiteral("TO:出欠\r\n本文"));
    write(QStringLiteral("書状12_他.txt"), QStringLiteral("TO:他"));
    write(QStringLiteral("書状3_x.csv"), QString());
    open();
    EXPECT_EQ(m_port.list1, (QStringList{QStringLiteral("/ally"), QStringLiteral("LordA")}));
    EXPECT_EQ(m_port.combo1, QStringList{QStringLiteral("出欠")});
    EXPECT_EQ(browser().navigations(), QStringList{kLetterPage});
    EXPECT_EQ(m_toolPort.hourglassDepth, 0);
    EXPECT_TRUE(m_port.pageCommandsEnabled);
    EXPECT_TRUE(m_port.messages.isEmpty());
    // The id held for the run is not changed by the composer.
    EXPECT_EQ(m_session.allianceId, QStringLiteral("7/"));
}

TEST_F(ComposerTest, WithoutARosterTheListHoldsOnlyAllyAndTheRosterIsNotOpened)
{
    open();
    EXPECT_EQ(m_port.list1, QStringList{QStringLiteral("/ally")});
    m_composer->openRoster();
    EXPECT_TRUE(m_opener.opened.isEmpty());
    write(QStringLiteral("OVEKMAP_DATA_7.txt"), QString());
    m_composer->openRoster();
    EXPECT_EQ(m_opener.opened, QStringList{path(QStringLiteral("OVEKMAP_DATA_7.txt"))});
}

TEST_F(ComposerTest, RememberingCarriesSubjectBodyAndAddresseesToTheNextOpeningOnly)
{
    open();
    m_port.text2 = QStringLiteral("  件名 ");
    m_port.text1 = QStringLiteral(" 本文\r\n二行目  ");
    m_port.text3 = QStringLiteral("A");
    m_port.combo2 = {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")};
    m_composer->rememberOnClose(0);
    EXPECT_EQ(m_state.rememberedAddressees, QStringLiteral("甲\r\n乙\r\n丙\r\n"));

    open();
    EXPECT_EQ(m_port.text2, QStringLiteral("件名"));
    EXPECT_EQ(m_port.text1, QStringLiteral("本文\r\n二行目"));
    EXPECT_EQ(m_port.combo2, (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}));
    EXPECT_EQ(m_state.rememberedAddressees, QString());

    // Closed with the close box: nothing remembered changes.
    open();
    EXPECT_EQ(m_port.text2, QStringLiteral("件名"));
    EXPECT_EQ(m_port.text1, QStringLiteral("本文\r\n二行目"));
    EXPECT_TRUE(m_port.combo2.isEmpty());

    m_composer->rememberOnClose(1);
    open();
    EXPECT_EQ(m_port.text2, QString());
    EXPECT_EQ(m_port.text1, QString());
    EXPECT_TRUE(m_port.combo2.isEmpty());
}

TEST_F(ComposerTest, ALetterPageThatCannotLoadStillShowsTheRememberedLetter)
{
    m_state.rememberedSubject = QStringLiteral("件名");
    m_state.rememberedBody = QStringLiteral("本文");
    browser().close();
    open();
    EXPECT_EQ(m_port.text2, QStringLiteral("件名"));
    EXPECT_EQ(m_port.text1, QStringLiteral("本文"));
    EXPECT_EQ(m_port.list1, QStringList{QStringLiteral("/ally")});
    EXPECT_EQ(m_toolPort.hourglassDepth, 0);
    EXPECT_TRUE(m_port.pageCommandsEnabled);
}

TEST_F(ComposerTest, PickingStopsAtThreeWithTheMessage)
{
    open();
    for (const QString &name : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
        m_composer->pick(name);
    EXPECT_EQ(m_port.text3, QStringLiteral("A,B,C"));
    EXPECT_TRUE(m_port.messages.isEmpty());
    m_composer->pick(QStringLiteral("D"));
    EXPECT_EQ(m_port.text3, QStringLiteral("A,B,C"));
    EXPECT_EQ(m_port.messages, QStringList{QStringLiteral("同時発信は３名までです。")});
}

TEST_F(ComposerTest, FillingWritesSubjectToAndBodyInThatOrderAndKeepsTheRest)
{
    open();
    m_port.text2 = QStringLiteral(" 件名 \"引用\" \\ </script> ");
    m_port.text3 = QStringLiteral(" A,B,C,D,E ");
    m_port.text1 = QStringLiteral("  本文\r\n二行目 ");
    m_composer->fillLetterPage();
    EXPECT_EQ(browser().calls().mid(browser().calls().size() - 3),
              (QStringList{QStringLiteral("setFieldValue SUBJECT=件名 \"引用\" \\ </script>"),
                           QStringLiteral("setFieldValue TO=A,B,C"),
                           QStringLiteral("setFieldValue BODY=本文\r\n二行目")}));
    EXPECT_EQ(m_port.text3, QStringLiteral("D,E"));
    EXPECT_EQ(browser().navigations().size(), 1) << "the page is not sent, nor loaded again";

    m_port.text3 = QStringLiteral("A,B,C");
    m_composer->fillLetterPage();
    EXPECT_EQ(browser().fieldValue(QStringLiteral("TO")), QStringLiteral("A,B,C"));
    EXPECT_EQ(m_port.text3, QString());

    m_port.text3 = QStringLiteral("A,B ");
    m_composer->fillLetterPage();
    EXPECT_EQ(browser().fieldValue(QStringLiteral("TO")), QStringLiteral("A,B"));
    EXPECT_EQ(m_port.text3, QStringLiteral("A,B"));
}

TEST_F(ComposerTest, FillingAPageWithoutTheAddresseeFieldEndsQuietlyAndLosesNoName)
{
    open();
    browser().missing = QStringLiteral("TO");
    m_port.text2 = QStringLiteral("件名");
    m_port.text3 = QStringLiteral("A,B,C,D");
    m_port.text1 = QStringLiteral("本文");
    m_composer->fillLetterPage();
    EXPECT_EQ(browser().fieldValue(QStringLiteral("SUBJECT")), QStringLiteral("件名"));
    EXPECT_EQ(browser().fieldValue(QStringLiteral("BODY")), QString());
    EXPECT_EQ(m_port.text3, QStringLiteral("A,B,C,D"));
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(ComposerTest, PageCommandsWaitForTheBrowserToBeFree)
{
    {
        // A command of the tool window drives the browser meanwhile.
        CommandGuard::Scope command(m_guard);
        open();
        EXPECT_TRUE(browser().navigations().isEmpty());
        ASSERT_EQ(m_port.messages.size(), 1);
        m_port.text2 = QStringLiteral("件名");
        m_composer->fillLetterPage();
        EXPECT_TRUE(browser().calls().isEmpty());
        EXPECT_EQ(m_port.messages.size(), 2);
    }
    m_composer->loadLetterPage();
    m_composer->fillLetterPage();
    EXPECT_EQ(browser().navigations(), QStringList{kLetterPage});
    EXPECT_EQ(browser().fieldValue(QStringLiteral("SUBJECT")), QStringLiteral("件名"));
    EXPECT_FALSE(m_guard.isBusy()) << "every step let the browser go";
}

TEST_F(ComposerTest, AStepThatStopsIsToldByTheRunnerAsEveryCommandIs)
{
    // The letter page as a game update might make it: no field TO. It is
    // told with the field and kept.
    RecordingPageKeeper keeper;
    m_context.keeper = &keeper;
    browser().addPage(kLetterPage, QStringLiteral("<html><body><div>ログアウト ヘルプ 発言の注意</div>"
                                                  "<input id=SUBJECT><input id=ADDRESSEE><textarea id=BODY>"
                                                  "</textarea></body></html>"));
    open();
    browser().missing = QStringLiteral("TO");
    m_composer->fillLetterPage();
    ASSERT_EQ(m_toolPort.messages.size(), 1);
    EXPECT_TRUE(m_toolPort.messages.first().startsWith(QStringLiteral(
        "注意|「画面挿入」を中止しました。ファイルは前のままです。\r\n入力欄「TO」がページにありません。")))
        << m_toolPort.messages.first().toStdString();
    EXPECT_TRUE(m_toolPort.messages.first().contains(
        QStringLiteral("「書状作成」のページに 入力欄「TO」 "
                       "が見つかりませんでした。\r\nゲームのページは表示されていたので")));
    EXPECT_EQ(keeper.kept, QStringList{QStringLiteral("letter|") + kLetterPage});

    // Anything else that stops a step stays in the caption.
    browser().missing.clear();
    browser().close();
    m_composer->fillLetterPage();
    ASSERT_EQ(m_toolPort.messages.size(), 2);
    EXPECT_TRUE(m_toolPort.messages.last().contains(QStringLiteral("ブラウザが閉じられたため")));
    EXPECT_TRUE(m_port.pageCommandsEnabled);
}

TEST_F(ComposerTest, InsertingOnAnotherPageLoadsTheLetterPageAndANonGamePageIsSaidPlainlyNotKept)
{
    const QString menu = QStringLiteral("<div>ログアウト ヘルプ 発言の注意</div>");
    const QString fields = QStringLiteral("<input id=SUBJECT><input id=TO><textarea id=BODY></textarea>");
    const QString userPage = kWorld + QStringLiteral("/user/");
    const struct
    {
        const char *what;
        QString shownAddress; // where the browser stands when 画面挿入 is pressed
        QString letterPage;   // what the letter address serves
        QString missing;      // the field the page lacks
        bool filled;
        QString told; // what the message holds; none when empty
        int kept;
    } cases[] = {
        {"a game page other than the letter page", userPage, menu + fields, QString(), true, QString(), 0},
        {"a login page at the letter address", kLetterPage, QStringLiteral("<p>セッションが切れました。</p>"),
         QStringLiteral("SUBJECT"), false, QStringLiteral("ログインのページのようでした"), 0},
        {"a maintenance notice at the letter address", kLetterPage,
         QStringLiteral("<p>ただいまメンテナンス中です</p>"), QStringLiteral("SUBJECT"), false,
         QStringLiteral("メンテナンスのお知らせ"), 0},
        {"the letter page made otherwise", kLetterPage, menu + QStringLiteral("<input id=SUBJECT>"),
         QStringLiteral("TO"), false, QStringLiteral("作りが変わったのかもしれません"), 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        RecordingPageKeeper keeper;
        m_context.keeper = &keeper;
        m_toolPort.messages.clear();
        m_browsers.replaceWithNew();
        browser().addPage(userPage, QStringLiteral("<html><body>") + menu + QStringLiteral("</body></html>"));
        browser().addPage(kLetterPage,
                          QStringLiteral("<html><body>") + c.letterPage + QStringLiteral("</body></html>"));
        open();
        browser().missing = c.missing;
        browser().navigate(c.shownAddress);
        m_port.text2 = QStringLiteral("件名");
        m_port.text3 = QStringLiteral("A,B,C,D");
        m_port.text1 = QStringLiteral("本文");
        m_composer->fillLetterPage();
        EXPECT_EQ(browser().locationUrl(), kLetterPage);
        EXPECT_EQ(browser().fieldValue(QStringLiteral("BODY")),
                  c.filled ? QStringLiteral("本文") : QString());
        EXPECT_EQ(m_port.text3, c.filled ? QStringLiteral("D") : QStringLiteral("A,B,C,D"));
        if (c.told.isEmpty()) {
            EXPECT_TRUE(m_toolPort.messages.isEmpty()) << m_toolPort.messages.join(u'\n').toStdString();
        } else {
            ASSERT_EQ(m_toolPort.messages.size(), 1);
            EXPECT_TRUE(m_toolPort.messages.first().contains(c.told))
                << m_toolPort.messages.first().toStdString();
        }
        EXPECT_EQ(keeper.kept.size(), c.kept) << "only a changed letter page is kept for a report";
        m_context.keeper = nullptr;
    }
}

TEST_F(ComposerTest, AfterTheBrowserIsOpenedAnewTheComposerStandsOnTheLetterPageWithItsFieldsAsTheyWere)
{
    // The tool window's way of opening a new browser: it walks into the
    // world and ends on the user page.
    m_runner.setBrowserReopener([this] {
        m_browsers.replaceWithNew();
        m_navigator.waitForPage(kWorld + QStringLiteral("/user/"));
    });
    for (const bool insert : {true, false}) {
        SCOPED_TRACE(insert ? "画面挿入" : "ヘージ再読み込み");
        open();
        m_port.text2 = QStringLiteral("件名");
        m_port.text3 = QStringLiteral("A,B,C,D");
        browser().close();
        if (insert)
            m_composer->fillLetterPage();
        else
            m_composer->loadLetterPage();
        EXPECT_EQ(browser().navigations().value(browser().navigations().size() - 1), kLetterPage)
            << browser().navigations().join(u' ').toStdString();
        EXPECT_EQ(m_port.text3, QStringLiteral("A,B,C,D")) << "no name left the field";
        EXPECT_EQ(m_port.text2, QStringLiteral("件名"));
        EXPECT_TRUE(m_port.pageCommandsEnabled);
        // The next 画面挿入 fills the new browser's letter page.
        m_composer->fillLetterPage();
        EXPECT_EQ(browser().fieldValue(QStringLiteral("TO")), QStringLiteral("A,B,C"));
    }
}

TEST_F(ComposerTest, PouringTakesTheClipboardEachTime)
{
    open();
    m_composer->pourAddressees();
    EXPECT_TRUE(m_port.combo2.isEmpty());
    m_port.clipboard = QStringLiteral(" 甲\r\n乙\r\n丙\r\n ");
    m_composer->pourAddressees();
    m_composer->pourAddressees();
    EXPECT_EQ(m_port.combo2, (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙"),
                                          QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}));
}

TEST_F(ComposerTest, SwitchingGoesBetweenTheRosterAndTheExtraList)
{
    write(QStringLiteral("OVEKMAP_DATA_7.txt"), QStringLiteral("\"LordA\",\"1\",\"2\"\r\n"));
    open();
    m_composer->switchList();
    EXPECT_EQ(m_port.list1, (QStringList{QStringLiteral("/ally"), QStringLiteral("LordA")}));
    EXPECT_FALSE(m_composer->extraListShown());

    write(QStringLiteral("MailAd追加.txt"), QStringLiteral(" 外部甲 \r\n\r\n外部乙\r\n"));
    m_composer->switchList();
    EXPECT_EQ(m_port.list1, (QStringList{QStringLiteral("外部甲"), QStringLiteral("外部乙")}));
    EXPECT_TRUE(m_composer->extraListShown());
    m_composer->switchList();
    EXPECT_EQ(m_port.list1, (QStringList{QStringLiteral("/ally"), QStringLiteral("LordA")}));
    m_composer->switchList();
    // Opening again shows the roster, and the switch starts from there.
    open();
    EXPECT_FALSE(m_composer->extraListShown());
    m_composer->switchList();
    EXPECT_EQ(m_port.list1.value(0), QStringLiteral("外部甲"));
}

TEST_F(ComposerTest, ClearingEmptiesTheThreeFields)
{
    open();
    m_port.text1 = m_port.text2 = m_port.text3 = QStringLiteral("x");
    m_port.combo2 = {QStringLiteral("甲")};
    m_composer->clearFields();
    EXPECT_EQ(m_port.text1 + m_port.text2 + m_port.text3, QString());
    EXPECT_EQ(m_port.combo2.size(), 1);
}

} // namespace

namespace {

using namespace ComposerTesting;

// Fills the page until the field is empty or ten letters went, and tells
// what each letter's TO and the field after it held.
std::pair<QStringList, QStringList> workThrough(Composer &composer, RecordingComposerPort &port,
                                                FakeBrowser &browser)
{
    QStringList to;
    QStringList left;
    while (!port.text3.isEmpty() && to.size() < 10) {
        composer.fillLetterPage();
        to.append(browser.fieldValue(QStringLiteral("TO")));
        left.append(port.text3);
    }
    return {to, left};
}

TEST_F(ComposerTest, AListHandedOverGoesThreeALetterInItsOrderUntilTheFieldIsEmpty)
{
    open();
    const QStringList nine{QStringLiteral("甲"), QStringLiteral("Lord A"), QStringLiteral("a,b"),
                           QStringLiteral("丁"), QStringLiteral("戊"),     QStringLiteral("　己"),
                           QStringLiteral("庚"), QStringLiteral("辛"),     QStringLiteral("壬")};
    m_composer->takeList(nine);
    EXPECT_EQ(m_port.text3, QStringLiteral("甲,Lord A,\"a,b\",丁,戊,　己,庚,辛,壬"));
    EXPECT_EQ(m_composer->addresseesChanged(m_port.text3), QStringLiteral("　新規作成（残り 9名）"));
    auto [to, left] = workThrough(*m_composer, m_port, browser());
    EXPECT_EQ(to, (QStringList{QStringLiteral("甲,Lord A,\"a,b\""), QStringLiteral("丁,戊,　己"),
                               QStringLiteral("庚,辛,壬")}));
    EXPECT_EQ(left,
              (QStringList{QStringLiteral("丁,戊,　己,庚,辛,壬"), QStringLiteral("庚,辛,壬"), QString()}));

    // Eight: the last letter goes to two, and they leave the field too.
    m_composer->takeList(nine.mid(0, 8));
    std::tie(to, left) = workThrough(*m_composer, m_port, browser());
    EXPECT_EQ(to.last(), QStringLiteral("庚,辛"));
    EXPECT_EQ(left, (QStringList{QStringLiteral("丁,戊,　己,庚,辛"), QStringLiteral("庚,辛"), QString()}));

    // Two picked by hand stay after filling, as they always did; so do two
    // typed over a list the user emptied first.
    m_composer->takeList(nine);
    m_port.text3.clear();
    m_composer->addresseesChanged(m_port.text3);
    m_port.text3 = QStringLiteral("甲,乙");
    m_composer->fillLetterPage();
    EXPECT_EQ(m_port.text3, QStringLiteral("甲,乙"));
    // And after 「初期化」 or opening again, no list is being worked through.
    for (const auto &endList : {std::function<void()>([&] { m_composer->clearFields(); }),
                                std::function<void()>([&] { m_composer->fillAtOpening(); })}) {
        m_composer->takeList({QStringLiteral("甲"), QStringLiteral("乙")});
        endList();
        m_port.text3 = QStringLiteral("丙,丁");
        m_composer->fillLetterPage();
        EXPECT_EQ(m_port.text3, QStringLiteral("丙,丁"));
    }
}

TEST_F(ComposerTest, TheUserIsToldWhichNamesTheCurrentRosterDoesNotHold)
{
    open();
    EXPECT_EQ(m_composer->rosterNotice({QStringLiteral("甲")}),
              QStringLiteral("同盟員名簿が作成されていないため、宛名が今の同盟員かどうか確かめられません。"));
    // The roster of the id without its "/", as the roster command names it.
    write(QStringLiteral("OVEKMAP_DATA_7.txt"),
          QStringLiteral("\"LordA\",\"1\",\"2\"\r\n\"a,b\",\"3\",\"4\"\r\n\"甲\",\"5\",\"6\"\r\n"));
    EXPECT_EQ(
        m_composer->rosterNotice({QStringLiteral("甲"), QStringLiteral("Lord A"), QStringLiteral("a,b")}),
        QString());
    EXPECT_EQ(m_composer->rosterNotice({QStringLiteral("乙"), QStringLiteral("甲"), QStringLiteral("丙")}),
              QStringLiteral("次の2名は今の同盟員名簿にいません（同盟を抜けたのかもしれません）。\r\n"
                             "宛名には入れてあります。送る前に確かめてください。\r\n\r\n乙\r\n丙"));
    // Twenty are all listed; from twenty-one on, twenty and how many more.
    const std::pair<int, QString> ends[] = {{20, QStringLiteral("\r\n脱退19\r\n脱退20")},
                                            {21, QStringLiteral("\r\n脱退20\r\nほか 1名")},
                                            {23, QStringLiteral("\r\n脱退20\r\nほか 3名")}};
    for (const auto &[count, end] : ends) {
        QStringList many;
        for (int i = 1; i <= count; ++i)
            many.append(QStringLiteral("脱退%1").arg(i));
        const QString notice = m_composer->rosterNotice(many);
        EXPECT_TRUE(notice.startsWith(QStringLiteral("次の%1名は").arg(count))) << notice.toStdString();
        EXPECT_TRUE(notice.endsWith(end)) << notice.toStdString();
        EXPECT_EQ(notice.count(QStringLiteral("\r\n脱退")), std::min(count, 20));
    }
}

} // namespace
