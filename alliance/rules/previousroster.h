#pragma once

#include "common/rosterfile.h"

#include <QHash>
#include <QString>
#include <optional>

// The roster a former run wrote, line by line, by member name. A member
// whose profile could not be read this time keeps the line of that roster,
// so a passing fault never shrinks a complete roster.
class PreviousRoster
{
public:
    // From the member lines of the roster file.
    static PreviousRoster fromEntries(const QList<RosterFile::Entry> &entries);

    // The member's line as the former run wrote it, with its CR LF.
    std::optional<QString> lineOf(const QString &name) const;

private:
    QHash<QString, QString> m_lines;
};
