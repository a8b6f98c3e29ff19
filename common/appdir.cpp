#include "common/appdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppDir {

QString withTrailingSlash(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString choose(const QString &programDir, const QString &dataFolder)
{
    const QFileInfo folder(programDir);
    // Write bits as well as access: an administrator runs with access to
    // every folder, and a prefix made read-only is still meant as one.
    const bool writable = folder.isWritable() &&
                          (folder.permissions() &
                           (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
    const bool installed = QFileInfo::exists(
        QDir(programDir)
            .filePath(QStringLiteral("../share/applications/") + desktopId() + QStringLiteral(".desktop")));
    return withTrailingSlash(writable && !installed ? programDir : dataFolder);
}

QString userDataFolder()
{
    // One folder for both programs, whatever each one is called.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/ovekwarden");
}

QString path()
{
    const QString chosen = choose(QCoreApplication::applicationDirPath(), userDataFolder());
    QDir().mkpath(chosen);
    return chosen;
}

} // namespace AppDir
