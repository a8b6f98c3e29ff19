#include "common/datafile.h"
#include "testsupport/plotter/plotterfakes.h"
#include "plotter/rosterinput.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Plotter;

TEST(RosterReading, SkipsHeaderBlankAndIncompleteRecords)
{
    const MemberTable members = readRosterLines({
        q("\"名前\",\"x\",\"y\""),
        q("\"甲\",\"-12\",\"7\""),
        q("\"乙\",\"\",\"5\""),
        q("\"丙\",\"3\",\"\""),
        q("\"丁\",\"abc\",\"2.5\""),
        q(""),
    });
    ASSERT_EQ(members.MemberCount(), 2);
    EXPECT_EQ(members.MemberName, QStringList({q("甲"), q("丁")}));
    EXPECT_EQ(members.MemberPos.at(0).x, -12);
    EXPECT_EQ(members.MemberPos.at(0).y, 7);
    // No number reads as 0; halves go to the even neighbour.
    EXPECT_EQ(members.MemberPos.at(1).x, 0);
    EXPECT_EQ(members.MemberPos.at(1).y, 2);
}

TEST(RosterReading, AShortLineDoesNotShiftTheRecordsAfterIt)
{
    // A coordinate text without a comma makes a two-field line.
    const MemberTable members =
        readRosterLines({q("\"甲\",\"55\""), q("\"乙\",\"1\",\"2\""), q("\"丙\",\"3\",\"4\"")});
    EXPECT_EQ(members.MemberName, QStringList({q("乙"), q("丙")}));
    EXPECT_EQ(members.MemberPos.at(1).y, 4);
}

TEST(RosterReading, EveryRecordPast500IsKeptAndFarCoordinatesDoNotOverflow)
{
    QStringList lines;
    for (int i = 1; i <= 501; ++i)
        lines.append(QStringLiteral("\"m%1\",\"%1\",\"-%1\"").arg(i));
    lines.append(q("\"far\",\"99999999999999999999\",\"40000\""));
    const MemberTable members = readRosterLines(lines);
    ASSERT_EQ(members.MemberCount(), 502);
    EXPECT_EQ(members.MemberName.at(500), q("m501"));
    EXPECT_EQ(members.MemberPos.at(501).y, 40000);
    EXPECT_GT(members.MemberPos.at(501).x, 1'000'000'000);
}

TEST(RosterReading, FileInCodePage932WithCharacterReference)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(q("OVEKMAP_DATA_12.txt"));
    ASSERT_TRUE(DataFile::writeText(path, q("\"𠮷田\",\"-12\",\"34\"\r\n\"ｶﾞﾝ\",\"0\",\"0\"\r\n")));
    const std::optional<MemberTable> members = readRosterFile(path);
    ASSERT_TRUE(members.has_value());
    EXPECT_EQ(members->MemberName, QStringList({q("𠮷田"), q("ｶﾞﾝ")}));

    EXPECT_FALSE(readRosterFile(dir.filePath(q("missing.txt"))).has_value());
    EXPECT_FALSE(readRosterFile(dir.path() + q("/")).has_value());
}
