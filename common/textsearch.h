#pragma once

#include <QString>

// Substring search as the page readers use it. Positions are 1-based, as in
// the reading rules, and 0 means "not found". Positions are wide integers, so
// a page of any length can be searched.
namespace TextSearch {

// First occurrence of needle starting at or after position from. "AsText"
// ignores letter case; "Exact" does not.
qsizetype findAsText(const QString &haystack, const QString &needle, qsizetype from = 1);
qsizetype findExact(const QString &haystack, const QString &needle, qsizetype from = 1);

// Last occurrence of needle starting at or before position upTo (the whole
// text when upTo is omitted).
qsizetype findLastAsText(const QString &haystack, const QString &needle, qsizetype upTo = -1);
qsizetype findLastExact(const QString &haystack, const QString &needle, qsizetype upTo = -1);

// The same search continued from the position of an earlier marker. A from
// of 0 means that marker was missing, which fails the read (ReadFailure)
// rather than silently searching again from the top of the page.
qsizetype continueFindAsText(const QString &haystack, const QString &needle, qsizetype from);
qsizetype continueFindExact(const QString &haystack, const QString &needle, qsizetype from);

bool containsAsText(const QString &haystack, const QString &needle);
bool containsExact(const QString &haystack, const QString &needle);

// Every occurrence of what removed, matched exactly.
QString removeAll(QString text, const QString &what);

// Removes U+0020 at both ends and nothing else: U+3000, tabs, CR and LF are
// part of the text. (QString::trimmed strips all of those.)
QString trimSpaces(const QString &text);

// length characters from 1-based position start. A start below 1 or a
// negative length means a marker was missing: it throws ReadFailure, which
// the readers let reach their caller. A length past the end is cut short.
QString mid(const QString &text, qsizetype start, qsizetype length);
// Characters from 1-based position first up to and including last.
QString span(const QString &text, qsizetype first, qsizetype last);

} // namespace TextSearch
