#include "site/knownworlds.h"
#include "site/worldsettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

WorldConfig world(const char *worldUrl, const char *number, const char *rankingKey = "5")
{
    WorldConfig w;
    w.gameSiteTopUrl = QStringLiteral("http://127.0.0.1:18080");
    w.worldBaseUrl = QString::fromLatin1(worldUrl);
    w.worldNumber = QString::fromLatin1(number);
    w.warRankingKey = QString::fromLatin1(rankingKey);
    return w;
}

QStringList texts(std::initializer_list<const char *> items)
{
    QStringList list;
    for (const char *item : items)
        list << QString::fromUtf8(item);
    return list;
}

QStringList folders(const QList<WorldConfig> &worlds)
{
    QStringList names;
    for (const WorldConfig &w : worlds)
        names << w.folderName() + u'/' + w.warRankingKey;
    return names;
}

TEST(KnownWorlds, TheLastOneChosenComesFirstAndARunInTheBackgroundKeepsTheOrder)
{
    QTemporaryDir base;
    const WorldConfig w3 = world("http://127.0.0.1:18083", "3");
    const WorldConfig w12 = world("http://127.0.0.1:18093", "12");
    const WorldConfig w5 = world("https://w5.example.jp", "5");
    // Nothing written yet: the saved world is the one.
    EXPECT_EQ(folders(KnownWorlds::load(base.path(), w3)), texts({"w003_127.0.0.1_18083/5"}));

    ASSERT_TRUE(KnownWorlds::remember(base.path(), w12, KnownWorlds::Use::Chosen).isEmpty());
    EXPECT_EQ(folders(KnownWorlds::load(base.path(), w3)),
              texts({"w012_127.0.0.1_18093/5", "w003_127.0.0.1_18083/5"}));
    ASSERT_TRUE(KnownWorlds::remember(base.path(), w3, KnownWorlds::Use::Chosen).isEmpty());
    ASSERT_TRUE(KnownWorlds::remember(base.path(), w5, KnownWorlds::Use::Background).isEmpty());
    ASSERT_TRUE(KnownWorlds::remember(base.path(), world("http://127.0.0.1:18093", "12", "7"),
                                      KnownWorlds::Use::Background)
                    .isEmpty());
    EXPECT_EQ(folders(KnownWorlds::load(base.path(), w3)),
              texts({"w003_127.0.0.1_18083/5", "w012_127.0.0.1_18093/7", "w005_w5.example.jp/5"}));
}

TEST(KnownWorlds, TheSavedValuesAreLeftAsTheyWereAndASpoiltEntryIsNotOffered)
{
    QTemporaryDir base;
    const QString path = QDir(base.path()).filePath(WorldSettingsFile::fileName());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("world-url=http://127.0.0.1:18083\nworld=3\n"
                   "[worlds]\n1\\world-url=http://127.0.0.1:18093/\n1\\world=12\n1\\top-url=http://t\n"
                   "1\\ranking-key=5\nsize=1\n");
    }
    const WorldConfig w3 = world("http://127.0.0.1:18083", "3");
    EXPECT_EQ(folders(KnownWorlds::load(base.path(), w3)), texts({"w003_127.0.0.1_18083/5"}));
    ASSERT_TRUE(
        KnownWorlds::remember(base.path(), world("http://127.0.0.1:18093", "12"), KnownWorlds::Use::Chosen)
            .isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("world-url=http://127.0.0.1:18083")) << text.toStdString();
    EXPECT_TRUE(text.contains("world=3")) << text.toStdString();
}

TEST(KnownWorlds, CaptionsAreTheLinkKeysWithTheServerWhereTwoShareOne)
{
    EXPECT_EQ(
        KnownWorlds::captions({world("http://127.0.0.1:18083", "3"), world("https://w12.example.jp", "12"),
                               world("http://127.0.0.1:18093", "3")}),
        texts({"w003 127.0.0.1:18083", "w012", "w003 127.0.0.1:18093"}));
}

} // namespace
