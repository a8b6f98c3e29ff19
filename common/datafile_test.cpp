#include "common/datafile.h"
#include "testsupport/common/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Code page 932 bytes spelled out by hand (checked against glibc's CP932), so
// the encoder is never its own judge.
QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
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

// A character the code page lacks used to make every later one a reference
// too: the converter's error flag outlived its reset.
TEST(DataFileEncoding, OnlyCharactersOutsideTheCodePageBecomeReferences)
{
    struct Case
    {
        const char *what;
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"one first, then kanji, kana, wave dash and full-width letters on later lines",
         QStringLiteral("\"𠮷川広家\",\"180\",\"-120\"\r\n\"Ｋｅｎ一郎\",\"55\",\"180\"\r\nあア～\r\n"),
         "\"&#134071;" + hex("90EC 8D4C 89C6") + "\",\"180\",\"-120\"\r\n\"" +
             hex("826A 8285 828E 88EA 9859") + "\",\"55\",\"180\"\r\n" + hex("82A0 8341 8160") + "\r\n"},
        {"two in a row inside a name", QStringLiteral("川𠮷𩸽田"),
         hex("90EC") + "&#134071;&#171581;" + hex("9363")},
        {"one from the basic plane between two that fit", QStringLiteral("田ö田"),
         hex("9363") + "&#246;" + hex("9363")},
        {"one at the very end", QStringLiteral("川広\r\n𩸽"), hex("90EC 8D4C") + "\r\n&#171581;"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray bytes = DataFile::encode(c.text);
        EXPECT_EQ(bytes.toHex(' ').toStdString(), c.bytes.toHex(' ').toStdString());
        EXPECT_EQ(DataFile::decode(c.bytes).toStdString(), c.text.toStdString());
    }
}

TEST(DataFileEncoding, TypedReferencesToCharactersInTheCodePageStayAsTyped)
{
    // After a reference of ours, too: deciding "fits" must not stick either.
    EXPECT_EQ(DataFile::decode("&#134071;&#30000; &#12354;&#65;").toStdString(), "𠮷&#30000; &#12354;&#65;");
    EXPECT_EQ(DataFile::encode(QStringLiteral("𠮷&#30000;")), QByteArray("&#134071;&#30000;"));
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
    EXPECT_EQ(read.value,
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QString(), QStringLiteral("～")}));
}

TEST_F(DataFileOnDisk, NameOutsideTheCodePageSurvivesWriteAndRead)
{
    const QStringList lines{QStringLiteral("\"𠮷野家\",\"-12\",\"34\""),
                            QStringLiteral("\"&#30000;中\",\"5\",\"6\"")};
    ASSERT_TRUE(DataFile::writeLines(path(QStringLiteral("r.txt")), lines));
    EXPECT_EQ(fileBytes(path(QStringLiteral("r.txt"))).toHex(' ').toStdString(),
              ("\"&#134071;" + hex("96EC 89C6") + "\",\"-12\",\"34\"\r\n\"&#30000;" + hex("9286") +
               "\",\"5\",\"6\"\r\n")
                  .toHex(' ')
                  .toStdString());
    EXPECT_EQ(DataFile::readLines(path(QStringLiteral("r.txt"))).value, lines);
}

TEST_F(DataFileOnDisk, MissingFileIsAnErrorNotAnEmptyRead)
{
    const DataFile::Lines read = DataFile::readLines(path(QStringLiteral("none.txt")));
    EXPECT_FALSE(read);
    EXPECT_TRUE(read.error.contains(QStringLiteral("ファイルがありません。（"))) << read.error.toStdString();
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
    EXPECT_TRUE(noDir.error.contains(QStringLiteral("保存先のフォルダがありません。（")))
        << noDir.error.toStdString();
    // A folder in the path that is a file: no folder either.
    const DataFile::Result fileAsDir =
        DataFile::writeText(path(QStringLiteral("roster.txt/x.txt")), QStringLiteral("x"));
    EXPECT_FALSE(fileAsDir);
    EXPECT_TRUE(fileAsDir.error.contains(QStringLiteral("保存先のフォルダがありません。")))
        << fileAsDir.error.toStdString();

#ifdef Q_OS_UNIX
    // A write that fails half way: the file size limit stops it (as a full
    // disk would) after part of the new text went out.
    const DataFile::Result partial = [&] {
        FileSizeLimit fullDisk;
        return DataFile::writeText(target, QString(5000, QChar(u'新')));
    }();
    EXPECT_FALSE(partial);
    EXPECT_TRUE(partial.error.contains(QStringLiteral("ディスクの空きが足りません。（")))
        << partial.error.toStdString();
#endif
    EXPECT_EQ(fileBytes(target), before);
    EXPECT_EQ(DataFile::listMatching(m_dir.path(), QStringLiteral("*.txt")),
              QStringList{QStringLiteral("roster.txt")})
        << "no temporary file may be left behind";
}

#ifdef Q_OS_UNIX
mode_t modeOf(const QString &path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

void setMode(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

// Root may write anything, so where a test needs the system to refuse, a
// root process becomes "nobody" for a moment (real and effective user: Qt asks
// access(), which judges by the real one) and keeps root as its saved user to
// come back; others stay as they are.
class Unprivileged
{
public:
    Unprivileged()
    {
        if (::geteuid() != 0)
            m_ok = true;
        else
            m_ok = m_stepped = ::setresuid(65534, 65534, 0) == 0;
    }
    ~Unprivileged()
    {
        // Every later test would run as "nobody": better to stop here.
        if (m_stepped && ::setresuid(0, 0, 0) != 0)
            std::abort();
    }
    bool ok() const { return m_ok; }

private:
    bool m_stepped = false;
    bool m_ok = false;
};

std::string octal(mode_t mode)
{
    return QString::number(mode, 8).toStdString();
}

TEST_F(DataFileOnDisk, ReplacedFileKeepsTheModeOfTheOldOne)
{
    // 0240 is what root would lose: Qt judges "owner may read" by what root may do.
    for (const mode_t mode : {mode_t(0640), mode_t(0240)}) {
        SCOPED_TRACE(octal(mode));
        const QString target = path(QStringLiteral("mode.txt"));
        ASSERT_TRUE(DataFile::writeText(target, QStringLiteral("旧")));
        setMode(target, mode);
        const DataFile::Result replaced = DataFile::writeText(target, QStringLiteral("新"));
        ASSERT_TRUE(replaced) << replaced.error.toStdString();
        EXPECT_EQ(octal(modeOf(target)), octal(mode));
        setMode(target, 0600);
        EXPECT_EQ(fileBytes(target), hex("9056 0D0A")) << "新 CR LF: it was replaced";
        QFile::remove(target);
    }
}

TEST_F(DataFileOnDisk, RefusedWriteSaysSoInJapaneseAndKeepsTheOldFile)
{
    // The folders must be reachable for the stepped-down user too.
    setMode(m_dir.path(), 0755);
    const QString lockedDir = path(QStringLiteral("locked"));
    const QString openDir = path(QStringLiteral("open"));
    ASSERT_TRUE(QDir().mkdir(lockedDir));
    ASSERT_TRUE(QDir().mkdir(openDir));
    // In "locked" the file may be written but not its folder; in "open" the
    // folder may be written but not the file.
    const QString inLocked = lockedDir + QStringLiteral("/roster.txt");
    const QString readOnly = openDir + QStringLiteral("/roster.txt");
    const QString unreadable = openDir + QStringLiteral("/secret.txt");
    for (const QString &file : {inLocked, readOnly, unreadable})
        ASSERT_TRUE(DataFile::writeText(file, QStringLiteral("\"旧\",\"1\",\"2\"")));
    const QByteArray before = fileBytes(inLocked);
    setMode(inLocked, 0666);
    setMode(lockedDir, 0555);
    setMode(openDir, 0777);
    setMode(readOnly, 0444);
    setMode(unreadable, 0200);

    DataFile::Result intoLocked;
    DataFile::Result overReadOnly;
    DataFile::Lines read;
    {
        const Unprivileged unprivileged;
        if (!unprivileged.ok()) {
            setMode(lockedDir, 0755);
            GTEST_SKIP() << "running as root and cannot step down to another user";
        }
        intoLocked = DataFile::writeText(inLocked, QStringLiteral("新"));
        overReadOnly = DataFile::writeText(readOnly, QStringLiteral("新"));
        read = DataFile::readLines(unreadable);
    }
    setMode(lockedDir, 0755); // so the temporary folder can be removed again

    const QString denied = QStringLiteral("書き込みが許可されていません。（");
    EXPECT_FALSE(intoLocked);
    EXPECT_TRUE(intoLocked.error.startsWith(QStringLiteral("ファイル %1 を保存できません: ").arg(inLocked)))
        << intoLocked.error.toStdString();
    EXPECT_TRUE(intoLocked.error.contains(denied)) << intoLocked.error.toStdString();
    EXPECT_TRUE(intoLocked.error.endsWith(QStringLiteral("）")));
    EXPECT_FALSE(overReadOnly);
    EXPECT_TRUE(overReadOnly.error.contains(denied)) << overReadOnly.error.toStdString();
    EXPECT_FALSE(read);
    EXPECT_TRUE(read.error.contains(QStringLiteral("読み込みが許可されていません。（")))
        << read.error.toStdString();

    EXPECT_EQ(fileBytes(inLocked), before);
    EXPECT_EQ(fileBytes(readOnly), before);
    EXPECT_EQ(octal(modeOf(readOnly)), "444");
    EXPECT_EQ(QDir(lockedDir).entryList(QDir::Files), QStringList{QStringLiteral("roster.txt")});
}
#endif

TEST_F(DataFileOnDisk, ListsMatchingFilesByName)
{
    for (const char *name : {"Archive_5_攻撃.txt", "Archive_5_戦功.txt", "other.txt"})
        ASSERT_TRUE(DataFile::writeText(path(QString::fromUtf8(name)), QString()));
    EXPECT_EQ(DataFile::listMatching(m_dir.path(), QStringLiteral("Archive_5_*.txt")).size(), 2);
    EXPECT_TRUE(DataFile::exists(path(QStringLiteral("other.txt"))));
    EXPECT_FALSE(DataFile::exists(m_dir.path()));
}

} // namespace
