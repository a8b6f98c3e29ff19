#pragma once

#include "alliance/walk/commandcontext.h"

#include <QString>

class Clock;

// The command as the user knows it: caption, progress, history.
inline const QString kBranchCastlesLabel = QStringLiteral("出城リスト作成");

// 「出城リスト作成」: visits every member's profile and lists in Text1 the
// members' branch castles grouped by the fort they stand near, under a line
// with the date and time of the list. Returns the number of members listed
// over.
qsizetype ListBranchCastles(CommandContext &context, const Clock &clock);
