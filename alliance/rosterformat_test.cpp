#include "alliance/rosterformat.h"
#include "common/datafile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(RosterLine, EveryCommaOfTheCoordinatesSeparatesAField)
{
    EXPECT_EQ(rosterLine(QStringLiteral("LordA"), QStringLiteral("-12,34")),
              QStringLiteral("\"LordA\",\"-12\",\"34\"\r\n"));
    EXPECT_EQ(rosterLine(QStringLiteral("織田信長"), QStringLiteral("7")),
              QStringLiteral("\"織田信長\",\"7\"\r\n"));
    EXPECT_EQ(rosterLine(QStringLiteral("LordB"), QString()), QStringLiteral("\"LordB\",\"\"\r\n"));
    EXPECT_EQ(rosterLine(QStringLiteral("A"), QStringLiteral("1,2,3")),
              QStringLiteral("\"A\",\"1\",\"2\",\"3\"\r\n"));
    EXPECT_EQ(rosterLine(QStringLiteral("A"), QStringLiteral(",")), QStringLiteral("\"A\",\"\",\"\"\r\n"));
    // Only the coordinates are split: the name and its blanks are kept as given.
    EXPECT_EQ(rosterLine(QStringLiteral("x,y"), QStringLiteral(" 1, 2 ")),
              QStringLiteral("\"x,y\",\" 1\",\" 2 \"\r\n"));
}

TEST(RosterFile, ThreeMembersThenOneEmptyLine)
{
    const QString text = rosterText({rosterLine(QStringLiteral("LordA"), QStringLiteral("-12,34")),
                                     rosterLine(QStringLiteral("LordB"), QStringLiteral("0,0")),
                                     rosterLine(QStringLiteral("LordC"), QStringLiteral("180,-180"))});
    EXPECT_EQ(rosterFileName(QStringLiteral("123")), QStringLiteral("OVEKMAP_DATA_123.txt"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(rosterFileName(QStringLiteral("123")));
    ASSERT_TRUE(DataFile::writeText(path, text));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\"LordA\",\"-12\",\"34\"\r\n\"LordB\",\"0\",\"0\"\r\n"
                                         "\"LordC\",\"180\",\"-180\"\r\n\r\n"));
}
