#include "testsupport/trends/trendstestsupport.h"
#include "trends/csvfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString withoutBom(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.mid(3));
}

TEST(CsvFile, AwkwardFieldsSurviveASpreadsheetReading)
{
    const QList<QStringList> rows = {
        {QStringLiteral("名前"), QStringLiteral("人口"), QStringLiteral("戦功")},
        {QStringLiteral("山田,太郎"), QStringLiteral("1,250"), QString()},
        {QStringLiteral("say \"凛\""), QStringLiteral("\""), QStringLiteral("\"\"")},
        // U+20BB7 and U+2603: code page 932 holds neither.
        {QStringLiteral("𠮷野☃"), QStringLiteral(" lead"), QStringLiteral("trail ")},
        {QStringLiteral("two\r\nlines"), QStringLiteral("a\nb"), QStringLiteral(",")},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    ASSERT_TRUE(Csv::write(path, rows).ok);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes, Csv::encode(rows));
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(TrendsTest::readCsv(withoutBom(bytes)), rows);
}

TEST(CsvFile, PlainFieldsStayBareAndEveryRowEndsWithCrLf)
{
    const QByteArray bytes =
        Csv::encode({{QStringLiteral("名前"), QStringLiteral("X"), QStringLiteral("Y")},
                     {QStringLiteral("LordA"), QStringLiteral("-12"), QStringLiteral("34")},
                     {QStringLiteral("a b"), QString(), QStringLiteral("x,y")}});
    EXPECT_EQ(bytes, QByteArrayLiteral("\xEF\xBB\xBF") +
                         QStringLiteral("名前,X,Y\r\nLordA,-12,34\r\na b,,\"x,y\"\r\n").toUtf8());
    EXPECT_EQ(Csv::field(QStringLiteral("a\"b")), QStringLiteral("\"a\"\"b\""));
    EXPECT_EQ(Csv::field(QStringLiteral(" a")), QStringLiteral("\" a\""));
    EXPECT_EQ(Csv::field(QStringLiteral("a\r")), QStringLiteral("\"a\r\""));
}

TEST(CsvFile, AFileThatCannotBeWrittenIsReportedAndTheOldOneStays)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    ASSERT_TRUE(Csv::write(path, {{QStringLiteral("old")}}).ok);
    const DataFile::Result failed =
        Csv::write(dir.filePath(QStringLiteral("no/such/dir/t.csv")), {{QStringLiteral("x")}});
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(withoutBom(file.readAll()), QStringLiteral("old\r\n"));
}

} // namespace
