#include "common/datafile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

TEST(DataFileEncoding, WaveDashIsTheWindowsCodePoint)
{
    EXPECT_EQ(DataFile::encode(QStringLiteral("～")), QByteArray("\x81\x60"));
    EXPECT_EQ(DataFile::decode(QByteArray("\x81\x60")), QStringLiteral("～"));
    // Backslash and tilde stay ASCII in the Windows variant.
    EXPECT_EQ(DataFile::encode(QStringLiteral("\\~")), QByteArray("\\~"));
}

TEST(DataFileEncoding, ReportSymbolsRoundTrip)
{
    const QString symbols = QStringLiteral("━★○｡↑↓→（一）　ｶﾞｷﾞ盟主補佐");
    const QByteArray bytes = DataFile::encode(symbols);
    EXPECT_FALSE(bytes.contains("&#")) << bytes.toStdString();
    EXPECT_EQ(DataFile::decode(bytes), symbols);
}

TEST(DataFileEncoding, CharacterOutsideTheCodePageBecomesAReferenceAndComesBack)
{
    const QString name = QStringLiteral("𠮷田 殿");
    const QByteArray bytes = DataFile::encode(name);
    EXPECT_TRUE(bytes.startsWith("&#134071;"));
    EXPECT_EQ(DataFile::decode(bytes), name);
    // A reference to a character the code page holds is literal text someone typed.
    EXPECT_EQ(DataFile::decode("&#65;&#12354;"), QStringLiteral("&#65;&#12354;"));
}

TEST(DataFileEncoding, StrayBytesDoNotFailTheRead)
{
    const QString text = DataFile::decode(QByteArray("ok\x81\xFF\x80 end"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("ok")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("end")));
}

class DataFileOnDisk : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
};

TEST_F(DataFileOnDisk, TextInOnePieceGetsCrLfLinesAndOneMoreCrLf)
{
    ASSERT_TRUE(DataFile::writeText(path(QStringLiteral("a.txt")), QStringLiteral("一\n二\r\n")));
    EXPECT_EQ(fileBytes(path(QStringLiteral("a.txt"))), QByteArray("\x88\xEA\r\n\x93\xF1\r\n\r\n"));

    ASSERT_TRUE(DataFile::writeLines(path(QStringLiteral("b.txt")), {QStringLiteral("x"), QString()}));
    EXPECT_EQ(fileBytes(path(QStringLiteral("b.txt"))), QByteArray("x\r\n\r\n"));
}

TEST_F(DataFileOnDisk, ReadsCrLfAndLfLinesAndKeepsEmptyLinesInside)
{
    QFile file(path(QStringLiteral("in.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a\r\nb\n\r\n\x81\x60\r\n");
    file.close();
    const DataFile::Lines read = DataFile::readLines(path(QStringLiteral("in.txt")));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.lines,
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QString(), QStringLiteral("～")}));
}

TEST_F(DataFileOnDisk, NameOutsideTheCodePageSurvivesWriteAndRead)
{
    const QString name = QStringLiteral("\"𠮷野家\",\"-12\",\"34\"");
    ASSERT_TRUE(DataFile::writeLines(path(QStringLiteral("r.txt")), {name}));
    EXPECT_EQ(DataFile::readLines(path(QStringLiteral("r.txt"))).lines, QStringList{name});
}

TEST_F(DataFileOnDisk, MissingFileIsAnErrorNotAnEmptyRead)
{
    const DataFile::Lines read = DataFile::readLines(path(QStringLiteral("none.txt")));
    EXPECT_FALSE(read);
    EXPECT_FALSE(read.error.isEmpty());
}

TEST_F(DataFileOnDisk, FailedWriteLeavesThePreviousFileByteIdentical)
{
    const QString target = path(QStringLiteral("roster.txt"));
    ASSERT_TRUE(DataFile::writeText(target, QStringLiteral("\"旧\",\"1\",\"2\"")));
    const QByteArray before = fileBytes(target);

    // A directory that does not exist: nothing can be written at all.
    const DataFile::Result noDir =
        DataFile::writeText(path(QStringLiteral("gone/roster.txt")), QStringLiteral("x"));
    EXPECT_FALSE(noDir);
    EXPECT_FALSE(noDir.error.isEmpty());

#ifdef Q_OS_UNIX
    // A write that fails half way: the file size limit stops it (as a full
    // disk would) after part of the new text went out.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    const DataFile::Result partial = DataFile::writeText(target, QString(5000, QChar(u'新')));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(partial);
#endif
    EXPECT_EQ(fileBytes(target), before);
    EXPECT_EQ(DataFile::listMatching(m_dir.path(), QStringLiteral("*.txt")),
              QStringList{QStringLiteral("roster.txt")})
        << "no temporary file may be left behind";
}

TEST_F(DataFileOnDisk, ListsMatchingFilesByName)
{
    for (const char *name : {"Archive_5_攻撃.txt", "Archive_5_戦功.txt", "other.txt"})
        ASSERT_TRUE(DataFile::writeText(path(QString::fromUtf8(name)), QString()));
    EXPECT_EQ(DataFile::listMatching(m_dir.path(), QStringLiteral("Archive_5_*.txt")).size(), 2);
    EXPECT_TRUE(DataFile::exists(path(QStringLiteral("other.txt"))));
    EXPECT_FALSE(DataFile::exists(m_dir.path()));
}

} // namespace
