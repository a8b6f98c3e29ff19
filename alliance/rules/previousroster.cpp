#include "alliance/rules/previousroster.h"

PreviousRoster PreviousRoster::fromEntries(const QList<RosterFile::Entry> &entries)
{
    PreviousRoster roster;
    // The first line of a name counts, as in every other reader's use.
    for (const RosterFile::Entry &entry : entries) {
        if (!roster.m_lines.contains(entry.name))
            roster.m_lines.insert(entry.name, entry.line + QStringLiteral("\r\n"));
    }
    return roster;
}

std::optional<QString> PreviousRoster::lineOf(const QString &name) const
{
    const auto found = m_lines.constFind(name);
    if (found == m_lines.constEnd())
        return std::nullopt;
    return *found;
}
