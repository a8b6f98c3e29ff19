#include "common/foldermove.h"

#include <QDir>
#include <QFileInfo>

namespace FolderMove {

Outcome moveMatching(const QString &from, const QString &to, const QStringList &patterns)
{
    Outcome outcome;
    const QDir source(from);
    QStringList seen;
    for (const QString &pattern : patterns) {
        const QStringList names = source.entryList(
            {pattern}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QString &name : names) {
            if (seen.contains(name))
                continue;
            seen << name;
            const QString target = QDir(to).filePath(name);
            // exists() follows links; a dangling link is an entry all the same.
            if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
                outcome.left << QStringLiteral("%1: 移動先に同じ名前があります").arg(name);
                continue;
            }
            if (QDir().rename(source.filePath(name), target))
                outcome.moved << name;
            else if (QFileInfo::exists(source.filePath(name)))
                outcome.left << QStringLiteral("%1: 移動できませんでした").arg(name);
            // Gone meanwhile: another copy of the program moved it first.
        }
    }
    return outcome;
}

} // namespace FolderMove
