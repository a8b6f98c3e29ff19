#include "common/datafile.h"
#include "testsupport/trends/trendstestsupport.h"
#include "testsupport/x11/testapplication.h"
#include "trends/briefingpane.h"
#include "trends/trendswindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace TrendsTest;

// Three members over ten days: 甲 stands still, 乙 moves again, 丙 joins late.
class BriefingPaneTest : public TrendsWindowFixture
{
protected:
    void SetUp() override
    {
        ensureTestApplication();
        HistoryStore store(m_dir.path());
        const QString roster = History::Kinds::roster.key;
        record(store, snapshot(QDate(2026, 12, 1), roster,
                               {member(u"1"_qs, u"甲"_qs, 100), member(u"2"_qs, u"乙"_qs, 50)}));
        record(store, snapshot(QDate(2026, 12, 9), roster,
                               {member(u"1"_qs, u"甲"_qs, 100), member(u"2"_qs, u"乙"_qs, 80),
                                member(u"3"_qs, u"丙"_qs, 10)}));
    }

    std::unique_ptr<TrendsWindow> open() { return openOn(QDate(2026, 12, 10)); }
};

TEST_F(BriefingPaneTest, ShowsEachMembersStatusFiltersGroupsAndHandsThemOn)
{
    const auto window = open();
    BriefingPane *pane = window->briefing();
    ASSERT_NE(pane, nullptr);
    ASSERT_EQ(pane->rows().size(), 3);
    EXPECT_EQ(pane->rows()[0].status, Briefing::Status::Attention) << "甲: 9 days without a move";
    EXPECT_EQ(pane->rows()[1].status, Briefing::Status::Returned) << "乙: moved after 8 days";
    EXPECT_EQ(pane->rows()[2].status, Briefing::Status::Newcomer);

    QStringList written;
    window->setLetterWriter([&written](const QStringList &names) { written = names; });
    pane->showOnly(Briefing::Status::Attention);
    auto *table = pane->findChild<QTableView *>(u"briefingTable"_qs);
    ASSERT_EQ(table->model()->rowCount(), 1);
    pane->findChild<QPushButton *>(u"briefingLetter"_qs)->click();
    EXPECT_EQ(written, QStringList{u"甲"_qs});

    // The CSV holds the group shown; the text all groups, for the clipboard.
    m_port.answer = m_dir.filePath(u"group.csv"_qs);
    ASSERT_TRUE(pane->saveCsv());
    QFile csv(m_port.answer);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(readCsv(QString::fromUtf8(csv.readAll())).size(), 2);
    pane->findChild<QPushButton *>(u"briefingCopy"_qs)->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), pane->briefingText());
    EXPECT_TRUE(pane->briefingText().startsWith(
        u"同盟の状況（2026/12/10）\r\n\r\n■要注意（1名）\r\n甲：9日間ポイント変化なし"_qs));

    // A note with a leave day puts 甲 on leave, kept in the history.
    pane->showOnly(std::nullopt);
    table->sortByColumn(0, Qt::AscendingOrder); // 丙 乙 甲: the note finds its member whatever the order
    ASSERT_TRUE(pane->writeNote(2, u"12/20まで旅行"_qs, QDate(2026, 12, 20)));
    EXPECT_EQ(pane->rows()[0].status, Briefing::Status::OnLeave);
    EXPECT_EQ(pane->rows()[0].note, u"12/20まで旅行"_qs);
}

TEST_F(BriefingPaneTest, TheThresholdsMoveTheStatusesAndAreRememberedInTheWorldsFolder)
{
    {
        const auto window = open();
        BriefingPane *pane = window->briefing();
        pane->findChild<QSpinBox *>(u"briefingIdleDays"_qs)->setValue(10);
        EXPECT_EQ(pane->rows()[0].status, Briefing::Status::Active) << "9 days are fewer than 10";
    }
    EXPECT_EQ(Briefing::readThresholds(m_dir.path()).idleDays, 10);
    const auto again = open();
    EXPECT_EQ(again->briefing()->thresholds().idleDays, 10);
    EXPECT_EQ(again->briefing()->rows()[0].status, Briefing::Status::Active);
}

} // namespace
