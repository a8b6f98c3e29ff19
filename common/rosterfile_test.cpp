#include "common/datafile.h"
#include "common/rosterfile.h"
#include "testsupport/common/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString q(const char *text)
{
    return QString::fromUtf8(text);
}

TEST(RosterFileLine, EveryCommaOfTheCoordinatesSeparatesAField)
{
    EXPECT_EQ(RosterFile::line(q("LordA"), q("-12,34")), q("\"LordA\",\"-12\",\"34\"\r\n"));
    EXPECT_EQ(RosterFile::line(q("織田信長"), q("7")), q("\"織田信長\",\"7\"\r\n"));
    EXPECT_EQ(RosterFile::line(q("LordB"), QString()), q("\"LordB\",\"\"\r\n"));
    EXPECT_EQ(RosterFile::line(q("A"), q("1,2,3")), q("\"A\",\"1\",\"2\",\"3\"\r\n"));
    EXPECT_EQ(RosterFile::line(q("A"), q(",")), q("\"A\",\"\",\"\"\r\n"));
    // Only the coordinates are split: the name and its blanks are kept as given.
    EXPECT_EQ(RosterFile::line(q("x,y"), q(" 1, 2 ")), q("\"x,y\",\" 1\",\" 2 \"\r\n"));
}

TEST(RosterFileText, ThreeMembersThenOneEmptyLine)
{
    const QString text =
        RosterFile::text({RosterFile::line(q("LordA"), q("-12,34")), RosterFile::line(q("LordB"), q("0,0")),
                          RosterFile::line(q("LordC"), q("180,-180"))});
    EXPECT_EQ(RosterFile::fileName(q("123")), q("OVEKMAP_DATA_123.txt"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(RosterFile::fileName(q("123")));
    ASSERT_TRUE(DataFile::writeText(path, text));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\"LordA\",\"-12\",\"34\"\r\n\"LordB\",\"0\",\"0\"\r\n"
                                         "\"LordC\",\"180\",\"-180\"\r\n\r\n"));
    const RosterFile::Read read = RosterFile::read(path);
    ASSERT_TRUE(read.exists && read.ok);
    ASSERT_EQ(read.entries.size(), 3);
    EXPECT_EQ(read.entries[2].name, q("LordC"));
    EXPECT_EQ(read.entries[2].x, q("180"));
    EXPECT_EQ(read.entries[2].y, q("-180"));
    EXPECT_EQ(read.entries[2].line, q("\"LordC\",\"180\",\"-180\""));
    EXPECT_FALSE(RosterFile::read(dir.path()).exists) << "a folder is no roster";
}

TEST(RosterFileFields, QuotesAreRemovedAndACommaInsideThemKept)
{
    EXPECT_EQ(RosterFile::fields(q("\"LordA\",\"-12\",\"34\"")),
              QStringList({q("LordA"), q("-12"), q("34")}));
    EXPECT_EQ(RosterFile::fields(q("\"a,b\",1,2")), QStringList({q("a,b"), q("1"), q("2")}));
    EXPECT_EQ(RosterFile::fields(q("")), QStringList({QString()}));
    EXPECT_EQ(RosterFile::fields(q("a,")), QStringList({q("a"), QString()}));
    EXPECT_EQ(RosterFile::fields(q("\"unclosed,1")), QStringList({q("unclosed,1")}));
    EXPECT_EQ(RosterFile::fields(q("\"山\"田\",\"1\",\"2\"")), QStringList({q("山"), q("1"), q("2")}));
}

TEST(RosterFileEntries, MemberLinesAreThoseWithANameHeaderAndEmptyLinesPassedOver)
{
    const QStringList lines{q("\"LordA\",\"-12\",\"34\""), QString(),        q("  \"\"  "),
                            q("\"名前\",\"x\",\"y\""),     q(" \"LordB\" "), q("\"Ｌｏｒｄ　C\",\"1\""),
                            q("\"\",\"5\",\"6\""),         q("名前X,1,2"),   q("\"a,b\",\"7\",\"8\"")};
    const QList<RosterFile::Entry> entries = RosterFile::entries(lines);
    EXPECT_EQ(RosterFile::names(entries),
              QStringList({q("LordA"), q("LordB"), q("Ｌｏｒｄ　C"), q("名前X"), q("a,b")}));
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[1].line, q(" \"LordB\" ")) << "the line as the file has it";
    EXPECT_EQ(entries[2].y, QString()) << "a field the line lacks is empty";
}

} // namespace
