#include "site/extractbetween.h"

#include "common/readfailure.h"
#include "common/textsearch.h"

QString ExtractBetween(QString &source, const QString &marker1, const QString &marker2,
                       const QString &startMarker, const QString &endMarker, bool consume)
{
    using namespace TextSearch;
    qsizetype anchor = findAsText(source, marker1);
    if (anchor == 0)
        return {};
    if (!marker2.isEmpty()) {
        // The second anchor must match exactly: it tells apart fields whose
        // labels differ only in letter case.
        anchor = findExact(source, marker2, anchor + 1);
        if (anchor == 0)
            return {};
    }
    const qsizetype start = findAsText(source, startMarker, anchor);
    if (start == 0)
        return {};
    // From the start marker itself, not after it: an end marker inside the
    // start marker gives a negative length, and mid() refuses that.
    const qsizetype end = findAsText(source, endMarker, start);
    if (end == 0)
        return {};
    const qsizetype fieldStart = start + startMarker.size();
    const QString field = trimSpaces(mid(source, fieldStart, end - fieldStart));
    if (consume)
        source = source.mid(end - 1);
    return field;
}
