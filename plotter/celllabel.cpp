#include "plotter/celllabel.h"

#include "plotter/canvas.h"

namespace Plotter {

namespace {

constexpr char16_t HalfWidthKanaFirst = 0xFF61;
constexpr char16_t HalfWidthKanaLast = 0xFF9F;
constexpr char16_t HalfWidthVoicedMark = 0xFF9E;
constexpr char16_t HalfWidthSemiVoicedMark = 0xFF9F;
constexpr qint64 LabelOverlap = 12;

bool isHalfWidthKana(char16_t unit)
{
    return unit >= HalfWidthKanaFirst && unit <= HalfWidthKanaLast;
}

bool isVoicedMark(char16_t unit)
{
    return unit == HalfWidthVoicedMark || unit == HalfWidthSemiVoicedMark;
}

// The spacing forms, as a mark standing alone is written in full width
// (compatibility decomposition would give the combining marks instead).
QString standaloneMark(char16_t unit)
{
    return QString(QChar(unit == HalfWidthVoicedMark ? char16_t(0x309B) : char16_t(0x309C)));
}

QString wideKana(const QString &kana)
{
    return kana.normalized(QString::NormalizationForm_KC);
}

} // namespace

QStringList fullWidthCharacters(const QString &text)
{
    QStringList characters;
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t unit = text.at(i).unicode();
        if (unit == u' ') {
            characters.append(QString(QChar(0x3000)));
            ++i;
        } else if (unit >= 0x21 && unit <= 0x7E) {
            characters.append(QString(QChar(char16_t(unit + 0xFEE0))));
            ++i;
        } else if (isVoicedMark(unit)) {
            characters.append(standaloneMark(unit));
            ++i;
        } else if (isHalfWidthKana(unit)) {
            const bool marked = i + 1 < text.size() && isVoicedMark(text.at(i + 1).unicode());
            const QString joined = marked ? wideKana(text.mid(i, 2)) : QString();
            if (marked && joined.size() == 1) {
                characters.append(joined);
                i += 2;
            } else {
                // A kana without a joined form ("ｱﾞ") keeps its mark as the
                // next character.
                characters.append(wideKana(text.mid(i, 1)));
                ++i;
            }
        } else if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            characters.append(text.mid(i, 2));
            i += 2;
        } else {
            characters.append(text.mid(i, 1));
            ++i;
        }
    }
    return characters;
}

void CellLabel(Canvas &canvas, const QString &name, qint64 left, qint64 top)
{
    // Only the first two characters are shown; converting a longer name
    // whole would cost time for nothing on a 500-member map.
    const QStringList characters = fullWidthCharacters(name.left(8));
    const QString first = characters.value(0);
    const QString second = characters.value(1);
    if (first.isEmpty())
        return;
    canvas.drawText(left, top, first);
    if (second.isEmpty())
        return;
    canvas.drawText(left + canvas.textWidth(first) - LabelOverlap, top, second);
}

} // namespace Plotter
