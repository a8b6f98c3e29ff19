#include "testsupport/trends/trendstestsupport.h"
#include "trends/trendsdata.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace TrendsTest;
using Rows = QList<QStringList>;

QDate day(int d)
{
    return QDate(2026, 12, d);
}

class TrendsDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HistoryStore store(m_dir.path());
        const QString activity = History::Kinds::activity.key;
        // 甲 moves on the 5th, 乙 never, 丙 appears on the 5th and moves on
        // the 8th; 丁 left before the latest run.
        record(store, snapshot(day(1), activity,
                               {member(u"1"_qs, u"甲"_qs, 100), member(u"2"_qs, u"乙"_qs, 200),
                                member(u"4"_qs, u"丁"_qs, 5)}));
        record(store,
               snapshot(day(3), activity, {member(u"1"_qs, u"甲"_qs, 100), member(u"2"_qs, u"乙"_qs, 200)}));
        record(store, snapshot(day(5), activity,
                               {member(u"1"_qs, u"甲"_qs, 150), member(u"2"_qs, u"乙"_qs, 200),
                                member(u"3"_qs, u"丙"_qs, 10)}));
        // A report between: population and merit, no points.
        record(store,
               snapshot(day(6), History::Kinds::report.key,
                        {member(QString(), u"甲"_qs, {}, 1000, 7), member(QString(), u"丙"_qs, {}, 500, 3)}));
        record(store, snapshot(day(8), activity,
                               {member(u"1"_qs, u"甲"_qs, 150), member(u"2"_qs, u"乙"_qs, 200),
                                member(u"3"_qs, u"丙"_qs, 20)}));
        // Another alliance's run never mixes in.
        record(store, snapshot(day(8), activity, {member(u"1"_qs, u"甲"_qs, 999)}, u"8"_qs));
    }

    Trends::Loaded load()
    {
        return Trends::load(*std::make_unique<HistoryStore>(m_dir.path()), u"7"_qs, day(10));
    }

    QTemporaryDir m_dir;
};

TEST_F(TrendsDataTest, DaysSincePointsLastMovedFromTheWholeHistory)
{
    const Trends::Loaded loaded = load();
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_FALSE(loaded.noFile);
    EXPECT_EQ(loaded.totals.size(), 5);
    EXPECT_EQ(Trends::idleTable(loaded.idle).rows,
              (Rows{{u"甲"_qs, u"1"_qs, u"2026/12/05"_qs, u"5"_qs, QString()},
                    {u"乙"_qs, u"2"_qs, u"2026/12/01"_qs, u"9"_qs, u"記録開始から変動なし"_qs},
                    {u"丙"_qs, u"3"_qs, u"2026/12/08"_qs, u"2"_qs, QString()}}));
}

TEST_F(TrendsDataTest, MemberSeriesAndTotalsTakeOnlySnapshotsThatReadTheValue)
{
    const Trends::Loaded loaded = load();
    const MemberReading ko = member(u"1"_qs, u"甲"_qs, {});
    using Trends::TimePoint;
    auto at = [](int d, qint64 v) { return TimePoint{QDateTime(day(d), QTime(9, 0)), v}; };
    HistoryStore store(m_dir.path());
    const QList<DatedReading> koReadings = Trends::loadMember(store, u"7"_qs, ko).value;
    EXPECT_EQ(Trends::memberSeries(koReadings, Trends::Quantity::Points),
              (QList<TimePoint>{at(1, 100), at(3, 100), at(5, 150), at(8, 150)}));
    // The report read no ids: its readings are matched by name.
    EXPECT_EQ(Trends::memberSeries(koReadings, Trends::Quantity::Population), QList<TimePoint>{at(6, 1000)});
    EXPECT_EQ(Trends::memberSeries(koReadings, Trends::Quantity::Merit), QList<TimePoint>{at(6, 7)});

    EXPECT_EQ(Trends::allianceTotals(loaded.totals, Trends::Quantity::Points),
              (QList<TimePoint>{at(1, 305), at(3, 300), at(5, 360), at(8, 370)}));
    EXPECT_EQ(Trends::allianceTotals(loaded.totals, Trends::Quantity::Population),
              QList<TimePoint>{at(6, 1500)});

    const Rows totals = Trends::totalsTable(loaded.totals).rows;
    ASSERT_EQ(totals.size(), 5);
    EXPECT_EQ(totals.at(3), (QStringList{u"2026/12/06 09:00"_qs, u"同盟データ取得"_qs, u"2"_qs, QString(),
                                         u"1500"_qs, u"10"_qs}));
    EXPECT_EQ(
        Trends::memberTable(Trends::loadMember(store, u"7"_qs, member(u"3"_qs, u"丙"_qs, {})).value).rows,
        (Rows{{u"2026/12/05 09:00"_qs, u"同盟員活動履歴"_qs, u"10"_qs, QString(), QString()},
              {u"2026/12/06 09:00"_qs, u"同盟データ取得"_qs, QString(), u"500"_qs, u"3"_qs},
              {u"2026/12/08 09:00"_qs, u"同盟員活動履歴"_qs, u"20"_qs, QString(), QString()}}));
}

TEST_F(TrendsDataTest, JoinsAndLeavesComeFromRostersOnly)
{
    // The activity runs above drop 丁 and add 丙: no roster, no log.
    EXPECT_TRUE(load().joinLeave.isEmpty());
    {
        HistoryStore store(m_dir.path());
        const QString roster = History::Kinds::roster.key;
        record(store,
               snapshot(day(11), roster, {member(u"1"_qs, u"甲"_qs, {}), member(u"2"_qs, u"乙"_qs, {})}));
        record(store, snapshot(day(12), roster,
                               {member(u"1"_qs, u"甲"_qs, {}), member(u"5"_qs, u"山田 太郎"_qs, {})}));
    }
    const Trends::Loaded loaded = load();
    EXPECT_EQ(
        Trends::joinLeaveTable(loaded.joinLeave).rows,
        (Rows{{u"2026/12/12"_qs, u"加入"_qs, u"山田 太郎"_qs}, {u"2026/12/12"_qs, u"脱退"_qs, u"乙"_qs}}));
}

TEST(TrendsDataStore, MissingAndDamagedFiles)
{
    QTemporaryDir dir;
    HistoryStore store(dir.path());
    const Trends::Loaded missing = Trends::load(store, u"7"_qs, day(1));
    EXPECT_TRUE(missing.ok);
    EXPECT_TRUE(missing.noFile);
    EXPECT_FALSE(QFile::exists(store.path())) << "looking does not create the file";

    QFile garbage(store.path());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    const Trends::Loaded damaged = Trends::load(store, u"7"_qs, day(1));
    EXPECT_FALSE(damaged.ok);
    EXPECT_FALSE(damaged.error.isEmpty());
}

} // namespace

TEST(TrendsValueAxis, LabelsAreWholeNumbersApartAndLeaveRoomAroundTheValues)
{
    const std::pair<qint64, qint64> cases[] = {{23506, 23506}, {0, 0},    {-7, -7}, {5, 6},
                                               {100, 100000},  {-50, 50}, {1, 3}};
    for (const auto &[low, high] : cases) {
        const Trends::ValueAxis axis = Trends::valueAxis(low, high);
        SCOPED_TRACE(std::to_string(low) + ".." + std::to_string(high));
        EXPECT_LT(axis.min, low);
        EXPECT_GT(axis.max, high);
        ASSERT_GE(axis.tickCount, 2);
        const qint64 span = axis.max - axis.min;
        EXPECT_EQ(span % (axis.tickCount - 1), 0) << "every label a whole number";
        EXPECT_GE(span / (axis.tickCount - 1), 1) << "no two labels alike";
    }
    // A single reading sits in the middle of its axis.
    const Trends::ValueAxis single = Trends::valueAxis(23506, 23506);
    EXPECT_EQ(single.min + (single.max - single.min) / 2, 23506);
}
