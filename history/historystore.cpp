#include "history/historystore.h"

#include "history/briefingsql.h"
#include "history/historysql.h"
#include "history/historysummary.h"
#include "history/historytrends.h"
#include "history/membernotes.h"
#include "history/runrecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <atomic>

using namespace HistorySql;

namespace {

enum class Access { Read, Write };

// A write waits this long for another program's write to end: long enough to
// ride over a second window's short transaction, short enough that the
// tool's window does not seem to hang when the file stays locked.
constexpr int DefaultBusyTimeoutMs = 1000;

// Each step takes the schema from version i to i + 1. A later version only
// appends a step; a written step is never changed, since files made by an
// earlier build have already run it.
const QList<QStringList> &migrationSteps()
{
    static const QList<QStringList> steps = {
        {
            QStringLiteral("CREATE TABLE snapshot ("
                           " id INTEGER PRIMARY KEY,"
                           " taken_at TEXT NOT NULL,"
                           " command TEXT NOT NULL,"
                           " alliance_id TEXT NOT NULL)"),
            QStringLiteral("CREATE INDEX snapshot_by_alliance ON snapshot (alliance_id, command, taken_at)"),
            QStringLiteral("CREATE TABLE member_reading ("
                           " snapshot_id INTEGER NOT NULL REFERENCES snapshot (id) ON DELETE CASCADE,"
                           " position INTEGER NOT NULL,"
                           " user_id TEXT,"
                           " name TEXT NOT NULL,"
                           " x INTEGER, y INTEGER,"
                           " points INTEGER, population INTEGER, merit INTEGER,"
                           " role TEXT, fief_count INTEGER,"
                           " PRIMARY KEY (snapshot_id, position))"),
            QStringLiteral("CREATE INDEX member_reading_by_user ON member_reading (user_id)"),
            QStringLiteral("CREATE INDEX member_reading_by_name ON member_reading (name)"),
        },
        HistorySummary::schema(),
        // What a reply check and a ranking extraction read of each member,
        // and what each was asked; the leader's notes.
        QStringList{
            QStringLiteral("ALTER TABLE snapshot ADD COLUMN detail TEXT"),
            QStringLiteral("ALTER TABLE member_reading ADD COLUMN replied INTEGER"),
            QStringLiteral("ALTER TABLE member_reading ADD COLUMN rank INTEGER"),
            QStringLiteral("ALTER TABLE member_reading ADD COLUMN score INTEGER"),
            QStringLiteral("ALTER TABLE points_state ADD COLUMN stood_days INTEGER NOT NULL DEFAULT 0"),
        } + MemberNotes::schema(),
        // What each run without the window did, and how it ended.
        RunRecords::schema(),
    };
    return steps;
}

// The user marks a file read-only to keep it as it is. Honour the mark even
// where the account could write anyway (an administrator), as Windows does.
bool markedReadOnly(const QString &path)
{
    const QFileDevice::Permissions permissions = QFile::permissions(path);
    // The owner, group and other bits: the user bits follow the account, and
    // an administrator's say it may write.
    return QFile::exists(path) &&
           !(permissions & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

Result<int> readVersion(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (const QString reason = run(query, QStringLiteral("PRAGMA user_version")); !reason.isEmpty())
        return Result<int>::failure(reason);
    if (!query.next())
        return Result<int>::failure(reasonFor(query.lastError()));
    return {true, {}, query.value(0).toInt()};
}

// Brings the schema from its stored version to the current one, in one
// transaction with the version mark, so a file is never left between two.
QString migrate(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (const QString reason = run(query, QStringLiteral("BEGIN IMMEDIATE")); !reason.isEmpty())
        return reason;
    // Read inside the transaction: another program may have migrated since.
    const Result<int> read = readVersion(db);
    const int version = read.value;
    QString reason = read.error;
    const QList<QStringList> &steps = migrationSteps();
    for (qsizetype step = version; reason.isEmpty() && step < steps.size(); ++step) {
        for (const QString &statement : steps.at(step)) {
            reason = run(query, statement);
            if (!reason.isEmpty())
                break;
        }
    }
    // A file of the first version gets its summaries made from what it holds.
    if (reason.isEmpty() && version == 1)
        reason = HistorySummary::rebuildAll(db);
    if (reason.isEmpty())
        reason = run(query, QStringLiteral("PRAGMA user_version = %1").arg(steps.size()));
    if (reason.isEmpty())
        reason = run(query, QStringLiteral("COMMIT"));
    if (!reason.isEmpty())
        query.exec(QStringLiteral("ROLLBACK"));
    return reason;
}

std::atomic<int> connectionCounter{0};

} // namespace

QString HistoryStore::fileName()
{
    return QStringLiteral("ovek_history.sqlite");
}

int HistoryStore::schemaVersion()
{
    return static_cast<int>(migrationSteps().size());
}

HistoryStore::HistoryStore(const QString &directory)
    : m_directory(directory), m_connectionName(QStringLiteral("ovek_history_%1").arg(++connectionCounter)),
      m_busyTimeout(DefaultBusyTimeoutMs)
{
}

HistoryStore::~HistoryStore()
{
    close();
}

QString HistoryStore::path() const
{
    return QDir(m_directory).filePath(fileName());
}

void HistoryStore::setBusyTimeout(int milliseconds)
{
    m_busyTimeout = milliseconds;
    close(); // the timeout is a connection option
}

void HistoryStore::close()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    m_version = 0;
}

QString HistoryStore::failure(const QString &what, const QString &reason)
{
    // Opened afresh next time: the file may be repaired or unlocked by then.
    close();
    return QStringLiteral("%1（%2）").arg(what, reason);
}

namespace {

// The connection's settings for a history that grows for years and is read
// while it is written.
QString tuneConnection(QSqlDatabase &db, bool forWriting)
{
    QSqlQuery query(db);
    // WAL lets the trends window read while a command records. A file system
    // without it (some network shares) keeps the rollback journal; the
    // history works the same, so the answer is not checked.
    if (forWriting) {
        if (const QString reason = run(query, QStringLiteral("PRAGMA journal_mode = WAL")); !reason.isEmpty())
            return reason;
    }
    // With WAL, NORMAL syncs at checkpoints instead of at every commit: a
    // power cut may lose the last run, never the file. A run a day of a
    // large alliance is then recorded in a few milliseconds of disk time.
    if (const QString reason = run(query, QStringLiteral("PRAGMA synchronous = NORMAL")); !reason.isEmpty())
        return reason;
    // Years of daily runs of a large alliance make a file of hundreds of
    // megabytes: the indexes a run's rows go into stay in memory.
    if (const QString reason = run(query, QStringLiteral("PRAGMA cache_size = -65536")); !reason.isEmpty())
        return reason;
    // Consecutive runs touch the same index pages (each member's latest
    // readings): copied back to the file once every few runs instead of
    // after every run.
    if (forWriting) {
        if (const QString reason = run(query, QStringLiteral("PRAGMA wal_autocheckpoint = 8192"));
            !reason.isEmpty())
            return reason;
    }
    if (const QString reason = run(query, QStringLiteral("PRAGMA foreign_keys = ON")); !reason.isEmpty())
        return reason;
    return {};
}

} // namespace

QString HistoryStore::open(Access access)
{
    if (!QFileInfo(m_directory).isDir())
        return QStringLiteral("保存先のフォルダがありません");
    const bool forWriting = access == Access::Write;
    const bool readOnlyFile = markedReadOnly(path());
    if (forWriting && readOnlyFile)
        return QStringLiteral("履歴ファイルが読み取り専用です");
    if (m_db.isValid() && m_db.isOpen() && (m_openForWriting || !forWriting))
        return {};

    close();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!m_db.isValid())
        return QStringLiteral("SQLite のドライバが見つかりません");
    m_db.setDatabaseName(path());
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeout);
    if (readOnlyFile)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    m_db.setConnectOptions(options);
    if (!m_db.open())
        return reasonFor(m_db.lastError());
    m_openForWriting = !readOnlyFile;

    if (const QString reason = tuneConnection(m_db, m_openForWriting); !reason.isEmpty())
        return reason;
    Result<int> version = readVersion(m_db);
    if (!version)
        return version.error;
    m_version = version.value;
    // A newer build may have added columns this one would leave empty; it
    // reads such a file but does not write to it.
    if (m_version > schemaVersion() && forWriting)
        return QStringLiteral("新しい版のプログラムで作られた履歴です");
    if (m_version < schemaVersion() && m_openForWriting) {
        if (const QString reason = migrate(m_db); !reason.isEmpty())
            return reason;
        version = readVersion(m_db);
        if (!version)
            return version.error;
        m_version = version.value;
    }
    return {};
}

bool HistoryStore::hasHistory() const
{
    return m_version > 0;
}

Result<qint64> HistoryStore::recordSnapshot(const Snapshot &snapshot)
{
    static const QString what = QStringLiteral("履歴を記録できませんでした");
    if (!snapshot.takenAt.isValid() || snapshot.command.isEmpty())
        return {false, failure(what, QStringLiteral("実行日時かコマンド名がありません")), 0};
    if (const QString reason = open(Access::Write); !reason.isEmpty())
        return Result<qint64>::failure(failure(what, reason));
    const Result<qint64> written = writeSnapshot(snapshot);
    if (!written)
        return Result<qint64>::failure(failure(what, written.error));
    return written;
}

Result<qint64> HistoryStore::writeSnapshot(const Snapshot &snapshot)
{
    QSqlQuery query(m_db);
    // IMMEDIATE takes the write lock up front, so a locked file fails here
    // after the busy timeout rather than halfway through the members.
    QString reason = run(query, QStringLiteral("BEGIN IMMEDIATE"));
    if (!reason.isEmpty())
        return Result<qint64>::failure(reason);

    query.prepare(
        QStringLiteral("INSERT INTO snapshot (taken_at, command, alliance_id, detail) VALUES (?, ?, ?, ?)"));
    query.addBindValue(isoText(snapshot.takenAt));
    query.addBindValue(snapshot.command);
    query.addBindValue(text(snapshot.allianceId));
    query.addBindValue(snapshot.detail.isEmpty() ? QVariant() : QVariant(snapshot.detail));
    if (!query.exec())
        reason = reasonFor(query.lastError());
    const qint64 id = query.lastInsertId().toLongLong();

    QSqlQuery member(m_db);
    if (reason.isEmpty() && !member.prepare(QStringLiteral(
                                "INSERT INTO member_reading (snapshot_id, position, user_id, name, x, y, "
                                "points, population, merit, role, fief_count, replied, rank, score) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        reason = reasonFor(member.lastError());
    for (qsizetype i = 0; reason.isEmpty() && i < snapshot.members.size(); ++i) {
        const MemberReading &reading = snapshot.members.at(i);
        member.addBindValue(id);
        member.addBindValue(reading.position);
        member.addBindValue(reading.userId.isEmpty() ? QVariant() : QVariant(reading.userId));
        member.addBindValue(text(reading.name));
        member.addBindValue(nullable(reading.x));
        member.addBindValue(nullable(reading.y));
        member.addBindValue(nullable(reading.points));
        member.addBindValue(nullable(reading.population));
        member.addBindValue(nullable(reading.merit));
        member.addBindValue(nullable(reading.role));
        member.addBindValue(nullable(reading.fiefCount));
        member.addBindValue(reading.replied ? QVariant(*reading.replied ? 1 : 0) : QVariant());
        member.addBindValue(nullable(reading.rank));
        member.addBindValue(nullable(reading.score));
        if (!member.exec())
            reason = reasonFor(member.lastError());
    }

    if (reason.isEmpty())
        reason = HistorySummary::record(m_db, snapshot, id);
    if (reason.isEmpty())
        reason = run(query, QStringLiteral("COMMIT"));
    if (reason.isEmpty())
        return {true, {}, id};
    query.exec(QStringLiteral("ROLLBACK"));
    return Result<qint64>::failure(reason);
}

Result<QList<DatedReading>> HistoryStore::loadReadings(const QString &allianceId, const QString &userId,
                                                       const QString &name)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    const QString match = userId.isEmpty()
                              ? QStringLiteral("m.name = ?")
                              : QStringLiteral("(m.user_id = ? OR (m.user_id IS NULL AND m.name = ?))");
    query.prepare(QStringLiteral("SELECT s.id, s.taken_at, s.command, %1 FROM snapshot s"
                                 " JOIN member_reading m ON m.snapshot_id = s.id"
                                 " WHERE s.alliance_id = ? AND %2 ORDER BY s.id")
                      .arg(readingColumns(m_db), match));
    query.addBindValue(text(allianceId));
    if (!userId.isEmpty())
        query.addBindValue(userId);
    query.addBindValue(text(name));
    if (!query.exec())
        return Result<QList<DatedReading>>::failure(reasonFor(query.lastError()));
    QList<DatedReading> found;
    while (query.next()) {
        found << DatedReading{query.value(0).toLongLong(),
                              QDateTime::fromString(query.value(1).toString(), Qt::ISODate),
                              query.value(2).toString(), readingAt(query, 3)};
    }
    if (query.lastError().isValid())
        return Result<QList<DatedReading>>::failure(reasonFor(query.lastError()));
    std::stable_sort(found.begin(), found.end(),
                     [](const DatedReading &a, const DatedReading &b) { return a.takenAt < b.takenAt; });
    return {true, {}, found};
}

namespace {

const QString &readFailure()
{
    static const QString what = QStringLiteral("履歴を読めませんでした");
    return what;
}

} // namespace

Result<QList<Snapshot>> HistoryStore::snapshots(const QString &allianceId, const QString &command)
{
    Result<QList<Snapshot>> result;
    // No file yet: nothing recorded, and reading does not create one.
    if (!QFile::exists(path()))
        return result;
    QString reason = open(Access::Read);
    if (reason.isEmpty() && hasHistory()) {
        result = loadSnapshots(m_db, allianceId, command);
        reason = result.error;
    }
    if (!reason.isEmpty())
        return {false, failure(readFailure(), reason), {}};
    return result;
}

Result<QList<DatedReading>> HistoryStore::memberReadings(const QString &allianceId, const QString &userId,
                                                         const QString &name)
{
    return readSummary<QList<DatedReading>>(
        [&](QSqlDatabase &) { return loadReadings(allianceId, userId, name); });
}

bool HistoryStore::onlySnapshots()
{
    // Looking never creates the file.
    if (!QFile::exists(path()))
        return false;
    if (!open(Access::Read).isEmpty()) {
        close(); // opened again by the read that follows, which tells why
        return false;
    }
    return hasHistory() && m_version < 2;
}

template <typename T>
Result<T> HistoryStore::readSummary(const std::function<Result<T>(QSqlDatabase &)> &read)
{
    if (!QFile::exists(path()))
        return {};
    if (const QString reason = open(Access::Read); !reason.isEmpty())
        return Result<T>::failure(failure(readFailure(), reason));
    if (!hasHistory())
        return {};
    Result<T> result = read(m_db);
    if (!result)
        return Result<T>::failure(failure(readFailure(), result.error));
    return result;
}

Result<QList<SnapshotTotals>> HistoryStore::totals(const QString &allianceId)
{
    // A file of the first version that is kept read-only has no summaries:
    // its sums are made from its snapshots.
    if (onlySnapshots()) {
        const Result<QList<Snapshot>> all = snapshots(allianceId);
        Result<QList<SnapshotTotals>> result{all.ok, all.error, {}};
        for (const Snapshot &snapshot : all.value) {
            if (History::readsMemberValues(snapshot.command))
                result.value << HistoryTrends::totalsOf(snapshot);
        }
        return result;
    }
    return readSummary<QList<SnapshotTotals>>(
        [&](QSqlDatabase &db) { return HistorySummary::totals(db, allianceId); });
}

Result<QList<IdleMember>> HistoryStore::daysSincePointsLastMoved(const QString &allianceId,
                                                                 const QDate &today)
{
    if (onlySnapshots()) {
        const Result<QList<Snapshot>> all = snapshots(allianceId);
        if (!all)
            return {false, all.error, {}};
        return {true, {}, HistoryTrends::daysSincePointsLastMoved(all.value, today)};
    }
    return readSummary<QList<IdleMember>>(
        [&](QSqlDatabase &db) { return HistorySummary::idle(db, allianceId, today); });
}

Result<QStringList> HistoryStore::joinLeaveLog(const QString &allianceId)
{
    if (onlySnapshots()) {
        const Result<QList<Snapshot>> all = snapshots(allianceId);
        if (!all)
            return {false, all.error, {}};
        QList<Snapshot> wholeMemberships;
        for (const Snapshot &snapshot : all.value) {
            if (History::readsWholeMembership(snapshot.command))
                wholeMemberships << snapshot;
        }
        return {true, {}, HistoryTrends::joinLeaveLog(wholeMemberships)};
    }
    return readSummary<QStringList>(
        [&](QSqlDatabase &db) { return HistorySummary::joinLeave(db, allianceId); });
}

Result<> HistoryStore::writeNote(const QString &allianceId, const MemberNote &note)
{
    static const QString what = QStringLiteral("メモを保存できませんでした");
    if (const QString reason = open(Access::Write); !reason.isEmpty())
        return Result<>::failure(failure(what, reason));
    const Result<> written = MemberNotes::write(m_db, allianceId, note);
    if (!written)
        return Result<>::failure(failure(what, written.error));
    return written;
}

Result<QList<MemberNote>> HistoryStore::notes(const QString &allianceId)
{
    return readSummary<QList<MemberNote>>(
        [&](QSqlDatabase &db) { return MemberNotes::read(db, allianceId); });
}

Result<Briefing::Inputs> HistoryStore::briefingInputs(const QString &allianceId, const QDate &today,
                                                      int circulars)
{
    using Loaded = Result<Briefing::Inputs>;
    Result<QList<IdleMember>> idle = daysSincePointsLastMoved(allianceId, today);
    Result<QStringList> joins = joinLeaveLog(allianceId);
    Result<QList<MemberNote>> memberNotes = notes(allianceId);
    for (const QString &error : {idle.error, joins.error, memberNotes.error}) {
        if (!error.isEmpty())
            return Loaded::failure(error);
    }
    Loaded loaded = readSummary<Briefing::Inputs>(
        [&](QSqlDatabase &db) { return BriefingSql::load(db, allianceId, today, circulars); });
    loaded.value.today = today;
    loaded.value.idle = std::move(idle.value);
    loaded.value.joinLeaveLog = std::move(joins.value);
    loaded.value.notes = std::move(memberNotes.value);
    return loaded;
}

Result<> HistoryStore::recordRun(const RunRecord &record)
{
    static const QString what = QStringLiteral("実行の記録を残せませんでした");
    if (const QString reason = open(Access::Write); !reason.isEmpty())
        return Result<>::failure(failure(what, reason));
    const Result<> written = RunRecords::write(m_db, record);
    if (!written)
        return Result<>::failure(failure(what, written.error));
    return written;
}

Result<QList<RunRecord>> HistoryStore::runs(int limit)
{
    return readSummary<QList<RunRecord>>([&](QSqlDatabase &db) { return RunRecords::read(db, limit); });
}
