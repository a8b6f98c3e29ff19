#include "testsupport/composer/composerfixture.h"

#include <QDir>

namespace {

using namespace ComposerTesting;

class SavedLettersTest : public ComposerTest
{
protected:
    void SetUp() override { open(); }
    void save() { m_composer->savedLetterCommand(1); }
    void load() { m_composer->savedLetterCommand(0); }
    void discard() { m_composer->savedLetterCommand(2); }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }
};

TEST_F(SavedLettersTest, AnEmptyLetterIsRefusedBodyFirstAndNothingIsWritten)
{
    m_port.text3 = QStringLiteral("  A,B ");
    m_port.text1 = QStringLiteral("   ");
    save();
    EXPECT_EQ(m_port.messages, QStringList{QStringLiteral("原稿が未記入です。")});
    EXPECT_EQ(m_port.text3, QStringLiteral("A,B"));
    m_port.messages.clear();
    m_port.text1 = QStringLiteral("本文");
    m_port.text2 = QStringLiteral("  ");
    save();
    EXPECT_EQ(m_port.messages, QStringList{QStringLiteral("件名(ファイル名)が未記入です。")});
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(m_port.combo1.isEmpty());
}

TEST_F(SavedLettersTest, SavingANewLetterWritesItsFileAndListsIt)
{
    m_port.text2 = QStringLiteral(" X ");
    m_port.text1 = QStringLiteral("一行目  \r\n\r\n最後  ");
    save();
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_TRUE(m_port.questions.isEmpty());
    EXPECT_EQ(m_port.combo1, QStringList{QStringLiteral("X")});
    EXPECT_EQ(bytes(QStringLiteral("書状3_X.txt")),
              DataFile::encode(QStringLiteral("TO: X \r\n一行目  \r\n\r\n最後\r\n")));
    // Saved again with nothing picked: written over without asking, listed twice.
    save();
    EXPECT_TRUE(m_port.questions.isEmpty());
    EXPECT_EQ(m_port.combo1, (QStringList{QStringLiteral("X"), QStringLiteral("X")}));
}

TEST_F(SavedLettersTest, SavingOverThePickedLetterAsksAndKeepsItsName)
{
    write(QStringLiteral("書状3_古い.txt"), QStringLiteral("TO:古い\r\n前の本文"));
    m_port.combo1 = {QStringLiteral("古い")};
    m_port.selected = 0;
    m_port.text2 = QStringLiteral("新しい件名");
    m_port.text1 = QStringLiteral("新しい本文");
    m_port.answerYes = false;
    save();
    EXPECT_EQ(m_port.questions, QStringList{QStringLiteral("同名のファイル名があります。上書きしますか")});
    EXPECT_EQ(bytes(QStringLiteral("書状3_古い.txt")),
              DataFile::encode(QStringLiteral("TO:古い\r\n前の本文\r\n")));
    m_port.answerYes = true;
    save();
    EXPECT_EQ(bytes(QStringLiteral("書状3_古い.txt")),
              DataFile::encode(QStringLiteral("TO:新しい件名\r\n新しい本文\r\n")));
    EXPECT_EQ(files(), QStringList{QStringLiteral("書状3_古い.txt")});
    EXPECT_EQ(m_port.combo1, QStringList{QStringLiteral("古い")});
}

TEST_F(SavedLettersTest, APickedLetterWhoseFileIsGoneIsSavedUnderTheSubject)
{
    m_port.combo1 = {QStringLiteral("消えた")};
    m_port.selected = 0;
    m_port.text2 = QStringLiteral("新");
    m_port.text1 = QStringLiteral("本文");
    save();
    EXPECT_TRUE(m_port.questions.isEmpty());
    EXPECT_EQ(files(), QStringList{QStringLiteral("書状3_新.txt")});
    EXPECT_EQ(m_port.combo1, (QStringList{QStringLiteral("消えた"), QStringLiteral("新")}));
}

TEST_F(SavedLettersTest, ASubjectThatCannotNameAFileIsRefusedBeforeAnythingIsWritten)
{
    m_port.text1 = QStringLiteral("本文");
    for (const QString &subject : {QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral("..")}) {
        m_port.messages.clear();
        m_port.text2 = subject;
        save();
        EXPECT_EQ(m_port.messages.size(), 1) << subject.toStdString();
    }
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(QDir(m_dir.path() + QStringLiteral("/..")).entryList({QStringLiteral("*x.txt")}).isEmpty());
    EXPECT_TRUE(m_port.combo1.isEmpty());
}

TEST_F(SavedLettersTest, LoadingGivesBackTheLetterAsSavedAndKeepsTheAddressees)
{
    m_port.text2 = QStringLiteral("𠮷野の件");
    m_port.text1 = QStringLiteral("𠮷野さんへ  \r\n\r\n\r\n");
    save();
    m_port.text1 = m_port.text2 = QString();
    m_port.text3 = QStringLiteral("A,B");
    m_port.selected = 0;
    load();
    EXPECT_EQ(m_port.text2, QStringLiteral("𠮷野の件"));
    EXPECT_EQ(m_port.text1,
              QStringLiteral("𠮷野さんへ  \r\n\r\n\r\n").replace(QStringLiteral("  "), QString()));
    EXPECT_EQ(m_port.text3, QStringLiteral("A,B"));
}

TEST_F(SavedLettersTest, LoadingDropsBlanksAtLineEndsAndTakesAFileWithoutSubjectAsBody)
{
    write(QStringLiteral("書状3_手書き.txt"), QStringLiteral("一行目  \r\n  二行目 "));
    write(QStringLiteral("書状3_件名付.txt"), QStringLiteral("TO:件名 \r\n本文 "));
    m_port.combo1 = {QStringLiteral("手書き"), QStringLiteral("件名付"), QStringLiteral("無い")};
    m_port.text2 = QStringLiteral("今の件名");
    m_port.selected = 0;
    load();
    EXPECT_EQ(m_port.text2, QStringLiteral("今の件名"));
    EXPECT_EQ(m_port.text1, QStringLiteral("一行目\r\n  二行目"));
    m_port.selected = 1;
    load();
    EXPECT_EQ(m_port.text2, QStringLiteral("件名"));
    EXPECT_EQ(m_port.text1, QStringLiteral("本文"));
    // Nothing picked, or the file is gone: nothing changes.
    m_port.selected = 2;
    load();
    m_port.selected = -1;
    load();
    EXPECT_EQ(m_port.text1, QStringLiteral("本文"));
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(SavedLettersTest, DiscardingDeletesThePickedFileAndItsEntryAtOnce)
{
    write(QStringLiteral("書状3_甲.txt"), QStringLiteral("TO:甲"));
    write(QStringLiteral("書状3_乙.txt"), QStringLiteral("TO:乙"));
    m_port.combo1 = {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("無い")};
    discard();
    EXPECT_EQ(files().size(), 2);
    m_port.selected = 1;
    discard();
    EXPECT_TRUE(m_port.questions.isEmpty());
    EXPECT_EQ(files(), QStringList{QStringLiteral("書状3_甲.txt")});
    EXPECT_EQ(m_port.combo1, (QStringList{QStringLiteral("甲"), QStringLiteral("無い")}));
    m_port.selected = 1;
    discard();
    EXPECT_EQ(m_port.combo1, (QStringList{QStringLiteral("甲"), QStringLiteral("無い")}));
}

} // namespace
