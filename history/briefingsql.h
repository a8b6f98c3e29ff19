#pragma once

#include "common/result.h"
#include "history/briefing.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

// What the briefing reads of the readings themselves: the latest reading
// of the members, those of 7 and 28 days ago, the last reply checks and
// the war merit rankings, and the day of the first whole reading. Only the
// snapshots it needs are read with their members, so years of daily runs
// of a large alliance load in a few of them.
namespace BriefingSql {

Result<Briefing::Inputs> load(QSqlDatabase &db, const QString &allianceId, const QDate &today, int circulars);

} // namespace BriefingSql
