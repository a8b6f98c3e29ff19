#pragma once

#include "common/result.h"
#include "history/briefing.h"
#include "history/historytypes.h"
#include "history/membernotes.h"
#include "history/runrecords.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

// A store operation answers with the program's one result type. A database
// that is missing, locked, read-only or damaged is never an exception: the
// caller gets ok == false and a Japanese reason for the user, and its own
// work stands. Recording a snapshot gives its id.

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
    Result<qint64> recordSnapshot(const Snapshot &snapshot);

    // The alliance's snapshots in time order, with their members; an empty
    // command means every command.
    Result<QList<Snapshot>> snapshots(const QString &allianceId, const QString &command = {});
    // One member's readings over time, of every command. Matched by user id,
    // together with readings of the same name that carry no id; by name alone
    // when userId is empty.
    Result<QList<DatedReading>> memberReadings(const QString &allianceId, const QString &userId,
                                               const QString &name);
    // These three read what is kept up to date as runs are recorded, not
    // the runs themselves: they take about as long for years of runs as for
    // a few.
    // The sums of every snapshot of the alliance, in time order.
    Result<QList<SnapshotTotals>> totals(const QString &allianceId);
    Result<QList<IdleMember>> daysSincePointsLastMoved(const QString &allianceId, const QDate &today);
    // Joins and leaves between consecutive roster runs.
    Result<QStringList> joinLeaveLog(const QString &allianceId);

    // The leader's note of a member (MemberNote): replaced whole; an empty
    // text without a leave day removes it.
    Result<> writeNote(const QString &allianceId, const MemberNote &note);
    Result<QList<MemberNote>> notes(const QString &allianceId);

    // Everything 「同盟の状況」 is made from, as of today: the last circulars
    // reply checks count.
    Result<Briefing::Inputs> briefingInputs(const QString &allianceId, const QDate &today, int circulars);

    // A run without the window, whatever its end: the window tells the last
    // one and lists them all (「記録の履歴」).
    Result<> recordRun(const RunRecord &record);
    // Newest first, at most limit.
    Result<QList<RunRecord>> runs(int limit = 1000);

private:
    // Empty when the database is ready to use, else the reason. A store that
    // only reads opens a file marked read-only without writing to it, and
    // neither migrates it.
    enum class Access { Read, Write };
    QString open(Access access);
    // The new snapshot's id.
    Result<qint64> writeSnapshot(const Snapshot &snapshot);
    // False when there is nothing to read yet (no file, no tables).
    bool hasHistory() const;
    // True for a file of the first version kept read-only: what the
    // summaries hold is made from its snapshots instead.
    bool onlySnapshots();
    template <typename T> Result<T> readSummary(const std::function<Result<T>(QSqlDatabase &)> &read);
    Result<QList<DatedReading>> loadReadings(const QString &allianceId, const QString &userId,
                                             const QString &name);
    void close();
    QString failure(const QString &what, const QString &reason);

    QString m_directory;
    QString m_connectionName;
    QSqlDatabase m_db;
    int m_busyTimeout;
    bool m_openForWriting = false;
    int m_version = 0; // the open file's schema version
};
