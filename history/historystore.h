#pragma once

#include "history/historytypes.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

// The answer of a store operation. A database that is missing, locked,
// read-only or damaged is never an exception: the caller gets ok == false and
// a Japanese reason for the user, and its own work stands.
template <typename T> struct HistoryResult
{
    bool ok = true;
    QString error; // for the user, when !ok
    T value{};
    explicit operator bool() const { return ok; }
};

struct RecordResult
{
    bool ok = true;
    QString error; // for the user, when !ok
    qint64 snapshotId = 0;
    explicit operator bool() const { return ok; }
};

// Every completed run remembered in one SQLite file in AppDir. Each store
// has its own connection; it is opened on first use and opened afresh after
// a failure, so a database repaired or unlocked meanwhile is used again.
class HistoryStore
{
public:
    // "ovek_history.sqlite".
    static QString fileName();
    // The schema version this program writes.
    static int schemaVersion();

    explicit HistoryStore(const QString &directory);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    QString path() const;
    // How long a write waits for another program's write to finish.
    void setBusyTimeout(int milliseconds);

    // The snapshot and all its member readings, in one transaction: either
    // everything is written or nothing is.
    RecordResult recordSnapshot(const Snapshot &snapshot);

    // The alliance's snapshots in time order, with their members; an empty
    // command means every command.
    HistoryResult<QList<Snapshot>> snapshots(const QString &allianceId, const QString &command = {});
    // One member's readings over time, of every command. Matched by user id,
    // together with readings of the same name that carry no id; by name alone
    // when userId is empty.
    HistoryResult<QList<DatedReading>> memberReadings(const QString &allianceId, const QString &userId,
                                                      const QString &name);
    // These three read what is kept up to date as runs are recorded, not
    // the runs themselves: they take about as long for years of runs as for
    // a few.
    // The sums of every snapshot of the alliance, in time order.
    HistoryResult<QList<SnapshotTotals>> totals(const QString &allianceId);
    HistoryResult<QList<IdleMember>> daysSincePointsLastMoved(const QString &allianceId, const QDate &today);
    // Joins and leaves between consecutive roster runs.
    HistoryResult<QStringList> joinLeaveLog(const QString &allianceId);

private:
    // Empty when the database is ready to use, else the reason. A store that
    // only reads opens a file marked read-only without writing to it, and
    // neither migrates it.
    enum class Access { Read, Write };
    QString open(Access access);
    QString writeSnapshot(const Snapshot &snapshot, qint64 *id);
    // False when there is nothing to read yet (no file, no tables).
    bool hasHistory() const;
    // True for a file of the first version kept read-only: what the
    // summaries hold is made from its snapshots instead.
    bool onlySnapshots();
    template <typename T>
    HistoryResult<T> readSummary(const std::function<QString(QSqlDatabase &, T *)> &read);
    QString loadReadings(const QString &allianceId, const QString &userId, const QString &name,
                         QList<DatedReading> *readings);
    void close();
    QString failure(const QString &what, const QString &reason);

    QString m_directory;
    QString m_connectionName;
    QSqlDatabase m_db;
    int m_busyTimeout;
    bool m_openForWriting = false;
    int m_version = 0; // the open file's schema version
};
