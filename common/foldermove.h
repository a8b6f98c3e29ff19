#pragma once

#include <QString>
#include <QStringList>

// Moving a program's files from one folder into another of the same disk,
// one rename each: a file or folder is either still where it was or wholly
// in its new place, whatever stops the program, and nothing already in the
// new place is ever replaced.
namespace FolderMove {

struct Outcome
{
    QStringList moved; // bare names, in the order they were moved
    QStringList left;  // "name: why", for the user; the entry stays where it was
};

// Every file and folder of from whose name matches one of the wildcard
// patterns, in the order of the patterns (so parts that belong together
// can be moved in a safe order).
Outcome moveMatching(const QString &from, const QString &to, const QStringList &patterns);

} // namespace FolderMove
