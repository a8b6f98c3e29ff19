#pragma once

#include "history/historykinds.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// What one member's line of one run read. A command fills what it reads and
// leaves the rest empty: the roster reads coordinates, the activity points,
// the report points, population and merit.
struct MemberReading
{
    int position = 0; // 1-based, in page order
    QString userId;   // empty when the command did not read it
    QString name;
    std::optional<int> x;
    std::optional<int> y;
    std::optional<qint64> points;
    std::optional<qint64> population;
    std::optional<qint64> merit;
    std::optional<QString> role;
    std::optional<int> fiefCount;
    // A reply check: whether the member answered the circular.
    std::optional<bool> replied;
    // A ranking extraction: the member's rank and score in its category.
    std::optional<qint64> rank;
    std::optional<qint64> score;

    bool operator==(const MemberReading &) const = default;
};

// One completed run of a command over the alliance's members.
struct Snapshot
{
    qint64 id = 0; // given by the store; 0 before recording
    QDateTime takenAt;
    QString command; // one of the History::*Command names
    QString allianceId;
    QList<MemberReading> members;
    // What the run was asked: the reply check's keyword, the ranking's
    // category and band (History::rankingDetail); empty for the others.
    QString detail = {};
};

// A member's reading together with the run it came from.
struct DatedReading
{
    qint64 snapshotId = 0;
    QDateTime takenAt;
    QString command;
    MemberReading reading;
};

// How long a member's alliance points have stood still.
struct IdleMember
{
    QString userId;
    QString name;
    QDate lastMovedOn; // the day points were last seen to change, or first seen
    int days = 0;      // from lastMovedOn to today
    // True when the points never changed across the history: lastMovedOn is
    // then the first reading, and the true idle time may be longer.
    bool neverMoved = false;
    int stoodBeforeLastMove = 0; // PointsState's

    bool operator==(const IdleMember &) const = default;
};

// The sums of one snapshot, kept beside it so the totals over years of
// runs are read without their members. A sum is empty when no member's
// reading had the value.
struct SnapshotTotals
{
    qint64 snapshotId = 0;
    QDateTime takenAt;
    QString command;
    int memberCount = 0;
    std::optional<qint64> points;
    std::optional<qint64> population;
    std::optional<qint64> merit;

    bool operator==(const SnapshotTotals &) const = default;
};

// What the history keeps of one member's alliance points between runs: the
// last points read, the day they last changed, and whether they ever did.
struct PointsState
{
    qint64 lastPoints = 0;
    QDate lastMovedOn;
    bool moved = false;
    QString name; // the name of the last reading
    // How many days the points had stood still before their last change: a
    // member idle that long who moved again has come back. 0 where a history
    // of before the count did not keep it.
    int stoodBeforeLastMove = 0;

    bool operator==(const PointsState &) const = default;
};
