// End to end: the real ovekwarden program run with --run on two worlds of
// one server whose alliance ids coincide (the same seed), in turn and at
// once, and on a data folder laid out as before the world folders.
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "history/historystore.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/site/demositeprocess.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kOldDate = QStringLiteral("2020/01/01");

struct World
{
    QString number;
    int members = 0;
    DemoSiteProcess site{QStringLiteral(OVEK_DEMOSITE_PROGRAM)};
};

class WorldsEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "worlds_e2e_test";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    void SetUp() override
    {
        for (World *world : {&m_w3, &m_w12})
            world->site.start({QStringLiteral("--auto-login"), QStringLiteral("--world"), world->number,
                               QStringLiteral("--members"), QString::number(world->members)});
        m_program = m_base.filePath(QStringLiteral("ovekwarden"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(OVEKWARDEN_PROGRAM), m_program));
        m_own = allianceOf(m_w3);
        ASSERT_EQ(allianceOf(m_w12), m_own) << "the same seed gives both worlds the same alliance id";
    }

    static QJsonObject dump(const World &world)
    {
        return QJsonDocument::fromJson(world.site.control(QStringLiteral("dump"))).object();
    }
    static QString allianceOf(const World &world)
    {
        return QString::number(dump(world)[QStringLiteral("player")][QStringLiteral("alliance_id")].toInt());
    }
    QString folderOf(const World &world) const { return world.site.worldFolder(m_base.path(), world.number); }

    QStringList arguments(const World *world, const QString &commands) const
    {
        QStringList arguments{QStringLiteral("--run"), commands, QStringLiteral("--headless")};
        if (world)
            arguments << QStringLiteral("--top-url") << world->site.topUrl() << QStringLiteral("--world-url")
                      << world->site.worldUrl() << QStringLiteral("--world") << world->number;
        return arguments;
    }
    // world: null for a run on the saved world, without any world option.
    void start(QProcess &process, const World *world) const
    {
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(m_program, arguments(world, QStringLiteral("roster,activity")));
        ASSERT_TRUE(process.waitForStarted());
    }
    static void expectDone(QProcess &process)
    {
        ASSERT_TRUE(process.waitForFinished(240000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAll().toStdString();
    }
    void runOn(const World *world)
    {
        QProcess process;
        start(process, world);
        expectDone(process);
    }

    static QByteArray bytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    QByteArray expectedRoster(const World &world) const
    {
        int members = 0;
        const QString text = RosterOracle::rosterText(dump(world), m_own, &members);
        EXPECT_EQ(members, world.members);
        return RosterOracle::codePage932Bytes(text + QStringLiteral("\r\n"));
    }
    QString activityPath(const QString &folder) const
    {
        return QDir(folder).filePath(QStringLiteral("同盟ポイントDATA_") + m_own + QStringLiteral(".txt"));
    }
    // Every member's "points last changed" day, as the record holds it.
    QStringList recordDates(const QString &folder) const
    {
        QStringList dates;
        for (const QString &line : DataFile::readLines(activityPath(folder)).value)
            dates << line.section(u'%', -1);
        return dates;
    }
    // The record as an earlier run long ago left it: the same points, an old day.
    void ageRecord(const QString &folder) const
    {
        QStringList lines = DataFile::readLines(activityPath(folder)).value;
        ASSERT_FALSE(lines.isEmpty());
        for (QString &line : lines)
            line = line.section(u'%', 0, -2) + u'%' + kOldDate;
        ASSERT_TRUE(DataFile::writeLines(activityPath(folder), lines));
    }
    QStringList snapshots(const QString &folder) const
    {
        HistoryStore history(folder);
        QStringList found;
        for (const Snapshot &snapshot : history.snapshots(m_own).value)
            found << snapshot.command + QString::number(snapshot.members.size());
        return found;
    }

    // The folder as a program of before left it after a run on world: every
    // file in the data folder itself, with a saved letter and an archive,
    // and an activity record of long ago. Returns the files and their bytes.
    QMap<QString, QByteArray> layOutAsBefore(const World &world)
    {
        runOn(&world);
        ageRecord(folderOf(world));
        const QDir base(m_base.path());
        QDir folder(folderOf(world));
        const QString letter = QStringLiteral("書状%1_集合.txt").arg(world.number);
        EXPECT_TRUE(DataFile::writeText(folder.filePath(letter), QStringLiteral("件名\r\n本文")));
        EXPECT_TRUE(DataFile::writeText(folder.filePath(QStringLiteral("Archive_5_戦功.txt")),
                                        QStringLiteral("1位")));
        QMap<QString, QByteArray> before;
        for (const QString &name : folder.entryList(QDir::Files)) {
            before.insert(name, bytes(folder.filePath(name)));
            EXPECT_TRUE(QDir().rename(folder.filePath(name), base.filePath(name))) << name.toStdString();
        }
        EXPECT_TRUE(QDir().rename(folder.filePath(QStringLiteral("browser-profile")),
                                  base.filePath(QStringLiteral("browser-profile"))));
        EXPECT_TRUE(folder.removeRecursively());
        EXPECT_TRUE(before.contains(QStringLiteral("ovek_history.sqlite")));
        EXPECT_TRUE(before.contains(letter));
        return before;
    }
    // After the next run on world: nothing of before is left in the data
    // folder, and the run read the files in the world's folder.
    void expectReadAsBefore(const World &world, const QMap<QString, QByteArray> &before) const
    {
        const QDir base(m_base.path());
        const QDir folder(folderOf(world));
        for (auto file = before.cbegin(); file != before.cend(); ++file)
            EXPECT_FALSE(base.exists(file.key())) << file.key().toStdString() << " stayed in the data folder";
        for (const QString &kept :
             {QStringLiteral("書状%1_集合.txt").arg(world.number), QStringLiteral("Archive_5_戦功.txt")})
            EXPECT_EQ(bytes(folder.filePath(kept)), before.value(kept)) << kept.toStdString();
        EXPECT_EQ(recordDates(folder.path()), QStringList(world.members, kOldDate))
            << "compared with the record of before";
        const QString roster = QStringLiteral("roster") + QString::number(world.members);
        const QString activity = QStringLiteral("activity") + QString::number(world.members);
        EXPECT_EQ(snapshots(folder.path()), QStringList({roster, activity, roster, activity}))
            << "the history of before goes on";
        EXPECT_TRUE(folder.exists(QStringLiteral("browser-profile")));
    }

    World m_w3{QStringLiteral("3"), 5};
    World m_w12{QStringLiteral("12"), 4};
    QTemporaryDir m_base;
    QString m_program;
    QString m_own;
};

TEST_F(WorldsEndToEnd, EachWorldKeepsItsOwnRosterRecordAndHistoryInTurnAndAtOnce)
{
    runOn(&m_w3);
    ageRecord(folderOf(m_w3));
    const QByteArray record3 = bytes(activityPath(folderOf(m_w3)));

    // World 12's first run is a first run: every member is new today, none
    // carries world 3's old day.
    runOn(&m_w12);
    EXPECT_EQ(bytes(QDir(folderOf(m_w3)).filePath(RosterFile::fileName(m_own))), expectedRoster(m_w3));
    EXPECT_EQ(bytes(QDir(folderOf(m_w12)).filePath(RosterFile::fileName(m_own))), expectedRoster(m_w12));
    EXPECT_EQ(bytes(activityPath(folderOf(m_w3))), record3);
    const QStringList dates12 = recordDates(folderOf(m_w12));
    EXPECT_EQ(dates12.size(), 4);
    EXPECT_FALSE(dates12.contains(kOldDate)) << dates12.join(u' ').toStdString();
    EXPECT_EQ(snapshots(folderOf(m_w3)),
              QStringList({QStringLiteral("roster5"), QStringLiteral("activity5")}));
    EXPECT_EQ(snapshots(folderOf(m_w12)),
              QStringList({QStringLiteral("roster4"), QStringLiteral("activity4")}));

    // Both at once: neither is refused, each reads only its own.
    QProcess first;
    QProcess second;
    start(first, &m_w3);
    start(second, &m_w12);
    expectDone(first);
    expectDone(second);
    EXPECT_EQ(bytes(QDir(folderOf(m_w3)).filePath(RosterFile::fileName(m_own))), expectedRoster(m_w3));
    EXPECT_EQ(bytes(QDir(folderOf(m_w12)).filePath(RosterFile::fileName(m_own))), expectedRoster(m_w12));
    EXPECT_EQ(recordDates(folderOf(m_w3)), QStringList(5, kOldDate)) << "compared with its own record";
    EXPECT_EQ(snapshots(folderOf(m_w3)),
              QStringList({QStringLiteral("roster5"), QStringLiteral("activity5"), QStringLiteral("roster5"),
                           QStringLiteral("activity5")}));
    EXPECT_EQ(snapshots(folderOf(m_w12)),
              QStringList({QStringLiteral("roster4"), QStringLiteral("activity4"), QStringLiteral("roster4"),
                           QStringLiteral("activity4")}));
}

// A folder as the program left it before each world had its own: every file
// in the data folder itself, and the settings naming the world they were
// written for.
TEST_F(WorldsEndToEnd, TheFilesOfBeforeMoveIntoTheSavedWorldsFolderAndTheNextRunsReadThem)
{
    const QMap<QString, QByteArray> before = layOutAsBefore(m_w3);
    const QDir base(m_base.path());
    {
        QFile settings(base.filePath(QStringLiteral("ovekwarden.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
        settings.write(QStringLiteral("top-url=%1\nworld-url=%2\nworld=3\nranking-key=5\n")
                           .arg(m_w3.site.topUrl(), m_w3.site.worldUrl())
                           .toUtf8());
    }

    runOn(nullptr);
    expectReadAsBefore(m_w3, before);

    // World 12 beside it starts afresh.
    runOn(&m_w12);
    EXPECT_EQ(snapshots(folderOf(m_w12)),
              QStringList({QStringLiteral("roster4"), QStringLiteral("activity4")}));
}

// A folder copied from the Windows tool has no settings file: its files are
// the world's the user starts there.
TEST_F(WorldsEndToEnd, WithoutSettingsTheFilesOfBeforeAreTheStartedWorlds)
{
    const QMap<QString, QByteArray> before = layOutAsBefore(m_w12);
    ASSERT_TRUE(QFile::remove(m_base.filePath(QStringLiteral("ovekwarden.ini"))));
    runOn(&m_w12);
    expectReadAsBefore(m_w12, before);
    EXPECT_FALSE(QDir(folderOf(m_w3)).exists()) << "world 3 was never started";
}

} // namespace
