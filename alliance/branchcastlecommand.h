#pragma once

#include "alliance/commandcontext.h"

class Clock;

// 「出城リスト作成」: visits every member's profile and lists in Text1 the
// members' branch castles grouped by the fort they stand near, under a line
// with the date and time of the list.
void ListBranchCastles(CommandContext &context, const Clock &clock);
