#include "testsupport/trends/trendstestsupport.h"
#include "testsupport/x11/testapplication.h"
#include "trends/trendchart.h"
#include "trends/trendstable.h"
#include "trends/trendswindow.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtCharts/QLineSeries>
#include <gtest/gtest.h>

namespace {

using namespace TrendsTest;
using Chart = TrendsWindow::Chart;
using Table = TrendsWindow::Table;

class TrendsWindowTest : public TrendsWindowFixture
{
protected:
    void SetUp() override
    {
        ensureTestApplication();
        HistoryStore store(m_dir.path());
        const QString activity = History::Kinds::activity.key;
        record(store, snapshot(QDate(2026, 12, 1), activity,
                               {member(u"1"_qs, u"甲"_qs, 100), member(u"2"_qs, u"乙"_qs, 50)}));
        record(store, snapshot(QDate(2026, 12, 2), activity,
                               {member(u"1"_qs, u"甲"_qs, 300), member(u"2"_qs, u"乙"_qs, 50)}));
        record(store, snapshot(QDate(2026, 12, 4), activity,
                               {member(u"1"_qs, u"甲"_qs, 200), member(u"2"_qs, u"乙"_qs, 50)}));
    }

    std::unique_ptr<TrendsWindow> open() { return openOn(QDate(2026, 12, 9)); }
};

TEST_F(TrendsWindowTest, TheMembersChartDrawsOnePointPerSnapshot)
{
    const auto window = open();
    EXPECT_TRUE(window->statusText().isEmpty());
    TrendsTableModel *members = window->model(Table::Members);
    ASSERT_EQ(members->rowCount(), 2);
    EXPECT_EQ(members->index(0, 3).data().toString(), u"5"_qs) << "甲 last moved on the 4th";
    EXPECT_EQ(members->index(1, 3).data().toString(), u"8"_qs);

    window->selectMember(0);
    TrendChart *chart = window->chart(Chart::MemberPoints);
    const QImage image = chart->grab().toImage();
    ASSERT_FALSE(image.isNull());
    QLineSeries *series = chart->series();
    ASSERT_EQ(series->count(), 3);
    const QRectF plot = chart->chart()->plotArea();
    qreal lastX = -1;
    for (const QPointF &point : series->points()) {
        const QPointF at = chart->chart()->mapToPosition(point, series);
        EXPECT_TRUE(plot.adjusted(-1, -1, 1, 1).contains(at)) << at.x() << "," << at.y();
        EXPECT_GT(at.x(), lastX) << "later readings lie further right";
        lastX = at.x();
    }
    EXPECT_EQ(series->at(1).y(), 300);
    // The highest reading is drawn highest.
    EXPECT_LT(chart->chart()->mapToPosition(series->at(1), series).y(),
              chart->chart()->mapToPosition(series->at(2), series).y());

    window->selectMember(1);
    EXPECT_EQ(window->chart(Chart::MemberPoints)->series()->count(), 3);
    EXPECT_EQ(window->chart(Chart::MemberPopulation)->series()->count(), 0);
    EXPECT_EQ(window->chart(Chart::TotalPoints)->series()->at(0).y(), 150);
}

TEST_F(TrendsWindowTest, TablesSaveAsCsvAndChartsAsPng)
{
    const auto window = open();
    m_port.answer = m_dir.filePath(u"members.csv"_qs);
    ASSERT_TRUE(window->saveCsv(Table::Members));
    EXPECT_TRUE(m_port.suggested.last().endsWith(u".csv"_qs));
    QFile csv(m_port.answer);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> rows = readCsv(QString::fromUtf8(bytes.mid(3)));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0).at(0), u"名前"_qs);
    EXPECT_EQ(rows.at(1), (QStringList{u"甲"_qs, u"1"_qs, u"2026/12/04"_qs, u"5"_qs, QString()}));

    m_port.answer = m_dir.filePath(u"total.png"_qs);
    ASSERT_TRUE(window->savePng(Chart::TotalPoints));
    const QImage png(m_port.answer, "PNG");
    EXPECT_EQ(png.size(), window->chart(Chart::TotalPoints)->grab().size());

    m_port.answer = m_dir.filePath(u"missing/dir/x.csv"_qs);
    EXPECT_FALSE(window->saveCsv(Table::JoinLeave));
    EXPECT_EQ(m_port.told.size(), 1) << "a failed save is told, never passed as done";
    m_port.answer.clear();
    EXPECT_FALSE(window->savePng(Chart::MemberMerit));
    EXPECT_EQ(m_port.told.size(), 1) << "cancelling is no failure";
}

TEST_F(TrendsWindowTest, TheMembersIdleForTheChosenDaysGoToTheLetterWriter)
{
    const auto window = open();
    auto *days = window->findChild<QSpinBox *>(u"idleDays"_qs);
    auto *button = window->findChild<QPushButton *>(u"writeLetter"_qs);
    ASSERT_TRUE(days && button);
    EXPECT_FALSE(button->isVisible()) << "nowhere to write without the tool window";
    QList<QStringList> written;
    window->setLetterWriter([&](const QStringList &names) { written.append(names); });
    EXPECT_TRUE(button->isVisible());

    // 甲 last moved 5 days ago, 乙 8: three days by default.
    EXPECT_EQ(days->value(), 3);
    const std::pair<int, QStringList> cases[] = {
        {3, {u"甲"_qs, u"乙"_qs}}, {5, {u"甲"_qs, u"乙"_qs}}, {6, {u"乙"_qs}}, {9, {}}};
    for (const auto &[n, names] : cases) {
        days->setValue(n);
        EXPECT_EQ(window->idleMembersChosen(), names) << n;
        EXPECT_EQ(button->isEnabled(), !names.isEmpty()) << n;
        button->click();
    }
    EXPECT_EQ(written, (QList<QStringList>{{u"甲"_qs, u"乙"_qs}, {u"甲"_qs, u"乙"_qs}, {u"乙"_qs}}));
}

TEST_F(TrendsWindowTest, ADamagedOrMissingHistoryIsSaidInTheWindow)
{
    QTemporaryDir empty;
    TrendsWindow none(empty.path(), u"7"_qs, QDate(2026, 12, 9), &m_port);
    EXPECT_TRUE(none.statusText().contains(u"履歴はまだありません"_qs));

    QFile file(m_dir.filePath(HistoryStore::fileName()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(8192, '\x5a'));
    file.close();
    const auto window = open();
    EXPECT_TRUE(window->statusText().contains(u"履歴を読めませんでした"_qs))
        << window->statusText().toStdString();
    EXPECT_EQ(window->model(Table::Members)->rowCount(), 0);
    EXPECT_EQ(window->chart(Chart::TotalPoints)->series()->count(), 0);
}

} // namespace
