#include "plotter/mapgeometry.h"

#include <gtest/gtest.h>

using namespace Plotter;

TEST(MapFrame, FromWindowSizeWithHalvesToEvenAndWideScreens)
{
    const MapFrame frame = mapFrameFor(19320, 15030);
    EXPECT_EQ(frame.MapWidth, 19160);
    EXPECT_EQ(frame.MapHeight, 14230);
    EXPECT_EQ(frame.MapCenterX, 9630);
    EXPECT_EQ(frame.MapCenterY, 7115);
    // 9630.5 -> 9630 and 7115.5 -> 7116.
    EXPECT_EQ(mapFrameFor(19321, 15031).MapCenterX, 9630);
    EXPECT_EQ(mapFrameFor(19321, 15031).MapCenterY, 7116);
    // 2560 pixels: 38400 twips, past 32,767.
    EXPECT_EQ(mapFrameFor(38400, 21600).MapCenterX, 19170);
    EXPECT_EQ(picture2Left(38400), 36105);
    EXPECT_EQ(picture2Left(19200), 16905);
}

TEST(Cells, EdgesOfColumnsRowsAndTheTable)
{
    const std::pair<qint64, qint64> columns[] = {{-180, 0}, {-171, 0}, {-170, 1},
                                                 {-1, 17},  {0, 18},   {189, 36}};
    for (const auto &[x, column] : columns)
        EXPECT_EQ(cellColumn(x), column) << x;
    const std::pair<qint64, qint64> rows[] = {{0, 1},  {9, 1},    {10, 2},    {-1, 0},
                                              {-9, 0}, {-10, -1}, {-189, -18}};
    for (const auto &[y, row] : rows)
        EXPECT_EQ(cellRow(y), row) << y;
    EXPECT_TRUE(cellOf(-180, -189).has_value());
    EXPECT_TRUE(cellOf(189, 179).has_value());
    for (const auto &[x, y] :
         {std::pair<qint64, qint64>{-181, 0}, {190, 0}, {0, 180}, {0, -190}, {1'000'000'000'000, 0}})
        EXPECT_FALSE(cellOf(x, y).has_value()) << x << "," << y;
}
