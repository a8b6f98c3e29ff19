// End to end: the programs as a user installs them, in a prefix nobody may
// write, against demosite. The installed ovekwarden keeps its roster,
// browser profile and history in the data folder of the user's home, and
// the installed revovi draws the map from the roster there.
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "testsupport/site/demositeprocess.h"
#include "testsupport/x11/testapplication.h"
#include "testsupport/x11/xvfbdisplay.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Takes the write bits off every folder and file below root (and gives them
// back), as a prefix under /usr is for a user.
void setWritable(const QString &root, bool writable)
{
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext())
        paths << it.next();
    for (const QString &path : paths) {
        QFile::Permissions permissions = QFile::permissions(path);
        const QFile::Permissions write =
            QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
        QFile::setPermissions(path, writable ? permissions | QFile::WriteOwner | QFile::WriteUser
                                             : permissions & ~write);
    }
}

class InstalledEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureTestApplication(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_prefix.isValid() && m_home.isValid());
        QProcess install;
        install.start(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(OVEK_BUILD_DIR),
                                                QStringLiteral("--prefix"), m_prefix.path()});
        ASSERT_TRUE(install.waitForFinished(120000) && install.exitCode() == 0)
            << install.readAllStandardError().toStdString();
        setWritable(m_prefix.path(), false);
        m_site.start({QStringLiteral("--auto-login"), QStringLiteral("--seed"), QStringLiteral("7"),
                      QStringLiteral("--members"), QStringLiteral("5")});
    }
    void TearDown() override { setWritable(m_prefix.path(), true); }

    QProcessEnvironment environment(const QProcessEnvironment &base) const
    {
        QProcessEnvironment env = base;
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        return env;
    }
    QString dataFolder() const { return m_home.path() + QStringLiteral("/.local/share/ovekwarden/"); }
    QString program(const QString &name) const { return m_prefix.path() + QStringLiteral("/bin/") + name; }

    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
    DemoSiteProcess m_site{QStringLiteral(OVEK_DEMOSITE_PROGRAM)};
};

TEST_F(InstalledEndToEnd, TheRosterGoesToTheHomesDataFolderAndTheInstalledPlotterDrawsIt)
{
    QProcess run;
    run.setProcessEnvironment(environment(QProcessEnvironment::systemEnvironment()));
    run.start(program(QStringLiteral("ovekwarden")),
              {QStringLiteral("--run"), QStringLiteral("roster"), QStringLiteral("--headless"),
               QStringLiteral("--top-url"), m_site.topUrl(), QStringLiteral("--world-url"),
               m_site.worldUrl()});
    ASSERT_TRUE(run.waitForFinished(240000));
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    ASSERT_EQ(run.exitCode(), 0) << out.toStdString() << run.readAllStandardError().toStdString();

    const QJsonObject world = QJsonDocument::fromJson(m_site.control(QStringLiteral("dump"))).object();
    const QString own =
        QString::number(world[QStringLiteral("player")][QStringLiteral("alliance_id")].toInt());
    const QString roster = RosterFile::fileName(own);
    EXPECT_TRUE(out.contains(QStringLiteral("roster: 5 members, ") + roster)) << out.toStdString();
    const QString worldFolder = m_site.worldFolder(dataFolder());
    const RosterFile::Read read = RosterFile::read(worldFolder + roster);
    ASSERT_TRUE(read.ok) << "the roster in " << worldFolder.toStdString();
    EXPECT_EQ(read.entries.size(), 5);
    for (const QString &beside : {QStringLiteral("browser-profile"), QStringLiteral("ovek_history.sqlite")})
        EXPECT_TRUE(QFileInfo::exists(worldFolder + beside)) << beside.toStdString();
    EXPECT_EQ(QDir(m_prefix.path() + QStringLiteral("/bin")).entryList(QDir::Files).size(), 2)
        << "nothing written beside the installed programs";

    XvfbDisplay display(1280, 1024);
    ASSERT_TRUE(display.isRunning());
    QProcess revovi;
    revovi.setProcessEnvironment(environment(display.environment()));
    // As the tool starts it: in the world's folder, with the roster's bare name.
    revovi.setWorkingDirectory(worldFolder);
    revovi.start(program(QStringLiteral("revovi")), {roster});
    ASSERT_TRUE(revovi.waitForStarted(5000));
    // The completion message comes once the map is drawn from the roster;
    // a roster it could not read is told instead.
    EXPECT_TRUE(display.waitForWindow(QStringLiteral("作業確認"))) << "the map was not drawn";
    const QImage shot = display.screenshot();
    revovi.kill();
    revovi.waitForFinished(3000);
    QDir().mkpath(QStringLiteral(SHOTS_DIR));
    shot.save(QStringLiteral(SHOTS_DIR "/installed-revovi.png"));
}

} // namespace
