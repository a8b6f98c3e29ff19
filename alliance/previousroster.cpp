#include "alliance/previousroster.h"

PreviousRoster PreviousRoster::fromLines(const QStringList &lines)
{
    PreviousRoster roster;
    for (const QString &line : lines) {
        // The name is the text between the first and the second double
        // quote, as the other readers of the roster take it.
        const qsizetype open = line.indexOf(u'"');
        const qsizetype close = open < 0 ? -1 : line.indexOf(u'"', open + 1);
        if (close < 0)
            continue;
        const QString name = line.mid(open + 1, close - open - 1);
        if (!name.isEmpty() && !roster.m_lines.contains(name))
            roster.m_lines.insert(name, line + QStringLiteral("\r\n"));
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
