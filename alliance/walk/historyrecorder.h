#pragma once

#include "alliance/rules/activityhistory.h"
#include "alliance/rules/rankingpage.h"
#include "history/historytypes.h"
#include "site/membertable.h"
#include "site/profilereaders.h"

#include <QString>
#include <optional>
#include <utility>

class Clock;
class HistoryStore;
struct CommandContext;

// Where a completed walk leaves its snapshot. Commands know only this, not
// the database: a history that cannot be written never changes a command's
// own output or files.
class HistoryRecorder
{
public:
    virtual ~HistoryRecorder() = default;
    // Empty when the snapshot was recorded, otherwise why not, for the user.
    virtual QString record(const Snapshot &snapshot) = 0;
    // Why the last record failed, once: the runner says it again after the
    // end of a run has taken the progress out of the caption.
    virtual QString takeFailure() { return QString(); }
};

// Records into the history store, stamped with the clock's time when the
// command left the time open (the roster has no clock of its own).
class StoreRecorder : public HistoryRecorder
{
public:
    StoreRecorder(HistoryStore &store, const Clock &clock) : m_store(store), m_clock(clock) {}

    QString record(const Snapshot &snapshot) override;
    QString takeFailure() override { return std::exchange(m_failure, QString()); }

private:
    HistoryStore &m_store;
    const Clock &m_clock;
    QString m_failure;
};

namespace HistoryRecording {

// "名簿作成は完了しました。履歴を記録できませんでした（…）"
QString failureCaption(const QString &commandLabel, const QString &reason);

// Records the snapshot of a completed run, when the context has a recorder.
// A failure is told in the caption and changes nothing else.
void recordRun(CommandContext &context, const QString &commandLabel, const Snapshot &snapshot);

// The reading of the member at index (0-based, in page order), nothing read yet.
MemberReading memberReading(qsizetype index, const QString &userId, const QString &name);

// The snapshot of a walk over the member table: one reading per member in
// table order, with what the table itself says (the fief count); the
// command adds what it read on the members' pages.
Snapshot tableSnapshot(const QString &command, const QString &allianceId, const QList<Member> &members);
// The snapshot of an activity run: every member row's name, user id and
// alliance points, in page order.
Snapshot activitySnapshot(const QString &allianceId, const QList<ActivityRecord> &members);

// The snapshot of a completed reply check: every roster member in roster
// order, replied or not as the check matched them, and the keyword.
Snapshot replySnapshot(const QString &allianceId, const QString &keyword, const QStringList &rosterNames,
                       const QStringList &nonRepliers);
// The snapshot of a ranking extraction over a whole band: each own member's
// rank and score, in page order, under the category and band.
Snapshot rankingSnapshot(const QString &allianceId, int category, int band, const QList<RankingRow> &ranked);

// A count as a page shows it ("12,345", " 7"); empty when it is no whole
// number, so a reading that cannot be trusted is left out, not made 0.
std::optional<qint64> count(const QString &text);

// What a lord's profile gave: population, merit, role and home coordinates.
void setProfile(MemberReading &reading, const LordProfile &profile);

// Home coordinates as the roster reads them ("-12,34"); what is no number stays empty.
void setCoordinates(MemberReading &reading, const QString &coordinates);

} // namespace HistoryRecording
