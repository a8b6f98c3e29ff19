#include "alliance/rules/rankingarchive.h"
#include "testsupport/common/filesizelimit.h"
#include "testsupport/common/openfilelimit.h"
#include "testsupport/common/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

TEST(RankingArchiveTest, NamesFollowTheKeyAndTheCategoryCaption)
{
    EXPECT_EQ(RankingArchive::fileName(QStringLiteral("5"), 0), QStringLiteral("Archive_5_戦功.txt"));
    EXPECT_EQ(RankingArchive::fileName(QStringLiteral("5"), 1), QStringLiteral("Archive_5_攻撃.txt"));
    EXPECT_EQ(RankingArchive::fileName(QStringLiteral("5"), 2), QStringLiteral("Archive_5_防御.txt"));
    EXPECT_EQ(RankingArchive::fileName(QStringLiteral("12"), 3), QStringLiteral("Archive_12_総合.txt"));
}

TEST(RankingArchiveTest, SaveRefusesAnEmptyBoxAndTextWithoutABandHeader)
{
    EXPECT_EQ(RankingArchive::saveRefusal(QString()), QStringLiteral("データが作成されてません。"));
    EXPECT_EQ(RankingArchive::saveRefusal(QStringLiteral("12位 凛 3")), QStringLiteral("データが不正です。"));
    EXPECT_EQ(RankingArchive::saveRefusal(QStringLiteral("★第1～100位━━ 1人")),
              QStringLiteral("データが不正です。"));
    EXPECT_EQ(RankingArchive::saveRefusal(QStringLiteral("メモ 位━━━")), QString());
}

TEST(RankingArchiveTest, LoadingCleansMarksSoHeadersAreNoRowsAndRowsAreBare)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archive_5_戦功.txt"));
    const QString box = QStringLiteral("★第1～100位━━━ 3人 2人\r\n12位↑ 上昇 90↓\r\n13位　 新顔 5\r\n"
                                       "14位→ 𠮷川広家 7→\r\n●>メモ\r\n");
    ASSERT_TRUE(RankingArchive::save(path, box));
    // Code page 932, the box as it was, one more CR LF.
    EXPECT_TRUE(bytesOf(path).endsWith("\x83\x81\x83\x82\r\n\r\n"));
    EXPECT_TRUE(bytesOf(path).contains("&#134071;"));

    const RankingArchive::Loaded loaded = RankingArchive::load(path);
    ASSERT_TRUE(loaded.ok && loaded.found);
    EXPECT_EQ(loaded.savedText, QStringLiteral("★第1～100━━ 3人 2人\r\n12位 上昇 90\r\n13位 新顔 5\r\n"
                                               "14位 𠮷川広家 7\r\nメモ\r\n\r\n"));
    const SavedRanking saved = SavedRanking::fromText(loaded.savedText);
    ASSERT_EQ(saved.entries().size(), 3);
    EXPECT_EQ(saved.entries()[0].rank, QStringLiteral("12"));
    EXPECT_EQ(saved.entries()[0].name, QStringLiteral("上昇"));
    EXPECT_EQ(saved.entries()[0].score, QStringLiteral("90"));
    EXPECT_EQ(saved.entries()[2].name, QStringLiteral("𠮷川広家"));
}

TEST(RankingArchiveTest, MissingAndInvalidArchivesGiveNoSavedText)
{
    QTemporaryDir dir;
    const RankingArchive::Loaded missing = RankingArchive::load(dir.filePath(QStringLiteral("none.txt")));
    EXPECT_TRUE(missing.ok);
    EXPECT_FALSE(missing.found);

    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(RankingArchive::save(notes, QStringLiteral("12位→ 凛 3")));
    const RankingArchive::Loaded invalid = RankingArchive::load(notes);
    EXPECT_TRUE(invalid.ok);
    EXPECT_FALSE(invalid.found);
    EXPECT_TRUE(invalid.savedText.isEmpty());
}

TEST(RankingArchiveTest, AnUnreadableArchiveSaysWhy)
{
    QTemporaryDir dir;
    const QString locked = dir.filePath(QStringLiteral("locked.txt"));
    ASSERT_TRUE(RankingArchive::save(locked, QStringLiteral("★第1～100位━━━ 0人")));
    // No open succeeds meanwhile, whatever rights the test runs with.
    const RankingArchive::Loaded unreadable = [&] {
        OpenFileLimit noFileOpens;
        return RankingArchive::load(locked);
    }();
    EXPECT_FALSE(unreadable.ok);
    EXPECT_FALSE(unreadable.error.isEmpty());
    EXPECT_TRUE(unreadable.savedText.isEmpty());
}

TEST(RankingArchiveTest, SavedRowsKeepNamesWithBlanksSkipNotesAndHaveNoLimit)
{
    QString text = QStringLiteral("目標は10位以内\r\n  3位 真田 昌輝 1200  \r\n7位 凛\r\n");
    for (int i = 1; i <= 600; ++i)
        text += QStringLiteral("%1位 将%1 %2\r\n").arg(i).arg(i * 10);
    const SavedRanking saved = SavedRanking::fromText(text);
    ASSERT_EQ(saved.entries().size(), 602) << "a note with 位 is passed over, the rows still count";
    EXPECT_EQ(saved.entries()[0].name, QStringLiteral("真田 昌輝"));
    EXPECT_EQ(saved.entries()[0].rank, QStringLiteral("3"));
    EXPECT_EQ(saved.entries()[0].score, QStringLiteral("1200"));
    const SavedRanking::Entry *last = saved.find(QStringLiteral("将600"));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->score, QStringLiteral("6000"));
    EXPECT_EQ(saved.find(QStringLiteral("将6")), saved.entries().data() + 7);
    EXPECT_EQ(saved.find(QStringLiteral("将")), nullptr);
    // A full-width blank in a name is gone from the saved row; the lord is
    // still recognised.
    const SavedRanking blank =
        SavedRanking::fromText(RankingArchive::clean(QStringLiteral("5位→ 真田　幸村 9→")));
    EXPECT_NE(blank.find(QStringLiteral("真田　幸村")), nullptr);
}

TEST(RankingArchiveTest, ARowSavedWithAnEmptyScoreKeepsItsLord)
{
    // A score cell wrapped in a tag is saved as nothing after the name's blank.
    const SavedRanking saved = SavedRanking::fromText(RankingArchive::clean(
        QStringLiteral("★第1～100位━━━ 3人\r\n3位 凛 \r\n4位 真田 昌輝 \r\n5位→ 丸 12→\r\n")));
    ASSERT_EQ(saved.entries().size(), 3);
    for (const auto &[name, rank, score] :
         {std::tuple{QStringLiteral("凛"), QStringLiteral("3"), QString()},
          std::tuple{QStringLiteral("真田 昌輝"), QStringLiteral("4"), QString()},
          std::tuple{QStringLiteral("丸"), QStringLiteral("5"), QStringLiteral("12")}}) {
        const SavedRanking::Entry *entry = saved.find(name);
        ASSERT_NE(entry, nullptr) << name.toStdString();
        EXPECT_EQ(entry->rank, rank);
        EXPECT_EQ(entry->score, score);
    }
}

TEST(RankingArchiveTest, AFailedSaveKeepsThePreviousArchive)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archive_5_戦功.txt"));
    ASSERT_TRUE(RankingArchive::save(path, QStringLiteral("★第1～100位━━━ 1人\r\n1位 凛 3")));
    const QByteArray before = bytesOf(path);
    // The disk is as good as full: no file may grow past 64 bytes.
    const DataFile::Result written = [&] {
        FileSizeLimit fullDisk;
        return RankingArchive::save(path, QStringLiteral("★第1～100位━━━ 9人\r\n") + QString(100, u'凛'));
    }();
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.error.isEmpty());
    EXPECT_EQ(bytesOf(path), before);
}

} // namespace
