#pragma once

#include <QString>

// Takes one field out of a page's markup: the text between startMarker and
// endMarker that follows marker1 (and marker2, when given), trimmed of
// spaces. A missing marker gives an empty text and leaves source as it was;
// the caller decides whether to retry. With consume set, source is cut so
// that it starts at the end marker, and the next call continues from there.
// An end marker found inside the start marker throws ReadFailure.
QString ExtractBetween(QString &source, const QString &marker1, const QString &marker2,
                       const QString &startMarker, const QString &endMarker, bool consume);

// A search that continues from the position of an earlier marker. Position 0
// means that marker was missing, which fails the read (ReadFailure) rather
// than silently searching from the top of the page.
qsizetype continueFindAsText(const QString &text, const QString &needle, qsizetype from);
qsizetype continueFindExact(const QString &text, const QString &needle, qsizetype from);
