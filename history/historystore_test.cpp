#include "history/historystore.h"
#include "history/historytrends.h"
#include "testsupport/common/coreapplication.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QVariant>
#include <gtest/gtest.h>

namespace {

// A second program's connection to the same file.
class RawConnection
{
public:
    explicit RawConnection(const QString &path) : m_name(QStringLiteral("raw_%1").arg(++s_counter))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool exec(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        return query.exec(statement);
    }
    QVariant value(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        if (!query.exec(statement) || !query.next())
            return {};
        return query.value(0);
    }

private:
    static inline int s_counter = 0;
    QString m_name;
};

// Takes a file back to what the version before reply checks, rankings and
// notes made: without their columns and table.
void undoRunColumns(RawConnection &raw)
{
    ASSERT_TRUE(raw.exec(QStringLiteral("DROP TABLE run_record")));
    ASSERT_TRUE(raw.exec(QStringLiteral("DROP TABLE member_note")));
    ASSERT_TRUE(raw.exec(QStringLiteral("ALTER TABLE points_state DROP COLUMN stood_days")));
    ASSERT_TRUE(raw.exec(QStringLiteral("ALTER TABLE snapshot DROP COLUMN detail")));
    for (const char *column : {"replied", "rank", "score"})
        ASSERT_TRUE(
            raw.exec(QStringLiteral("ALTER TABLE member_reading DROP COLUMN %1").arg(QLatin1String(column))));
}

MemberReading fullReading(int position, const QString &userId, const QString &name)
{
    MemberReading reading;
    reading.position = position;
    reading.userId = userId;
    reading.name = name;
    reading.x = -position;
    reading.y = 200 + position;
    reading.points = 5'000'000'000LL + position; // beyond 32 bits
    reading.population = 1000 * position;
    reading.merit = 7 * position;
    reading.role = QStringLiteral("盟主");
    reading.fiefCount = position + 10;
    return reading;
}

MemberReading nameOnly(int position, const QString &userId, const QString &name)
{
    MemberReading reading;
    reading.position = position;
    reading.userId = userId;
    reading.name = name;
    return reading;
}

Snapshot snapshotOn(int day, const QString &command, const QList<MemberReading> &members,
                    const QString &allianceId = QStringLiteral("7"))
{
    return Snapshot{0, QDateTime(QDate(2026, 12, day), QTime(21, 15, 30), QTimeZone(9 * 3600)), command,
                    allianceId, members};
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

class HistoryStoreTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureCoreApplication(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_store.setBusyTimeout(100);
    }

    // The file as the version before reply checks, rankings, notes and run
    // records left it, marked read-only by the user.
    void keepAsAReadOnlyFileOfBefore()
    {
        m_store.setBusyTimeout(100); // closes the connection
        {
            RawConnection raw(m_store.path());
            undoRunColumns(raw);
            ASSERT_TRUE(raw.exec(QStringLiteral("PRAGMA user_version = 2")));
        }
        QFile::setPermissions(m_store.path(), QFileDevice::ReadOwner);
    }

    qsizetype countSnapshots()
    {
        HistoryStore reader(m_dir.path());
        return reader.snapshots(QStringLiteral("7")).value.size();
    }

    QTemporaryDir m_dir;
    HistoryStore m_store{m_dir.path()};
    const Snapshot m_sound =
        snapshotOn(1, QStringLiteral("roster"), {nameOnly(1, QStringLiteral("1"), QStringLiteral("凛"))});
};

void expectRecordingFailure(const Result<qint64> &result, const QString &reason)
{
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(QStringLiteral("履歴を記録できませんでした（")))
        << result.error.toStdString();
    EXPECT_TRUE(result.error.contains(reason)) << result.error.toStdString();
    EXPECT_TRUE(result.error.endsWith(u'）'));
}

} // namespace

TEST_F(HistoryStoreTest, FiveSnapshotsReadBackInTimeOrderWithEveryField)
{
    const QList<MemberReading> full = {fullReading(1, QStringLiteral("101"), QStringLiteral("凛")),
                                       fullReading(2, QStringLiteral("102"), QStringLiteral("太郎"))};
    const QList<Snapshot> recorded = {
        snapshotOn(1, QStringLiteral("roster"),
                   {nameOnly(1, QStringLiteral("101"), QStringLiteral("凛")),
                    nameOnly(2, QStringLiteral("102"), QStringLiteral("太郎"))}),
        snapshotOn(3, QStringLiteral("report"), full),
        // Recorded later but taken earlier: read back in time order.
        snapshotOn(2, QStringLiteral("activity"), {nameOnly(1, QString(), QStringLiteral("太郎"))}),
        snapshotOn(4, QStringLiteral("castles"), {}),
        snapshotOn(5, QStringLiteral("roster"), {nameOnly(1, QStringLiteral("102"), QStringLiteral("太郎"))}),
    };
    QList<qint64> ids;
    for (const Snapshot &snapshot : recorded) {
        const Result<qint64> result = m_store.recordSnapshot(snapshot);
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        ids << result.value;
    }
    ASSERT_TRUE(m_store.recordSnapshot(snapshotOn(2, QStringLiteral("roster"), full, QStringLiteral("8"))));

    // A fresh connection, as the next start of the program has.
    HistoryStore reader(m_dir.path());
    const Result<QList<Snapshot>> all = reader.snapshots(QStringLiteral("7"));
    ASSERT_TRUE(all.ok) << all.error.toStdString();
    ASSERT_EQ(all.value.size(), 5);
    const QList<int> timeOrder = {0, 2, 1, 3, 4};
    for (int i = 0; i < 5; ++i) {
        const Snapshot &expected = recorded.at(timeOrder.at(i));
        const Snapshot &read = all.value.at(i);
        EXPECT_EQ(read.id, ids.at(timeOrder.at(i)));
        EXPECT_EQ(read.takenAt, expected.takenAt);
        EXPECT_EQ(read.takenAt.date(), expected.takenAt.date());
        EXPECT_EQ(read.command, expected.command);
        EXPECT_EQ(read.allianceId, QStringLiteral("7"));
        EXPECT_EQ(read.members, expected.members) << "snapshot " << i;
    }
    EXPECT_EQ(reader.snapshots(QStringLiteral("7"), QStringLiteral("roster")).value.size(), 2);
    EXPECT_EQ(reader.snapshots(QStringLiteral("9")).value.size(), 0);

    // One member over time: by id, with the readings of that name that carry
    // no id; other alliances and other ids are left out.
    const Result<QList<DatedReading>> taro =
        reader.memberReadings(QStringLiteral("7"), QStringLiteral("102"), QStringLiteral("太郎"));
    ASSERT_TRUE(taro.ok);
    QStringList commands;
    for (const DatedReading &reading : taro.value)
        commands << reading.command;
    EXPECT_EQ(commands, (QStringList{QStringLiteral("roster"), QStringLiteral("activity"),
                                     QStringLiteral("report"), QStringLiteral("roster")}));
    EXPECT_EQ(taro.value.at(2).reading, full.at(1));
    EXPECT_EQ(reader.memberReadings(QStringLiteral("7"), QString(), QStringLiteral("凛")).value.size(), 2);

    // Only roster runs make the join/leave log.
    EXPECT_EQ(reader.joinLeaveLog(QStringLiteral("7")).value,
              QStringList{QStringLiteral("2026/12/05 脱退 凛")});
    const Result<QList<IdleMember>> idle =
        reader.daysSincePointsLastMoved(QStringLiteral("7"), QDate(2026, 12, 10));
    ASSERT_EQ(idle.value.size(), 2);
    EXPECT_EQ(idle.value.at(1).days, 7);

    RawConnection raw(m_store.path());
    EXPECT_EQ(raw.value(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    EXPECT_EQ(raw.value(QStringLiteral("PRAGMA user_version")).toInt(), HistoryStore::schemaVersion());
    EXPECT_EQ(raw.value(QStringLiteral("SELECT count(*) FROM member_reading WHERE points IS NULL")).toInt(),
              4);
}

TEST_F(HistoryStoreTest, NamesWithCommaQuoteAndCharactersOutsideCodePage932RoundTrip)
{
    const QStringList names = {QStringLiteral("山田,太郎"), QStringLiteral("\"凛\"の'城'"),
                               QStringLiteral("𠮷野🏯"), QStringLiteral(" 空白 ")};
    QList<MemberReading> members;
    for (int i = 0; i < names.size(); ++i)
        members << nameOnly(i + 1, QString(), names.at(i));
    ASSERT_TRUE(m_store.recordSnapshot(snapshotOn(1, QStringLiteral("report"), members)));
    const QList<Snapshot> read = m_store.snapshots(QStringLiteral("7")).value;
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read.at(0).members, members);
    EXPECT_EQ(m_store.memberReadings(QStringLiteral("7"), QString(), QStringLiteral("𠮷野🏯")).value.size(),
              1);
}

TEST_F(HistoryStoreTest, NothingToReadWithoutAFileAndReadingCreatesNone)
{
    const Result<QList<Snapshot>> none = m_store.snapshots(QStringLiteral("7"));
    EXPECT_TRUE(none.ok);
    EXPECT_TRUE(none.value.isEmpty());
    EXPECT_TRUE(m_store.joinLeaveLog(QStringLiteral("7")).ok);
    EXPECT_FALSE(QFile::exists(m_store.path()));

    HistoryStore nowhere(m_dir.filePath(QStringLiteral("missing")));
    expectRecordingFailure(nowhere.recordSnapshot(m_sound), QStringLiteral("保存先のフォルダがありません"));
}

TEST_F(HistoryStoreTest, ReadOnlyFileIsReportedLeftAsItIsAndReadable)
{
    ASSERT_TRUE(m_store.recordSnapshot(m_sound));
    const QFileDevice::Permissions writable = QFile::permissions(m_store.path());
    ASSERT_TRUE(QFile::setPermissions(m_store.path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));

    expectRecordingFailure(m_store.recordSnapshot(m_sound), QStringLiteral("読み取り専用"));
    const Result<QList<Snapshot>> read = HistoryStore(m_dir.path()).snapshots(QStringLiteral("7"));
    EXPECT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.value.size(), 1);

    ASSERT_TRUE(QFile::setPermissions(m_store.path(), writable));
    EXPECT_TRUE(m_store.recordSnapshot(m_sound));
    EXPECT_EQ(countSnapshots(), 2);
}

TEST_F(HistoryStoreTest, FileLockedByAnotherWriterIsReportedAndUsedAgainOnceFree)
{
    ASSERT_TRUE(m_store.recordSnapshot(m_sound));
    {
        RawConnection other(m_store.path());
        ASSERT_TRUE(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
        ASSERT_TRUE(other.exec(QStringLiteral("INSERT INTO snapshot (taken_at, command, alliance_id) "
                                              "VALUES ('2026-12-02T00:00:00+09:00', 'roster', '7')")));
        expectRecordingFailure(m_store.recordSnapshot(m_sound), QStringLiteral("使用中"));
        ASSERT_TRUE(other.exec(QStringLiteral("ROLLBACK")));
    }
    const Result<qint64> again = m_store.recordSnapshot(m_sound);
    EXPECT_TRUE(again.ok) << again.error.toStdString();
    EXPECT_EQ(countSnapshots(), 2);
}

TEST_F(HistoryStoreTest, GarbageFileIsReportedAndNeverOverwritten)
{
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.append(static_cast<char>((i * 37 + 11) % 256));
    {
        QFile file(m_store.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    expectRecordingFailure(m_store.recordSnapshot(m_sound), QStringLiteral("壊れています"));
    const Result<QList<Snapshot>> read = m_store.snapshots(QStringLiteral("7"));
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.error.startsWith(QStringLiteral("履歴を読めませんでした（")));
    EXPECT_EQ(fileBytes(m_store.path()), garbage);

    ASSERT_TRUE(QFile::remove(m_store.path()));
    EXPECT_TRUE(m_store.recordSnapshot(m_sound));
    EXPECT_EQ(countSnapshots(), 1);
}

TEST_F(HistoryStoreTest, FileOfANewerSchemaIsReadButNotWritten)
{
    ASSERT_TRUE(m_store.recordSnapshot(m_sound));
    {
        RawConnection other(m_store.path());
        ASSERT_TRUE(
            other.exec(QStringLiteral("PRAGMA user_version = %1").arg(HistoryStore::schemaVersion() + 1)));
    }
    HistoryStore later(m_dir.path());
    expectRecordingFailure(later.recordSnapshot(m_sound), QStringLiteral("新しい版"));
    EXPECT_EQ(countSnapshots(), 1);
}

TEST_F(HistoryStoreTest, FailedMemberRowLeavesNothingHalfWritten)
{
    ASSERT_TRUE(m_store.recordSnapshot(m_sound));
    QList<MemberReading> members;
    for (int i = 1; i <= 5; ++i)
        members << fullReading(i, QString::number(i), QStringLiteral("m%1").arg(i));
    members[3].position = 2; // a fourth row that cannot be stored after three were
    expectRecordingFailure(m_store.recordSnapshot(snapshotOn(2, QStringLiteral("report"), members)),
                           QStringLiteral("重複"));

    RawConnection raw(m_store.path());
    EXPECT_EQ(raw.value(QStringLiteral("SELECT count(*) FROM snapshot")).toInt(), 1);
    EXPECT_EQ(raw.value(QStringLiteral("SELECT count(*) FROM member_reading")).toInt(), 1);
    EXPECT_EQ(raw.value(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));

    members[3].position = 4;
    EXPECT_TRUE(m_store.recordSnapshot(snapshotOn(2, QStringLiteral("report"), members)));
    EXPECT_EQ(raw.value(QStringLiteral("SELECT count(*) FROM member_reading")).toInt(), 6);
}

namespace {

// Thirty days of runs of a changing alliance: members join and leave,
// points move and stand still, one activity run reads no ids, and one run
// is recorded after a later one (a clock set back).
QList<Snapshot> aMonthOfRuns()
{
    QList<Snapshot> runs;
    for (int day = 1; day <= 30; ++day) {
        for (const QString &command : {QStringLiteral("roster"), QStringLiteral("activity")}) {
            QList<MemberReading> members;
            for (int id = day / 4; id < day / 4 + 8; ++id) {
                MemberReading reading = nameOnly(
                    static_cast<int>(members.size()) + 1,
                    day == 12 && command != QStringLiteral("roster") ? QString() : QString::number(id),
                    QStringLiteral("城主%1").arg(id));
                if (command == QStringLiteral("activity")) {
                    reading.points = 1000 * id + (id % 3 == 0 ? 0 : day / (id % 3 + 1));
                    reading.population = 10 * id + day;
                }
                members << reading;
            }
            // A survey reads the whole member table as a roster does.
            runs << snapshotOn(
                day, day == 16 && command == QStringLiteral("roster") ? History::Kinds::survey.key : command,
                members);
        }
    }
    std::swap(runs[40], runs[44]); // day 21's runs recorded after day 23's
    return runs;
}

} // namespace

TEST_F(HistoryStoreTest, SummariesKeptWhileRecordingAgreeWithTheWholeHistory)
{
    for (const Snapshot &snapshot : aMonthOfRuns())
        ASSERT_TRUE(m_store.recordSnapshot(snapshot));
    HistoryStore reader(m_dir.path());
    const QList<Snapshot> all = reader.snapshots(QStringLiteral("7")).value;
    QList<Snapshot> rosters;
    QList<SnapshotTotals> totals;
    for (const Snapshot &snapshot : all) {
        totals << HistoryTrends::totalsOf(snapshot);
        if (History::readsWholeMembership(snapshot.command))
            rosters << snapshot;
    }
    const QDate today(2026, 12, 31);
    const QList<IdleMember> idle = HistoryTrends::daysSincePointsLastMoved(all, today);
    const QStringList log = HistoryTrends::joinLeaveLog(rosters);
    ASSERT_EQ(idle.size(), 8);
    ASSERT_GT(log.size(), 10);

    EXPECT_EQ(reader.daysSincePointsLastMoved(QStringLiteral("7"), today).value, idle);
    EXPECT_EQ(reader.joinLeaveLog(QStringLiteral("7")).value, log);
    EXPECT_EQ(reader.totals(QStringLiteral("7")).value, totals);
    EXPECT_TRUE(reader.totals(QStringLiteral("8")).value.isEmpty());

    // A file of the first version: its summaries are made when it is next
    // written, and a read-only one is read from its snapshots.
    {
        RawConnection raw(m_store.path());
        undoRunColumns(raw);
        for (const char *table : {"snapshot_total", "points_state", "join_leave"})
            ASSERT_TRUE(raw.exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table))));
        ASSERT_TRUE(raw.exec(QStringLiteral("DROP INDEX member_reading_idless_by_name")));
        ASSERT_TRUE(raw.exec(QStringLiteral("CREATE INDEX member_reading_by_name ON member_reading (name)")));
        ASSERT_TRUE(raw.exec(QStringLiteral("PRAGMA user_version = 1")));
    }
    QFile::setPermissions(m_store.path(), QFileDevice::ReadOwner);
    HistoryStore readOnly(m_dir.path());
    EXPECT_EQ(readOnly.joinLeaveLog(QStringLiteral("7")).value, log);
    EXPECT_EQ(readOnly.daysSincePointsLastMoved(QStringLiteral("7"), today).value, idle);
    QFile::setPermissions(m_store.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    HistoryStore upgraded(m_dir.path());
    ASSERT_TRUE(upgraded.recordSnapshot(snapshotOn(31, QStringLiteral("castles"), {})));
    EXPECT_EQ(upgraded.joinLeaveLog(QStringLiteral("7")).value, log);
    EXPECT_EQ(upgraded.daysSincePointsLastMoved(QStringLiteral("7"), today).value, idle);
    EXPECT_EQ(upgraded.totals(QStringLiteral("7")).value.size(), totals.size() + 1);
}

namespace {

// A reply check of 「集合」 as its command records it: 甲 and 乙 answered or not.
Snapshot replyCheck(int day, bool first, bool second)
{
    MemberReading a = nameOnly(1, QString(), QStringLiteral("甲"));
    a.replied = first;
    MemberReading b = nameOnly(2, QString(), QStringLiteral("乙"));
    b.replied = second;
    Snapshot check = snapshotOn(day, History::Kinds::replies.key, {a, b});
    check.detail = QStringLiteral("集合");
    return check;
}

// A reply check and a ranking extraction as their commands record them.
std::pair<Snapshot, Snapshot> replyAndRanking(int day)
{
    const Snapshot replies = replyCheck(day, true, false);
    MemberReading ranked = nameOnly(1, QStringLiteral("11"), QStringLiteral("甲"));
    ranked.rank = 12;
    ranked.score = 5'000'000'000LL;
    Snapshot ranking = snapshotOn(day, History::Kinds::ranking.key, {ranked});
    ranking.detail = History::rankingDetail(QStringLiteral("戦功"), 0);
    return {replies, ranking};
}

} // namespace

TEST_F(HistoryStoreTest, ReplyChecksAndRankingsAreKeptApartFromTheSumsAndAFileOfBeforeReadsAndIsUpgraded)
{
    ASSERT_TRUE(m_store.recordSnapshot(snapshotOn(
        1, QStringLiteral("roster"), {fullReading(1, QStringLiteral("11"), QStringLiteral("甲"))})));
    // The file as the version before these readings left it.
    keepAsAReadOnlyFileOfBefore();
    HistoryStore readOnly(m_dir.path());
    const Result<QList<Snapshot>> before = readOnly.snapshots(QStringLiteral("7"));
    ASSERT_TRUE(before.ok) << before.error.toStdString();
    ASSERT_EQ(before.value.size(), 1);
    EXPECT_EQ(before.value.first().members.first(),
              fullReading(1, QStringLiteral("11"), QStringLiteral("甲")));
    EXPECT_TRUE(readOnly.memberReadings(QStringLiteral("7"), QStringLiteral("11"), QString()).ok);
    EXPECT_EQ(readOnly.daysSincePointsLastMoved(QStringLiteral("7"), QDate(2026, 12, 3)).value.size(), 1);
    QFile::setPermissions(m_store.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    const auto [replies, ranking] = replyAndRanking(2);
    HistoryStore upgraded(m_dir.path());
    ASSERT_TRUE(upgraded.recordSnapshot(replies));
    ASSERT_TRUE(upgraded.recordSnapshot(ranking));
    const QList<Snapshot> all = upgraded.snapshots(QStringLiteral("7")).value;
    ASSERT_EQ(all.size(), 3);
    for (int i : {1, 2}) {
        const Snapshot &expected = i == 1 ? replies : ranking;
        EXPECT_EQ(all.at(i).command, expected.command);
        EXPECT_EQ(all.at(i).detail, expected.detail);
        EXPECT_EQ(all.at(i).members, expected.members);
    }
    EXPECT_EQ(RawConnection(m_store.path()).value(QStringLiteral("PRAGMA user_version")).toInt(),
              HistoryStore::schemaVersion());
    // Neither is a reading of the member table: no sums, no idle days, no joins.
    EXPECT_EQ(upgraded.totals(QStringLiteral("7")).value.size(), 1);
    EXPECT_EQ(upgraded.daysSincePointsLastMoved(QStringLiteral("7"), QDate(2026, 12, 3)).value.size(), 1);
    EXPECT_TRUE(upgraded.joinLeaveLog(QStringLiteral("7")).value.isEmpty());
}

TEST_F(HistoryStoreTest, TheLeadersNotesAreReplacedRemovedAndKeptApartByAllianceAndMember)
{
    const MemberNote travel{QStringLiteral("11"), QStringLiteral("甲"), QStringLiteral("12/20まで旅行"),
                            QDate(2026, 12, 20)};
    const MemberNote byName{QString(), QStringLiteral("乙"), QStringLiteral("新人、様子見"), QDate()};
    ASSERT_TRUE(m_store.writeNote(QStringLiteral("7"), travel));
    ASSERT_TRUE(m_store.writeNote(QStringLiteral("7"), byName));
    ASSERT_TRUE(m_store.writeNote(QStringLiteral("8"), byName));
    EXPECT_EQ(m_store.notes(QStringLiteral("7")).value, (QList<MemberNote>{byName, travel})) << "by name";

    MemberNote back = travel;
    back.note = QStringLiteral("戻りました");
    back.leaveUntil = QDate();
    ASSERT_TRUE(m_store.writeNote(QStringLiteral("7"), back));
    ASSERT_TRUE(m_store.writeNote(QStringLiteral("7"),
                                  MemberNote{QString(), QStringLiteral("乙"), QString(), QDate()}));
    EXPECT_EQ(m_store.notes(QStringLiteral("7")).value, QList<MemberNote>{back});
    EXPECT_EQ(m_store.notes(QStringLiteral("8")).value, QList<MemberNote>{byName});

    // A file of before the notes, kept read-only, has none and reads.
    keepAsAReadOnlyFileOfBefore();
    HistoryStore readOnly(m_dir.path());
    const Result<QList<MemberNote>> none = readOnly.notes(QStringLiteral("7"));
    EXPECT_TRUE(none.ok) << none.error.toStdString();
    EXPECT_TRUE(none.value.isEmpty());
    EXPECT_FALSE(readOnly.writeNote(QStringLiteral("7"), travel));
    QFile::setPermissions(m_store.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// What the briefing is made of, read back from a fortnight of runs.
TEST_F(HistoryStoreTest, TheBriefingReadsTheLatestMembersTheirPointsRepliesMeritJoinsAndNotes)
{
    const auto withPoints = [](int position, const char *id, const char *name, qint64 points) {
        MemberReading reading = nameOnly(position, QString::fromLatin1(id), QString::fromUtf8(name));
        reading.points = points;
        return reading;
    };
    const auto merit = [](int day, qint64 rank, qint64 score) {
        MemberReading a = nameOnly(1, QString(), QStringLiteral("甲"));
        a.rank = rank;
        a.score = score;
        Snapshot ranking = snapshotOn(day, History::Kinds::ranking.key, {a});
        ranking.detail = History::rankingDetail(QStringLiteral("戦功"), 0);
        return ranking;
    };
    for (const Snapshot &snapshot :
         {snapshotOn(1, QStringLiteral("activity"),
                     {withPoints(1, "1", "甲", 100), withPoints(2, "2", "乙", 200)}),
          replyCheck(2, true, false), merit(3, 5, 500),
          snapshotOn(9, QStringLiteral("activity"),
                     {withPoints(1, "1", "甲", 100), withPoints(2, "2", "乙", 250)}),
          merit(10, 3, 800), replyCheck(10, false, false),
          snapshotOn(12, QStringLiteral("roster"),
                     {withPoints(1, "1", "甲", 100), withPoints(2, "2", "乙", 250)}),
          snapshotOn(
              14, QStringLiteral("roster"),
              {withPoints(1, "1", "甲", 100), withPoints(2, "2", "乙", 250), withPoints(3, "3", "丙", 10)})})
        ASSERT_TRUE(m_store.recordSnapshot(snapshot));
    ASSERT_TRUE(
        m_store.writeNote(QStringLiteral("7"), MemberNote{QStringLiteral("2"), QStringLiteral("乙"),
                                                          QStringLiteral("出張"), QDate(2026, 12, 20)}));

    const QDate today(2026, 12, 15);
    const Result<Briefing::Inputs> inputs = m_store.briefingInputs(QStringLiteral("7"), today, 4);
    ASSERT_TRUE(inputs.ok) << inputs.error.toStdString();
    EXPECT_EQ(inputs.value.members.size(), 3) << "the latest reading's members";
    EXPECT_EQ(inputs.value.replyChecks.size(), 2);
    EXPECT_EQ(inputs.value.meritRankings.size(), 2);
    EXPECT_EQ(inputs.value.firstRoster, QDate(2026, 12, 12));
    const QList<Briefing::Row> rows = Briefing::rows(inputs.value, Briefing::Thresholds{});
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].status, Briefing::Status::Attention);
    EXPECT_EQ(rows[0].reason, QStringLiteral("14日間ポイント変化なし、返信 1/2"));
    EXPECT_EQ(rows[0].gained7, 0) << "against the reading of Dec 1, the last a week or more ago";
    EXPECT_FALSE(rows[0].gained28);
    EXPECT_EQ(rows[0].answered, 1);
    EXPECT_EQ(rows[0].checked, 2);
    EXPECT_EQ(rows[0].meritRank, 3);
    EXPECT_EQ(rows[0].rankChange, 2);
    EXPECT_EQ(rows[0].scoreChange, 300);
    EXPECT_EQ(rows[1].status, Briefing::Status::OnLeave) << "0/2 answered, but on leave";
    EXPECT_EQ(rows[1].gained7, 50);
    EXPECT_EQ(rows[2].status, Briefing::Status::Newcomer);
    EXPECT_EQ(rows[2].daysInAlliance, 1);
}

TEST_F(HistoryStoreTest, RunsReadBackNewestFirstWithTheirLinesAndAFileOfBeforeTheRecordsHasNone)
{
    const QTimeZone tokyo(9 * 3600);
    const auto at = [&](int day, int hour) {
        return QDateTime(QDate(2026, 12, day), QTime(hour, 30), tokyo);
    };
    const QList<RunRecord> recorded = {
        {at(6, 5),
         at(6, 6),
         {QStringLiteral("survey"), QStringLiteral("activity")},
         0,
         30,
         {QStringLiteral("survey: 30 members, OVEKMAP_DATA_2581.txt"),
          QStringLiteral("activity: 30 members")},
         {}},
        // Taken at another offset: still ordered by the moment.
        {at(7, 5).toOffsetFromUtc(0),
         at(7, 5).toOffsetFromUtc(0),
         {QStringLiteral("roster")},
         3,
         -1,
         {},
         {QStringLiteral("ログインが切れています。ovekwarden を起動してログインしてください。")}},
        {at(8, 5),
         at(8, 7),
         {QStringLiteral("roster")},
         1,
         29,
         {QStringLiteral("roster: stopped")},
         {QStringLiteral("名簿作成を中止しました"), QStringLiteral("ファイルを保存できません")}},
    };
    // Recorded out of order, as a run that started first may end last.
    for (int i : {1, 0, 2})
        ASSERT_TRUE(m_store.recordRun(recorded.at(i)));
    HistoryStore reader(m_dir.path());
    const Result<QList<RunRecord>> runs = reader.runs();
    ASSERT_TRUE(runs.ok) << runs.error.toStdString();
    EXPECT_EQ(runs.value, QList<RunRecord>({recorded.at(2), recorded.at(1), recorded.at(0)}));
    EXPECT_EQ(reader.runs(1).value, QList<RunRecord>({recorded.at(2)}));
    EXPECT_TRUE(countSnapshots() == 0) << "a run's record is no reading";

    // A file of the version before, kept read-only, has no records and is not changed.
    keepAsAReadOnlyFileOfBefore();
    HistoryStore readOnly(m_dir.path());
    const Result<QList<RunRecord>> none = readOnly.runs();
    EXPECT_TRUE(none.ok) << none.error.toStdString();
    EXPECT_TRUE(none.value.isEmpty());
    const Result<> refused = readOnly.recordRun(recorded.first());
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.error.startsWith(QStringLiteral("実行の記録を残せませんでした（")))
        << refused.error.toStdString();
    QFile::setPermissions(m_store.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
