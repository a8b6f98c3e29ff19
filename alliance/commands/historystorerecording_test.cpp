#include "alliance/commands/activitycommand.h"
#include "alliance/commands/rostercommand.h"
#include "alliance/walk/historyrecorder.h"
#include "common/readfailure.h"
#include "history/historystore.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/common/coreapplication.h"
#include "testsupport/common/qtprinters.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <memory>

namespace {

const QString kRefused = QStringLiteral("名簿作成は完了しました。履歴を記録できませんでした（");

// The commands with the real store in AppDir, as the tool window hands it.
class StoreRecordingTest : public CommandFixture
{
protected:
    static void SetUpTestSuite() { ensureCoreApplication(); }

    StoreRecordingTest()
    {
        restartProgram();
        serveAlliance({{11, QStringLiteral("織田"), QStringLiteral("-12,34")},
                       {12, QStringLiteral("武田"), QStringLiteral("0,-180")}});
    }

    QString rosterPath() const { return m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"); }
    QByteArray rosterBytes() const
    {
        QFile file(rosterPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    // Text1 and the roster file of a run, the file removed afterwards so the
    // next run starts alike.
    std::pair<QString, QByteArray> runRoster()
    {
        m_port.text = QStringLiteral("前の出力");
        m_port.progress.clear();
        RosterCommand(m_context).run();
        std::pair<QString, QByteArray> result{m_port.text, rosterBytes()};
        QFile::remove(rosterPath());
        return result;
    }

    qsizetype storedSnapshots()
    {
        HistoryStore reader(m_session.appDir);
        const Result<QList<Snapshot>> all = reader.snapshots(QStringLiteral("7"));
        EXPECT_TRUE(all.ok) << all.error.toStdString();
        return all.value.size();
    }

    // The store as a new start of the program has it: nothing open yet.
    void restartProgram()
    {
        m_recorder.reset();
        m_store = std::make_unique<HistoryStore>(m_session.appDir);
        m_store->setBusyTimeout(50);
        m_recorder = std::make_unique<StoreRecorder>(*m_store, m_clock);
        m_context.history = m_recorder.get();
    }

    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<StoreRecorder> m_recorder;
};

TEST_F(StoreRecordingTest, ABrokenDatabaseLeavesTheRunAsItWouldBeSaysWhyAndASoundOneRecordsAgain)
{
    m_context.history = nullptr;
    const std::pair<QString, QByteArray> plain = runRoster();
    ASSERT_FALSE(plain.first.isEmpty());
    m_context.history = m_recorder.get();

    const std::pair<QString, QByteArray> first = runRoster();
    EXPECT_EQ(first, plain);
    EXPECT_EQ(m_port.progress.last(), QStringLiteral("名簿作成 2/2"));
    EXPECT_EQ(storedSnapshots(), 1);

    // Read-only.
    const QString path = m_store->path();
    const QFile::Permissions permissions = QFile::permissions(path);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_EQ(runRoster(), plain);
    EXPECT_TRUE(m_port.progress.last().startsWith(kRefused)) << m_port.progress.last().toStdString();
    EXPECT_FALSE(m_recorder->takeFailure().isEmpty()) << "the window tells it again after the run";
    EXPECT_TRUE(m_port.messages.isEmpty());
    ASSERT_TRUE(QFile::setPermissions(path, permissions));

    // Locked by another program's write.
    {
        const QString name = QStringLiteral("other_program");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            other.setDatabaseName(path);
            ASSERT_TRUE(other.open());
            QSqlQuery lock(other);
            ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            EXPECT_EQ(runRoster(), plain);
            EXPECT_TRUE(m_port.progress.last().startsWith(kRefused)) << m_port.progress.last().toStdString();
            lock.exec(QStringLiteral("ROLLBACK"));
            other.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    EXPECT_EQ(runRoster(), plain);
    EXPECT_EQ(m_port.progress.last(), QStringLiteral("名簿作成 2/2")) << "unlocked, it records again";
    EXPECT_EQ(storedSnapshots(), 2);

    // A file of garbage in its place, found at the next start.
    m_store.reset();
    m_recorder.reset();
    {
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        QFile garbage(path);
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly | QIODevice::Truncate));
        garbage.write(QByteArray(4096, '\x5a'));
    }
    restartProgram();
    EXPECT_EQ(runRoster(), plain);
    EXPECT_TRUE(m_port.progress.last().startsWith(kRefused)) << m_port.progress.last().toStdString();
    EXPECT_TRUE(m_port.messages.isEmpty());

    // Moved away by the user while the program runs.
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(runRoster(), plain);
    EXPECT_EQ(m_port.progress.last(), QStringLiteral("名簿作成 2/2"));
    EXPECT_EQ(storedSnapshots(), 1) << "a sound new database records again";
}

// Without any activity run: the member table's points of the roster walks
// are what 「推移」 lists its members and their idle days from.
TEST_F(StoreRecordingTest, RosterWalksAloneGiveTrendsItsMembersAndIdleDays)
{
    for (int day = 0; day < 3; ++day) {
        runRoster();
        m_clock.advance(24 * 3600);
    }
    HistoryStore reader(m_session.appDir);
    const Result<QList<IdleMember>> idle =
        reader.daysSincePointsLastMoved(QStringLiteral("7"), m_clock.now().date());
    ASSERT_TRUE(idle.ok) << idle.error.toStdString();
    ASSERT_EQ(idle.value.size(), 2);
    for (const IdleMember &member : idle.value) {
        EXPECT_EQ(member.days, 3) << member.name.toStdString();
        EXPECT_TRUE(member.neverMoved);
    }
}

TEST_F(StoreRecordingTest, ARunStoppedBetweenTwoMembersLeavesTheDatabaseWhole)
{
    runRoster();
    browser().addPage(profileAddress(12), QStringLiteral("<html><body>(本拠地) 座標なし</body></html>"));
    EXPECT_THROW(RosterCommand(m_context).run(), ReadFailure);
    EXPECT_EQ(storedSnapshots(), 1);

    HistoryStore reader(m_session.appDir);
    const Result<QList<Snapshot>> all = reader.snapshots(QStringLiteral("7"), History::Kinds::roster.key);
    ASSERT_EQ(all.value.size(), 1);
    EXPECT_EQ(all.value.first().members.size(), 2);
    EXPECT_EQ(all.value.first().takenAt, m_clock.now()) << "stamped with the run's clock";
    EXPECT_EQ(all.value.first().members[1].y, -180);
}

} // namespace
