#pragma once

#include "history/historytypes.h"
#include "history/membernotes.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// 「同盟の状況」: who of the alliance needs the leader's attention, from what
// the history holds (points, replies to circulars, war merit, joins) and the
// leader's notes. Pure: the history's loader hands it everything.
namespace Briefing {

// What the leader sets in the window; remembered with the settings.
struct Thresholds
{
    int idleDays = 7;    // D: idle this long needs attention
    int circulars = 4;   // N: the last N reply checks count
    int minAnswered = 2; // K: answering fewer of them needs attention

    bool operator==(const Thresholds &) const = default;
};
// The thresholds the leader last set, kept in the world's folder
// (「briefing.ini」); the defaults where none were set or a value is no
// sensible number.
Thresholds readThresholds(const QString &worldFolder);
// Empty when written, else why not, for the user.
QString writeThresholds(const QString &worldFolder, const Thresholds &thresholds);

// A member this short in the alliance is new and never needs attention.
inline constexpr int kNewcomerDays = 14;
// Points that moved within this many days, after standing still at least D
// days, mean the member has come back.
inline constexpr int kReturnedWithinDays = 7;

enum class Status { Attention, Newcomer, OnLeave, Returned, Active };
// 「要注意」「新入り」「休止中」「復帰」「活動中」
QString statusName(Status status);
// Every status in the order the briefing tells them.
QList<Status> statuses();

struct Inputs
{
    QDate today;
    // The members of the latest reading of the alliance, in its order.
    QList<MemberReading> members;
    QList<IdleMember> idle;
    // The latest readings with points taken on or before 7 and 28 days ago.
    QList<MemberReading> points7DaysAgo;
    QList<MemberReading> points28DaysAgo;
    // The latest reply checks, newest first (at most Thresholds::circulars).
    QList<Snapshot> replyChecks;
    // The war merit rankings, newest first.
    QList<Snapshot> meritRankings;
    QStringList joinLeaveLog; // "yyyy/MM/dd 加入 name", oldest first
    QDate firstRoster;        // invalid: no whole reading of the members yet
    QList<MemberNote> notes;
    // The player's own lord: the circulars are its own, so it is never
    // counted as not answering them.
    QString leaderName = {};
};

struct Row
{
    QString userId;
    QString name;
    std::optional<int> idleDays;
    std::optional<qint64> gained7;
    std::optional<qint64> gained28;
    int answered = 0; // of checked
    int checked = 0;
    QDate lastMissed;
    std::optional<qint64> meritRank;
    std::optional<qint64> meritScore;
    std::optional<qint64> rankChange;  // positive: climbed
    std::optional<qint64> scoreChange; // since the extraction before
    std::optional<int> daysInAlliance; // empty: 不明 (there since before the first roster)
    Status status = Status::Active;
    QString reason; // why the status, in the briefing's words
    QString note;
    QDate leaveUntil;
};

QList<Row> rows(const Inputs &inputs, const Thresholds &thresholds);

// The table's headings and a row's cells, as the window and CSV show them.
QStringList headings();
QStringList cells(const Row &row);

// The text for the officers: 「■要注意（5名）」 and a line per member with the
// reason, then 新入り, 復帰 and 休止中; lines end with CR LF.
QString text(const QList<Row> &rows, const QDate &today);

} // namespace Briefing
