#include "common/textsearch.h"

#include "common/readfailure.h"

namespace {

qsizetype toPosition(qsizetype index)
{
    return index < 0 ? 0 : index + 1;
}

qsizetype findForward(const QString &haystack, const QString &needle, qsizetype from, Qt::CaseSensitivity cs)
{
    if (from < 1)
        from = 1;
    if (from > haystack.size() + 1)
        return 0;
    return toPosition(haystack.indexOf(needle, from - 1, cs));
}

qsizetype findBackward(const QString &haystack, const QString &needle, qsizetype upTo, Qt::CaseSensitivity cs)
{
    if (upTo < 0)
        upTo = haystack.size();
    if (upTo < 1)
        return 0;
    return toPosition(haystack.lastIndexOf(needle, upTo - 1, cs));
}

void requireStart(qsizetype from, const QString &needle)
{
    if (from < 1)
        throw ReadFailure(QStringLiteral("「%1」を探す位置が不正です (%2)。").arg(needle).arg(from));
}

} // namespace

namespace TextSearch {

qsizetype continueFindAsText(const QString &haystack, const QString &needle, qsizetype from)
{
    requireStart(from, needle);
    return findAsText(haystack, needle, from);
}

qsizetype continueFindExact(const QString &haystack, const QString &needle, qsizetype from)
{
    requireStart(from, needle);
    return findExact(haystack, needle, from);
}

qsizetype findAsText(const QString &haystack, const QString &needle, qsizetype from)
{
    return findForward(haystack, needle, from, Qt::CaseInsensitive);
}

qsizetype findExact(const QString &haystack, const QString &needle, qsizetype from)
{
    return findForward(haystack, needle, from, Qt::CaseSensitive);
}

qsizetype findLastAsText(const QString &haystack, const QString &needle, qsizetype upTo)
{
    return findBackward(haystack, needle, upTo, Qt::CaseInsensitive);
}

qsizetype findLastExact(const QString &haystack, const QString &needle, qsizetype upTo)
{
    return findBackward(haystack, needle, upTo, Qt::CaseSensitive);
}

bool containsAsText(const QString &haystack, const QString &needle)
{
    return haystack.contains(needle, Qt::CaseInsensitive);
}

bool containsExact(const QString &haystack, const QString &needle)
{
    return haystack.contains(needle, Qt::CaseSensitive);
}

QString removeAll(QString text, const QString &what)
{
    if (!what.isEmpty())
        text.remove(what, Qt::CaseSensitive);
    return text;
}

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString mid(const QString &text, qsizetype start, qsizetype length)
{
    if (start < 1)
        throw ReadFailure(QStringLiteral("文字位置が不正です (%1)。").arg(start));
    if (length < 0)
        throw ReadFailure(QStringLiteral("文字数が不正です (%1)。").arg(length));
    return text.mid(start - 1, length);
}

QString span(const QString &text, qsizetype first, qsizetype last)
{
    return mid(text, first, last - first + 1);
}

} // namespace TextSearch
