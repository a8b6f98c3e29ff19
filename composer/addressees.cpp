#include "composer/addressees.h"

#include "common/rosterfile.h"
#include "common/textsearch.h"

#include <QSet>

using TextSearch::trimSpaces;

namespace Addressees {

namespace {

// The field's parts between its commas, a quoted name being one part:
// the roster file's own field rule, so a name is split the same way in
// both. Without quotes this is a plain split at ",".
QStringList parts(const QString &field)
{
    return RosterFile::fields(field);
}

QString blanksRemoved(const QString &name)
{
    return TextSearch::removeAll(name, QStringLiteral(" "));
}

} // namespace

QStringList names(const QString &field)
{
    QStringList found;
    for (const QString &part : parts(field)) {
        if (!part.isEmpty())
            found.append(part);
    }
    return found;
}

QString joined(const QStringList &names)
{
    // Empty names are left out. (Closing up ",," by removing it would glue
    // the names on both sides of an empty part into one: "A,,B" would send
    // to a lord "AB".)
    QStringList written;
    for (const QString &name : names) {
        if (name.isEmpty())
            continue;
        written.append(name.contains(u',') ? u'"' + name + u'"' : name);
    }
    return written.join(u',');
}

std::optional<QString> addPicked(const QString &field, const QString &name)
{
    if (field.isEmpty())
        return name;
    if (parts(field).size() < kMaxPerLetter)
        return trimSpaces(field) + u',' + name;
    return std::nullopt;
}

Split splitForSending(const QString &field)
{
    const QStringList split = parts(field);
    if (split.size() < kMaxPerLetter)
        return {field, field, QString()};
    // With exactly three names nothing is left over: the field becomes
    // empty, not a lone ",".
    const QString rest = joined(split.mid(kMaxPerLetter));
    return {joined(split.mid(0, kMaxPerLetter)), rest, rest};
}

QString caption(const QString &field)
{
    const QString plain = QStringLiteral("　新規作成");
    const qsizetype waiting = names(field).size();
    return waiting > kMaxPerLetter ? plain + QStringLiteral("（残り %1名）").arg(waiting) : plain;
}

QStringList notInRoster(const QStringList &names, const QStringList &rosterNames)
{
    QSet<QString> roster;
    for (const QString &name : rosterNames)
        roster.insert(blanksRemoved(name));
    QStringList missing;
    for (const QString &name : names) {
        if (!roster.contains(blanksRemoved(name)))
            missing.append(name);
    }
    return missing;
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
