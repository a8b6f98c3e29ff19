#include "composer/addressees.h"

#include "common/textsearch.h"

using TextSearch::trimSpaces;

namespace Addressees {

namespace {

// The names joined by ",", empty parts left out. (Closing up ",," by
// removing it would glue the names on both sides of an empty part into one:
// "A,,B" would send to a lord "AB".)
QString joinWithoutGaps(const QStringList &parts)
{
    QStringList names;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            names.append(part);
    }
    return names.join(u',');
}

} // namespace

std::optional<QString> addPicked(const QString &field, const QString &name)
{
    if (field.isEmpty())
        return name;
    if (field.split(u',').size() < kMaxPerLetter)
        return trimSpaces(field) + u',' + name;
    return std::nullopt;
}

Split splitForSending(const QString &field)
{
    const QStringList parts = field.split(u',');
    if (parts.size() < kMaxPerLetter)
        return {field, field};
    const QStringList rest = parts.mid(kMaxPerLetter);
    // With exactly three names nothing is left over: the field becomes
    // empty, not a lone ",".
    return {joinWithoutGaps(parts.mid(0, kMaxPerLetter)), rest.isEmpty() ? QString() : joinWithoutGaps(rest)};
}

QStringList extraNames(const QStringList &lines)
{
    QStringList names;
    for (const QString &line : lines) {
        const QString name = trimSpaces(line);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

QStringList pouredLines(const QString &source)
{
    // Text copied on this desktop may end its lines with LF alone; those
    // are line breaks too, not part of a name.
    QString text = source;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines;
    for (const QString &line : text.split(u'\n')) {
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

} // namespace Addressees
