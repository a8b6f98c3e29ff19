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
