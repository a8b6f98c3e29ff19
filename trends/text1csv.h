#pragma once

#include "trends/trendstable.h"

#include <optional>

// The output box's roster or alliance report as a table of one row per
// member, for 「CSVで保存…」.
namespace Text1Csv {

// The roster: every line "name","x","y" gives the row 名前, X, Y.
std::optional<TrendsTable> rosterTable(const QString &text);
// The alliance report: one row per member of 名前, 人口, 戦功, each as the
// report shows it after "<<", taken from its two star-bar sections.
std::optional<TrendsTable> reportTable(const QString &text);
// Whichever of the two the text is; nothing for any other output.
std::optional<TrendsTable> tableFromOutput(const QString &text);

// The file name 「CSVで保存…」 suggests: a report after the alliance it was
// made for, a roster (or anything else) after the own alliance.
QString suggestedFileName(const QString &text, const QString &reportAllianceId, const QString &ownAllianceId);

} // namespace Text1Csv

class TrendsFilePort;

namespace Text1Csv {

// 「CSVで保存…」 of the output box: asks where, starting at suggestedPath,
// and saves; tells the user when the box holds neither a roster nor a report,
// or when the file cannot be written. True when saved.
bool saveOutput(const QString &outputText, const QString &suggestedPath, TrendsFilePort &port);

} // namespace Text1Csv
