#include "alliance/walk/commandguard.h"
#include "alliance/walk/commandrunner.h"
#include "alliance/walk/memberwalk.h"
#include "common/readfailure.h"
#include "site/document.h"
#include "site/loginlost.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/site/recordingpagekeeper.h"

namespace {

using PageFixtures::Member;

// The shared walk, once, against the fake browser.
class PageWalkTest : public CommandFixture
{
protected:
    QList<WalkPage> threePages()
    {
        QList<WalkPage> pages;
        for (int i = 1; i <= 3; ++i) {
            const QString address = kWorld + QStringLiteral("/page%1").arg(i);
            browser().addPage(address, QStringLiteral("<p>ready %1</p>").arg(i));
            pages.append({address, QStringLiteral("%1ページ").arg(i)});
        }
        return pages;
    }
};

TEST_F(PageWalkTest, APageWithoutItsMarkerTwiceIsReadOnTheThirdTry)
{
    const QList<WalkPage> pages = threePages();
    int triesOfSecond = 0;
    QStringList read;
    PageWalk walk(m_context, QStringLiteral("抽出"));
    walk.run(pages, [&](const Document &page, qsizetype index) {
        if (index == 1 && ++triesOfSecond < 3)
            return PageMark::Read::lacking(QStringLiteral("印"));
        read.append(page.bodyText());
        return PageMark::Read::done();
    });
    EXPECT_EQ(read,
              QStringList({QStringLiteral("ready 1"), QStringLiteral("ready 2"), QStringLiteral("ready 3")}));
    EXPECT_EQ(browser().loadCount(pages[1].address), 3);
    EXPECT_EQ(m_pacer.pauses, 5) << "the pause comes before every load, retries included";
    EXPECT_TRUE(walk.leftOut().isEmpty());
    EXPECT_TRUE(walk.missedMarks().isEmpty()) << "a page read in the end missed nothing";
    EXPECT_EQ(m_port.progress, QStringList({QStringLiteral("抽出 1/3"), QStringLiteral("抽出 2/3"),
                                            QStringLiteral("抽出 3/3")}));
}

TEST_F(PageWalkTest, APageThatNeverShowsItIsLeftOutAfterFiveAndNamedInOneWarning)
{
    QList<WalkPage> pages = threePages();
    pages[2].family = PageMark::Family::Ranking;
    RecordingPageKeeper keeper;
    m_context.keeper = &keeper;
    PageWalk walk(m_context, QStringLiteral("抽出"));
    walk.run(pages, [&](const Document &, qsizetype index) {
        return PageMark::Read::of(index == 1, QStringLiteral("表の印「<TABLE>」"));
    });
    EXPECT_EQ(browser().loadCount(pages[0].address), 5);
    EXPECT_EQ(browser().loadCount(pages[1].address), 1);
    EXPECT_EQ(walk.leftOut(), QStringList({QStringLiteral("1ページ"), QStringLiteral("3ページ")}));
    // One page of each family and mark kept, after its last load.
    EXPECT_EQ(keeper.kept, (QStringList{QStringLiteral("profile|") + pages[0].address,
                                        QStringLiteral("ranking|") + pages[2].address}));

    walk.tellLeftOut(QStringLiteral("読めなかったページ："));
    ASSERT_EQ(m_port.messages.size(), 1);
    const QString other =
        QStringLiteral("ゲームのページではなく、エラーのページか、読み込みの途中のページでした。"
                       "時間をおいて、もう一度実行してください。");
    EXPECT_EQ(
        m_port.messages[0],
        QStringLiteral("注意|読めなかったページ：\r\n\r\n1ページ\r\n3ページ\r\n\r\n"
                       "「プロフィール」のページに 表の印「<TABLE>」 が見つかりませんでした。\r\n") +
            other +
            QStringLiteral("\r\nこのページを 診断/1.html に保存しました。不具合の報告に添えてください。"
                           "\r\n\r\n「合戦格付」のページに 表の印「<TABLE>」 が見つかりませんでした。\r\n") +
            other +
            QStringLiteral("\r\nこのページを 診断/2.html に保存しました。不具合の報告に添えてください。"));

    // A second run of the same walk starts its list anew.
    walk.run({pages[1]}, [](const Document &, qsizetype) { return PageMark::Read::done(); });
    EXPECT_TRUE(walk.leftOut().isEmpty());
    EXPECT_TRUE(walk.missedMarks().isEmpty());
}

TEST_F(PageWalkTest, APageThatKeepsTheWalkWaitingShowsForHowLong)
{
    const QList<WalkPage> pages = threePages();
    // The second page stays busy for twelve looks, each a second on the clock.
    browser().addPage(pages[1].address, FakeBrowser::Page{QStringLiteral("<p>slow</p>"), {12}, {}});
    m_pump.onYield = [&] { m_clock.advance(1); };
    PageWalk walk(m_context, QStringLiteral("抽出"));
    walk.run(pages, [](const Document &, qsizetype) { return PageMark::Read::done(); });
    EXPECT_TRUE(m_port.progress.contains(QStringLiteral("抽出 2/3（ページを待っています 3秒）")));
    EXPECT_TRUE(m_port.progress.contains(QStringLiteral("抽出 2/3（ページを待っています 10秒）")));
    // Once the page is there, the plain progress comes back.
    const qsizetype last = m_port.progress.lastIndexOf(QStringLiteral("抽出 2/3"));
    EXPECT_GT(last, m_port.progress.indexOf(QStringLiteral("抽出 2/3（ページを待っています 10秒）")));
}

TEST_F(PageWalkTest, TheMemberWalkVisitsProfilesInTableOrder)
{
    serveAlliance({{5, QStringLiteral("後 藤"), QStringLiteral("1,1")},
                   {3, QStringLiteral("安藤"), QStringLiteral("2,2")}});
    MemberWalk walk(m_context, QStringLiteral("名簿作成"));
    const QList<::Member> members = walk.readMembers(QStringLiteral("7"));
    ASSERT_EQ(members.size(), 2);
    EXPECT_EQ(members[0].name, QStringLiteral("後藤"));
    EXPECT_EQ(members[0].userId, QStringLiteral("5"));
    EXPECT_EQ(members[1].userId, QStringLiteral("3"));
    walk.visitProfiles(members, [](const Document &, qsizetype) { return PageMark::Read::done(); });
    EXPECT_EQ(browser().navigations(), QStringList({kWorld + QStringLiteral("/alliance/info.php?id=7"),
                                                    profileAddress(5), profileAddress(3)}));
}

class CommandRunnerTest : public CommandFixture
{
protected:
    CommandGuard m_guard;
    int m_reopened = 0;
    CommandRunner m_runner{m_port, m_guard, [this] { ++m_reopened; }};
};

using Outcome = BrowserSteps::Outcome;

TEST_F(CommandRunnerTest, AStoppedCommandSaysWhy)
{
    // Nothing the user must do: the reason in the caption.
    EXPECT_EQ(
        m_runner.run(QStringLiteral("名簿作成"), [] { throw ReadFailure(QStringLiteral("表がありません")); }),
        Outcome::Stopped);
    ASSERT_FALSE(m_port.progress.isEmpty());
    EXPECT_EQ(m_port.progress.last(), QStringLiteral("名簿作成を中止しました（表がありません）"));
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_EQ(m_port.hourglassDepth, 0);

    // A page that lacked its mark: something to report, in a message box.
    EXPECT_EQ(m_runner.run(QStringLiteral("名簿作成"),
                           [] { throw ReadFailure(QStringLiteral("表がありません"), QStringLiteral("印")); }),
              Outcome::Stopped);
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_EQ(m_port.messages[0],
              QStringLiteral("注意|「名簿作成」を中止しました。ファイルは前のままです。\r\n表がありません"));
    m_port.messages.clear();

    // A lost login: the user must log in again.
    EXPECT_EQ(m_runner.run(QStringLiteral("名簿作成"), [] { throw LoginLost(); }), Outcome::Stopped);
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(QStringLiteral("注意|「名簿作成」を中止しました。")));
    EXPECT_TRUE(m_port.messages[0].contains(QStringLiteral("ログインし直して")));
    EXPECT_EQ(m_reopened, 0);
}

TEST_F(CommandRunnerTest, AClosedBrowserIsToldAndReplaced)
{
    EXPECT_EQ(m_runner.run(QStringLiteral("名簿作成"), [] { throw BrowserGone(QStringLiteral("閉じた")); }),
              Outcome::Stopped);
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(
        QStringLiteral("注意|ブラウザが閉じられたため、「名簿作成」を中止しました。")));
    EXPECT_EQ(m_reopened, 1);
    EXPECT_EQ(m_port.hourglassDepth, 0);
}

TEST_F(CommandRunnerTest, WithoutAWayToOpenABrowserAClosedOneIsToldWithoutPromisingOne)
{
    CommandRunner alone(m_port, m_guard);
    EXPECT_EQ(alone.run(QStringLiteral("名簿作成"), [] { throw BrowserGone(QStringLiteral("閉じた")); }),
              Outcome::Stopped);
    EXPECT_EQ(m_port.messages,
              QStringList{QStringLiteral(
                  "注意|ブラウザが閉じられたため、「名簿作成」を中止しました。ファイルは前のままです。")});
    EXPECT_FALSE(alone.reopenedBrowser());
}

TEST_F(CommandRunnerTest, NothingIsToldOnceTheProgramIsClosing)
{
    EXPECT_EQ(m_runner.run(QStringLiteral("名簿作成"),
                           [] {
                               AppQuit::request();
                               throw BrowserGone(QStringLiteral("終了中に閉じた"));
                           }),
              Outcome::Stopped);
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_EQ(m_reopened, 0);
}

TEST_F(CommandRunnerTest, ProgrammingErrorsAreNotSwallowed)
{
    // A test's runaway-wait guard, or a bug: it must reach the top.
    m_pump.maxYields = 3;
    browser().addPage(kWorld + QStringLiteral("/slow"),
                      FakeBrowser::Page{QStringLiteral("<p>x</p>"), {1000}, {}});
    EXPECT_THROW(m_runner.run(QStringLiteral("名簿作成"),
                              [&] { m_navigator.waitForPage(kWorld + QStringLiteral("/slow")); }),
                 std::runtime_error);
    EXPECT_FALSE(m_guard.isBusy());
    EXPECT_EQ(m_port.hourglassDepth, 0);
}

TEST_F(CommandRunnerTest, ANestedCommandDoesNotStart)
{
    bool nestedRan = false;
    EXPECT_EQ(m_runner.run(QStringLiteral("名簿作成"),
                           [&] {
                               EXPECT_EQ(
                                   m_runner.run(QStringLiteral("同盟データ取得"), [&] { nestedRan = true; }),
                                   Outcome::Busy);
                           }),
              Outcome::Done);
    EXPECT_FALSE(nestedRan);
}

TEST_F(CommandRunnerTest, ClosingTheWindowDuringAWalkEndsItAtItsNextWait)
{
    serveAlliance(
        {{1, QStringLiteral("甲"), QStringLiteral("1,1")}, {2, QStringLiteral("乙"), QStringLiteral("2,2")}});
    // The first profile takes a while: its wait is where the walk must end.
    browser().addPage(profileAddress(1),
                      FakeBrowser::Page{PageFixtures::profilePage(QStringLiteral("1,1")), {2}, {}});
    m_pacer.onPause = [] { AppQuit::request(); };
    // The pacing pause of the real pacer and every wait go through the pump.
    EXPECT_EQ(m_runner.run(QStringLiteral("名簿作成"),
                           [&] {
                               MemberWalk walk(m_context, QStringLiteral("名簿作成"));
                               walk.visitProfiles(
                                   walk.readMembers(QStringLiteral("7")),
                                   [](const Document &, qsizetype) { return PageMark::Read::done(); });
                           }),
              Outcome::Stopped);
    EXPECT_EQ(browser().loadCount(profileAddress(2)), 0);
    EXPECT_TRUE(m_port.messages.isEmpty());
}

} // namespace
