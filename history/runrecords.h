#pragma once

#include "common/result.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QStringList>

// What one run without the window did, as the world's history remembers it:
// a timer's run is otherwise seen only in a journal nobody reads.
struct RunRecord
{
    QDateTime startedAt;
    QDateTime endedAt;
    QStringList commands; // the keys, in the order they ran
    int exitCode = 0;
    int memberCount = -1; // the members the first command read; -1 when none did
    QStringList results;  // each command's line ("roster: 31 members, OVEKMAP_DATA_2581.txt")
    QStringList warnings; // the first line of each warning

    bool operator==(const RunRecord &) const = default;
};

namespace RunRecords {

QStringList schema();
Result<> write(QSqlDatabase &db, const RunRecord &record);
// Newest first; at most limit of them. A file of before the records has none.
Result<QList<RunRecord>> read(QSqlDatabase &db, int limit);

} // namespace RunRecords
