#include "common/appdir.h"

#include <QCoreApplication>

namespace AppDir {

QString withTrailingSlash(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString path()
{
    return withTrailingSlash(QCoreApplication::applicationDirPath());
}

} // namespace AppDir
