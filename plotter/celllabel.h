#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

class Canvas;

namespace Plotter {

// The characters of text in full width: half-width letters, digits, signs
// and the blank become their full-width forms, half-width katakana become
// full-width katakana (a following voiced or semi-voiced mark joins its
// kana, so "ｶﾞ" is one character "ガ"); other characters stay as they are.
// A character outside the basic plane stays one character.
QStringList fullWidthCharacters(const QString &text);

// The two-character map label of a member: the first character at
// (left, top), the second 12 twips into the first one's width.
void CellLabel(Canvas &canvas, const QString &name, qint64 left, qint64 top);

} // namespace Plotter
