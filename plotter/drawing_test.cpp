#include "common/clock.h"
#include "common/datafile.h"
#include "common/dates.h"
#include "plotter/drawing.h"
#include "plotter/plotroster.h"
#include "testsupport/plotter/plotterfakes.h"

#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

using namespace Plotter;

namespace {

const MapFrame Frame = mapFrameFor(19320, 15030);
const qint64 Cx = Frame.MapCenterX;
const qint64 Cy = Frame.MapCenterY;

MemberTable namedAt(std::initializer_list<std::pair<const char *, MapPoint>> entries)
{
    MemberTable members;
    for (const auto &[name, position] : entries)
        members.add(q(name), position);
    return members;
}

// The 8-point texts drawn on the map, in drawing order.
QStringList labels(const RecordingCanvas &canvas)
{
    QStringList found;
    for (const RecordingCanvas::Text &text : canvas.texts)
        if (text.points == 8)
            found.append(text.text);
    return found;
}

} // namespace

TEST(Drawing, AxesAndGridBars)
{
    RecordingCanvas canvas;
    Drawing(canvas, Frame, MemberTable());
    EXPECT_EQ(canvas.clears, 1);
    ASSERT_EQ(canvas.bars.size(), 2 + 4 * 18);
    const auto corners = [&](int i) {
        const RecordingCanvas::Bar &bar = canvas.bars.at(i);
        return std::array<qint64, 4>{bar.x1, bar.y1, bar.x2, bar.y2};
    };
    EXPECT_EQ(corners(0), (std::array<qint64, 4>{0, Cy + 4, Frame.MapWidth, Cy - 4}));
    EXPECT_EQ(corners(1), (std::array<qint64, 4>{Cx + 4, 0, Cx - 4, Frame.MapHeight}));
    EXPECT_EQ(canvas.bars.at(0).colour, QColor(0, 0, 0));
    // Line 1 below then above in light grey, line 5 darker, the last one at -180 units.
    EXPECT_EQ(corners(2), (std::array<qint64, 4>{0, Cy + 402, Frame.MapWidth, Cy + 398}));
    EXPECT_EQ(corners(3)[3], Cy - 402);
    EXPECT_EQ(canvas.bars.at(2).colour, QColor(200, 200, 200));
    EXPECT_EQ(canvas.bars.at(2 + 2 * 4).colour, QColor(100, 100, 100));
    EXPECT_EQ(corners(canvas.bars.size() - 1),
              (std::array<qint64, 4>{Cx - 7202, 0, Cx - 7198, Frame.MapHeight}));
}

TEST(Drawing, AxisNumbersIn7PointAndLabelsLeftAt8)
{
    RecordingCanvas canvas;
    Drawing(canvas, Frame, MemberTable());
    ASSERT_EQ(canvas.texts.size(), 12);
    for (const auto &[units, positive, negative] :
         {std::tuple{1, " 50", "-50"}, {2, " 100", "-100"}, {3, " 150", "-150"}}) {
        const qint64 offset = 2000 * units;
        EXPECT_EQ(canvas.textsAt(Cx, Cy - offset), QStringList({q(positive)}));
        EXPECT_EQ(canvas.textsAt(Cx, Cy + offset), QStringList({q(negative)}));
        EXPECT_EQ(canvas.textsAt(Cx + offset, Cy + 40), QStringList({q(positive)}));
        EXPECT_EQ(canvas.textsAt(Cx - offset, Cy + 40), QStringList({q(negative)}));
    }
    for (const RecordingCanvas::Text &text : canvas.texts)
        EXPECT_EQ(text.points, 7);
    EXPECT_EQ(canvas.points, 8);
}

TEST(Drawing, CellLabelPositions)
{
    RecordingCanvas canvas;
    const MemberTable members = namedAt({{"a", {0, 0}},
                                         {"b", {-1, -1}},
                                         {"c", {-180, 50}},
                                         {"d", {180, 50}},
                                         {"e", {0, -180}},
                                         {"f", {190, 0}},
                                         {"g", {0, 180}},
                                         {"h", {-181, -189}}});
    Drawing(canvas, Frame, members);
    const qint64 row6Top = Cy - 400 * 6;
    EXPECT_EQ(canvas.textsAt(Cx + 20, Cy - 160), QStringList({q("ａ")}));
    EXPECT_EQ(canvas.textsAt(Cx - 380, Cy + 240), QStringList({q("ｂ")}));
    EXPECT_EQ(canvas.textsAt(Cx - 7180, row6Top + 240), QStringList({q("ｃ")}));
    EXPECT_EQ(canvas.textsAt(Cx + 7220, row6Top + 240), QStringList({q("ｄ")}));
    EXPECT_EQ(canvas.textsAt(Cx + 20, Cy + 7440), QStringList({q("ｅ")}));
    // Outside the cell table: not on the map.
    // Columns left to right, in each column rows from the bottom up.
    EXPECT_EQ(labels(canvas), QStringList({q("ｃ"), q("ｂ"), q("ｅ"), q("ａ"), q("ｄ")}));
}

TEST(Drawing, TwoMembersOfACellAreStackedAndAThirdIsLeftOff)
{
    RecordingCanvas canvas;
    Drawing(canvas, Frame, namedAt({{"a", {5, 5}}, {"b/c", {9, 0}}, {"d", {1, 1}}}));
    EXPECT_EQ(canvas.textsAt(Cx + 20, Cy - 160), QStringList({q("ａ")}));
    // A name holding "/" is still one member with one label.
    EXPECT_EQ(canvas.textsAt(Cx + 20, Cy - 320), QStringList({q("ｂ")}));
    EXPECT_EQ(canvas.textsAt(Cx + 20 + RecordingCanvas::UnitWidth - 12, Cy - 320), QStringList({q("／")}));
    EXPECT_EQ(labels(canvas).size(), 3);
}

TEST(MemberLists, RowsAndLineForm)
{
    RecordingCanvas left;
    RecordingCanvas right;
    MemberTable members;
    for (int i = 1; i <= 76; ++i)
        members.add(QStringLiteral("n%1").arg(i), MapPoint{-35, 120});
    drawMemberLists(left, right, members);
    EXPECT_EQ(left.clears, 1);
    EXPECT_EQ(right.clears, 1);
    ASSERT_EQ(left.texts.size(), 75);
    ASSERT_EQ(right.texts.size(), 1);
    EXPECT_EQ(left.texts.at(0).top, 680);
    EXPECT_EQ(left.texts.at(74).top, 14000);
    EXPECT_EQ(left.texts.at(74).left, 40);
    EXPECT_EQ(left.texts.at(11).text, q("12  n12　(-35,120)"));
    EXPECT_EQ(right.texts.at(0).top, 220);
    EXPECT_EQ(right.texts.at(0).text, q("76  n76　(-35,120)"));
    EXPECT_EQ(right.texts.at(0).points, 8);
    EXPECT_EQ(memberListLine(1, q("甲"), {0, 7}), q("1   甲　(0,7)"));
    EXPECT_EQ(memberListLine(123, q("甲"), {0, 7}), q("123 甲　(0,7)"));
    EXPECT_EQ(memberListLine(10000, q("甲"), {0, 7}), q("10000甲　(0,7)"));
}

TEST(PlotRoster, DrawsMapDateLineAndListsFromTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(q("OVEKMAP_DATA_7.txt"));
    ASSERT_TRUE(DataFile::writeText(path, q("\"名前\",\"x\",\"y\"\r\n\"甲斐\",\"0\",\"0\"\r\n")));
    RecordingCanvas surface, picture1, picture2;
    FakeClock clock = fixedClock();
    const auto members = PlotRoster(path, Frame, 15360, clock, PlotSurfaces{surface, picture1, picture2});
    ASSERT_TRUE(members.has_value());
    EXPECT_EQ(members->MemberCount(), 1);
    EXPECT_EQ(surface.textsAt(2500, 13960), QStringList({Dates::shortDate(QDate(2024, 5, 6)) + q(" 作成")}));
    EXPECT_EQ(surface.textsAt(Cx + 20, Cy - 160), QStringList({q("甲")}));
    EXPECT_EQ(picture1.texts.size(), 1);
}

TEST(PlotRoster, NoFileDrawsNothing)
{
    QTemporaryDir dir;
    RecordingCanvas surface, picture1, picture2;
    FakeClock clock = fixedClock();
    EXPECT_FALSE(PlotRoster(dir.filePath(q("none.txt")), Frame, 15360, clock,
                            PlotSurfaces{surface, picture1, picture2}));
    EXPECT_EQ(surface.clears + picture1.clears + picture2.clears, 0);
    EXPECT_TRUE(surface.texts.isEmpty() && surface.bars.isEmpty());
}
