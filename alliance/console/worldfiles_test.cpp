#include "alliance/console/worldfiles.h"
#include "site/profilelock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The world the program of before was set to.
const WorldConfig kWorld3{QStringLiteral("https://game.test"), QStringLiteral("https://w3.game.test"),
                          QStringLiteral("3"), QStringLiteral("5")};

class FilesOfBefore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto &names : {kWorlds3, kOthers}) {
            for (const char *name : names)
                write(QString::fromUtf8(name));
        }
        write(QStringLiteral("診断/20261207_221500_ranking.html"));
        write(QStringLiteral("browser-profile/Default/Cookies"));
        write(QStringLiteral("w012_w12.game.test/OVEKMAP_DATA_2581.txt"));
    }
    void write(const QString &name) const
    {
        QDir().mkpath(QFileInfo(m_base.filePath(name)).absolutePath());
        QFile file(m_base.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
    QString world3Folder() const { return m_base.filePath(kWorld3.folderName()) + u'/'; }

    // What the program of before wrote for its world.
    static constexpr std::initializer_list<const char *> kWorlds3 = {
        "OVEKMAP_DATA_2581.txt",    "同盟ポイントDATA_2581.txt",
        "Archive_5_戦功.txt",       "Archive_6_総合.txt",
        "書状3_集合.txt",           "MailAd追加.txt",
        "report_2581_20261201.txt", "castles_2581_20261201.txt",
        "ovek_history.sqlite",      "ovek_history.sqlite-wal"};
    // Not the program's, or another world's letters: they stay.
    static constexpr std::initializer_list<const char *> kOthers = {"書状12_集合.txt", "メモ.txt",
                                                                    "ovekwarden.ini", "revovi"};
    QTemporaryDir m_base;
};

TEST_F(FilesOfBefore, MoveIntoTheSavedWorldsFolderAndEverythingElseStays)
{
    EXPECT_EQ(WorldFiles::adoptFilesOfBefore(m_base.path(), kWorld3), QString());
    const QDir base(m_base.path());
    for (const char *name : kWorlds3) {
        EXPECT_FALSE(base.exists(QString::fromUtf8(name))) << name;
        QFile moved(world3Folder() + QString::fromUtf8(name));
        ASSERT_TRUE(moved.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(moved.readAll(), QByteArray(name));
    }
    for (const char *name : kOthers)
        EXPECT_TRUE(base.exists(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(QFile::exists(world3Folder() + QStringLiteral("診断/20261207_221500_ranking.html")));
    EXPECT_TRUE(QFile::exists(world3Folder() + QStringLiteral("browser-profile/Default/Cookies")));
    EXPECT_TRUE(base.exists(QStringLiteral("w012_w12.game.test/OVEKMAP_DATA_2581.txt")));
    // Once moved, a later start has nothing to do.
    EXPECT_EQ(WorldFiles::adoptFilesOfBefore(m_base.path(), kWorld3), QString());
}

TEST_F(FilesOfBefore, StayWhileAProgramOfBeforeHoldsThemAndNeverReplaceTheWorldsOwn)
{
    {
        ProfileLock running(m_base.filePath(QStringLiteral("browser-profile")));
        ASSERT_EQ(running.tryLock(), ProfileLock::Claim::Held);
        EXPECT_EQ(WorldFiles::adoptFilesOfBefore(m_base.path(), kWorld3), QString());
        EXPECT_TRUE(QFile::exists(m_base.filePath(QStringLiteral("OVEKMAP_DATA_2581.txt"))));
    }
    ASSERT_TRUE(QDir().mkpath(world3Folder()));
    QFile own(world3Folder() + QStringLiteral("OVEKMAP_DATA_2581.txt"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("the world's own");
    own.close();

    const QString told = WorldFiles::adoptFilesOfBefore(m_base.path(), kWorld3);
    EXPECT_TRUE(told.contains(QStringLiteral("OVEKMAP_DATA_2581.txt"))) << told.toStdString();
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), QByteArray("the world's own"));
    EXPECT_TRUE(QFile::exists(m_base.filePath(QStringLiteral("OVEKMAP_DATA_2581.txt"))));
    EXPECT_TRUE(QFile::exists(world3Folder() + QStringLiteral("ovek_history.sqlite")));
}

} // namespace
