#include "alliance/commands/rankingcommand.h"
#include "alliance/rules/rankingarchive.h"
#include "alliance/window/rankingpanel.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/alliance/rankingtestpages.h"
#include "testsupport/site/recordingpagekeeper.h"

#include <QDir>
#include <QFile>

namespace {

using RankingTestPages::row;

// Writes down when the ticks start and end, against the pages loaded so far.
class OrderPacer : public Pacer
{
public:
    explicit OrderPacer(std::function<qsizetype()> loads) : m_loads(std::move(loads)) {}
    void startTicks() override { events.append(QStringLiteral("start@%1").arg(m_loads())); }
    void waitForTicks() override { events.append(QStringLiteral("wait@%1").arg(m_loads())); }
    QStringList events;

private:
    std::function<qsizetype()> m_loads;
};

class RecordingPanel : public RankingPanelPort
{
public:
    void setCheck1Enabled(bool enabled) override { this->enabled = enabled; }
    void setCheck1Ticked(bool ticked) override { this->ticked = ticked; }
    bool enabled = false;
    bool ticked = true;
};

class RankingCommandTest : public CommandFixture
{
protected:
    QString address(int category, int page) const { return m_session.world.warRankingUrl(category, page); }

    // Every page of the band served, with one own lord on pages 3 and 7.
    void serveBand(int category, int band)
    {
        for (int page = 10 * band + 1; page <= 10 * band + 10; ++page) {
            QList<RankingTestPages::Row> rows;
            const int rank = 10 * (page - 1) + 1;
            rows.append(row(rank, QStringLiteral("他人%1").arg(page), QStringLiteral("8"), 9000 - rank));
            if (page % 10 == 3 || page % 10 == 7)
                rows.append(
                    row(rank + 1, QStringLiteral("身内%1").arg(page), QStringLiteral("7"), 8000 - rank));
            browser().addPage(address(category, page), RankingTestPages::page(rows));
        }
    }

    void extract(int band, int category = 0, bool compare = false)
    {
        RankingCommand command(m_context, band, category, compare);
        command.run();
        m_rows = command.rowCount();
        m_leftOut = command.leftOut();
    }

    QString archivePath(int category) const
    {
        return m_session.appDir + RankingArchive::fileName(QStringLiteral("5"), category);
    }

    RecordingPanel m_panel;
    RankingPanel m_rankingPanel{m_session, m_port, m_panel};
    qsizetype m_rows = -1;
    QStringList m_leftOut;
};

TEST_F(RankingCommandTest, ABandAppendsItsHeaderAndRowsAndCompletesTheHeaderWithTheCount)
{
    m_port.text.clear();
    serveBand(0, 0);
    extract(0);
    EXPECT_EQ(m_port.text, QStringLiteral("★第1～100位━━━ 2人\r\n22位 身内3 7979\r\n62位 身内7 7939\r\n"));
    EXPECT_EQ(m_rows, 2);
    QStringList expected;
    for (int page = 1; page <= 10; ++page)
        expected.append(kWorld + QStringLiteral("/war/war_ranking.php?p=%1").arg(page));
    EXPECT_EQ(browser().navigations(), expected);
    EXPECT_EQ(m_session.allianceId, QStringLiteral("7")) << "the id is used and kept without its /";
    EXPECT_EQ(m_port.progress.first(), QStringLiteral("格付抽出 1/10"));
    EXPECT_EQ(m_port.progress.last(), QStringLiteral("格付抽出 10/10"));
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(RankingCommandTest, TheTicksStartBeforeEachPageAndAreWaitedForAfterIt)
{
    OrderPacer pacer([this] { return browser().navigations().size(); });
    CommandContext context{m_session, m_navigator, m_browsers, pacer, m_port};
    serveBand(2, 4);
    RankingCommand(context, 4, 2, false).run();
    QStringList expected;
    for (int page = 1; page <= 10; ++page)
        expected << QStringLiteral("start@%1").arg(page - 1) << QStringLiteral("wait@%1").arg(page);
    EXPECT_EQ(pacer.events, expected);
    EXPECT_EQ(browser().navigations().first(),
              kWorld + QStringLiteral("/war/war_ranking.php?m=defense&c=5&p=41"));
    EXPECT_EQ(browser().navigations().last(),
              kWorld + QStringLiteral("/war/war_ranking.php?m=defense&c=5&p=50"));
    EXPECT_TRUE(m_port.text.startsWith(QStringLiteral("前の出力\r\n★第401～500位━━━ 2人\r\n")))
        << "the box is not cleared";
}

TEST_F(RankingCommandTest, AttackReadsTheSecondCellFromTheAttackAddress)
{
    m_port.text.clear();
    serveBand(1, 0);
    extract(0, 1);
    EXPECT_EQ(browser().navigations().at(2),
              kWorld + QStringLiteral("/war/war_ranking.php?m=attack&c=5&p=3"));
    EXPECT_EQ(m_port.text, QStringLiteral("★第1～100位━━━ 2人\r\n22位 身内3 7980\r\n62位 身内7 7940\r\n"));
}

TEST_F(RankingCommandTest, ABandWithoutOwnLordsAndTheSameBandTwiceCountWhatTheyFound)
{
    m_port.text.clear();
    for (int page = 11; page <= 20; ++page)
        browser().addPage(address(0, page), RankingTestPages::page(
                                                {row(page, QStringLiteral("他人"), QStringLiteral("8"), 1)}));
    extract(1);
    EXPECT_EQ(m_port.text, QStringLiteral("★第101～200位━━━ 0人\r\n"));
    extract(1);
    EXPECT_EQ(m_port.text, QStringLiteral("★第101～200位━━━ 0人\r\n★第101～200位━━━ 0人\r\n"))
        << "only the header this run appended gets the count";
    serveBand(0, 1);
    extract(1);
    EXPECT_EQ(m_rows, 2);
    EXPECT_EQ(m_port.text,
              QStringLiteral("★第101～200位━━━ 0人\r\n★第101～200位━━━ 0人\r\n"
                             "★第101～200位━━━ 2人\r\n122位 身内13 7879\r\n162位 身内17 7839\r\n"));
}

// What the box held before keeps what it says; the band starts a line of its
// own and only its header gets the count.
TEST_F(RankingCommandTest, ABandAfterOtherOutputStartsALineAndCountsOnlyItsOwnHeader)
{
    const QString band = QStringLiteral("★第1～100位━━━ 2人\r\n22位 身内3 7979\r\n62位 身内7 7939\r\n");
    const struct
    {
        const char *what;
        QString before;
        QString separator;
    } cases[] = {
        {"a stopped run's header without count", QStringLiteral("★第1～100位━━━\r\n22位 身内3 7979\r\n"), {}},
        {"the castle list, no line end", QStringLiteral("\r\n2026/12/07 10:00:00 作成"),
         QStringLiteral("\r\n")},
    };
    serveBand(0, 0);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        m_port.text = c.before;
        extract(0);
        EXPECT_EQ(m_port.text, c.before + c.separator + band);
    }
}

TEST_F(RankingCommandTest, ARankingPageWithoutRowsIsReadOnceAndNotToldAsAFault)
{
    m_port.text.clear();
    serveBand(0, 0);
    browser().addPage(address(0, 7), RankingTestPages::page({}, {.table = false, .pager = false}));
    browser().addPage(address(0, 8), RankingTestPages::page({}));
    extract(0);
    EXPECT_EQ(browser().loadCount(address(0, 7)), 1);
    EXPECT_EQ(browser().loadCount(address(0, 8)), 1);
    EXPECT_TRUE(m_leftOut.isEmpty());
    EXPECT_EQ(m_port.text, QStringLiteral("★第1～100位━━━ 1人\r\n22位 身内3 7979\r\n"));
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(RankingCommandTest, APageThatIsNoGamePageIsLoadedAgainThenLeftOutAndNamed)
{
    m_port.text.clear();
    serveBand(0, 0);
    browser().addPage(address(0, 7), RankingTestPages::page({}, {.menu = false, .table = false}));
    extract(0);
    EXPECT_EQ(browser().loadCount(address(0, 7)), 5);
    EXPECT_EQ(m_leftOut, QStringList{QStringLiteral("7ページ")});
    EXPECT_EQ(m_port.text, QStringLiteral("★第1～100位━━━ 1人\r\n22位 身内3 7979\r\n"));
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(QStringLiteral("注意|")));
    EXPECT_TRUE(m_port.messages[0].contains(
        QStringLiteral("\r\n7ページ\r\n\r\n「合戦格付」のページに メニュー「ログアウト ヘルプ 発言の注意」 "
                       "が見つかりませんでした。")))
        << m_port.messages[0].toStdString();
}

TEST_F(RankingCommandTest, AFirstBandWithoutAnyTableIsToldAndKeptALaterOneIsPastTheLast)
{
    RecordingPageKeeper keeper;
    m_context.keeper = &keeper;
    for (int band = 0; band < 2; ++band) {
        for (int page = 10 * band + 1; page <= 10 * band + 10; ++page)
            browser().addPage(address(0, page), RankingTestPages::page({}, {.table = false}));
    }
    m_port.text.clear();
    extract(1);
    EXPECT_TRUE(m_port.messages.isEmpty()) << "a band past the last ranked lord lists nobody";
    extract(0);
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].startsWith(
        QStringLiteral("注意|1〜10ページの合戦格付のどのページにも、格付の表がありませんでした。\r\n\r\n"
                       "「合戦格付」のページに 格付の表の始まり「alt=攻撃国」 が見つかりませんでした。")))
        << m_port.messages[0].toStdString();
    EXPECT_EQ(keeper.kept, QStringList{QStringLiteral("ranking|") + address(0, 1)});
    EXPECT_EQ(browser().loadCount(address(0, 1)), 1) << "a game page is not loaded again";
}

TEST_F(RankingCommandTest, ASavedExtractionIsComparedOnlyWhenAskedAndForItsCategory)
{
    m_port.text.clear();
    serveBand(0, 0);
    extract(0);
    m_rankingPanel.save(0);
    ASSERT_TRUE(QFile::exists(archivePath(0)));

    // Since then 身内3 fell to 25 with less, 身内7 kept his place.
    browser().addPage(address(0, 3),
                      RankingTestPages::page({row(25, QStringLiteral("身内3"), QStringLiteral("7"), 7000)}));
    m_port.text.clear();
    extract(0, 0, true);
    EXPECT_EQ(m_port.text,
              QStringLiteral("★第1～100位━━━ 2人\r\n25位↓ 身内3 7000↓\r\n62位→ 身内7 7939→\r\n"));
    EXPECT_TRUE(m_port.messages.isEmpty());

    m_port.text.clear();
    extract(0, 0, false);
    EXPECT_FALSE(m_port.text.contains(QStringLiteral("↓")));

    // Another category has no archive: told, and extracted without marks.
    serveBand(3, 0);
    m_port.text.clear();
    extract(0, 3, true);
    EXPECT_EQ(m_port.text, QStringLiteral("★第1～100位━━━ 2人\r\n22位 身内3 7982\r\n62位 身内7 7942\r\n"));
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_TRUE(m_port.messages[0].contains(QStringLiteral("Archive_5_総合.txt")));
}

TEST_F(RankingCommandTest, SavingRefusesWhatIsNoRankingAndWritesTheCategorysArchive)
{
    m_port.text.clear();
    m_rankingPanel.save(1);
    m_port.text = QStringLiteral("12位 身内 3");
    m_rankingPanel.save(1);
    EXPECT_EQ(m_port.messages, QStringList({QStringLiteral("注意|データが作成されてません。"),
                                            QStringLiteral("注意|データが不正です。")}));
    EXPECT_TRUE(QDir(m_session.appDir).entryList(QDir::Files).isEmpty());

    m_rankingPanel.selectCategory(1);
    EXPECT_FALSE(m_panel.enabled);
    EXPECT_FALSE(m_panel.ticked);
    m_port.text = QStringLiteral("★第1～100位━━━ 1人\r\n2位 身内 3\r\n");
    m_rankingPanel.save(1);
    EXPECT_TRUE(m_panel.enabled) << "the archive can be compared with at once";
    QFile file(archivePath(1));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(DataFile::decode(file.readAll()), m_port.text + QStringLiteral("\r\n"));

    m_panel.ticked = true;
    m_rankingPanel.selectCategory(0);
    EXPECT_FALSE(m_panel.enabled);
    EXPECT_FALSE(m_panel.ticked);
    m_panel.ticked = true;
    m_rankingPanel.selectCategory(1);
    EXPECT_TRUE(m_panel.enabled);
    EXPECT_FALSE(m_panel.ticked) << "a category change always asks for the comparison again";
}

} // namespace
