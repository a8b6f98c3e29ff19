#pragma once

#include "alliance/console/runnews.h"
#include "history/runrecords.h"

#include <QString>
#include <optional>

// How a run without the window ended, in the leader's words: the tool
// window's line at start, 「記録の履歴」, and the desktop notification of a
// run nobody watched. Pure.
namespace RunOutcome {

// 「完了」「ログインが切れていました」…, by exit code.
QString words(int exitCode);
// 「前回の自動記録: 12/08 05:30 完了（30名）」
QString lastRunLine(const RunRecord &record);

struct Notice
{
    QString summary;
    QString body; // lines joined with LF
};
// Names as a notification lists them: the first few, then how many more
// (「甲、乙、丙 ほか2名」).
QString names(const QStringList &names);
// The notification of a run: when it failed, with what to do, and when it
// found news. None when it completed and all is as the reading before.
std::optional<Notice> notice(const QString &worldKey, const RunRecord &record, const RunNews::News &news);

} // namespace RunOutcome
