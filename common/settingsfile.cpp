#include "common/settingsfile.h"

#include <QDir>
#include <QSettings>

namespace SettingsFile {

QString commit(QSettings &file)
{
    file.sync();
    if (file.status() != QSettings::NoError)
        return QStringLiteral("設定ファイル %1 を保存できませんでした。")
            .arg(QDir::toNativeSeparators(file.fileName()));
    return {};
}

} // namespace SettingsFile
