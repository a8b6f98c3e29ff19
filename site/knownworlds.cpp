#include "site/knownworlds.h"

#include "common/settingsfile.h"
#include "site/worldsettings.h"

#include <QDir>
#include <QSettings>
#include <QUrl>

namespace {

const QString kGroup = QStringLiteral("worlds");

QString settingsPath(const QString &baseDir)
{
    return QDir(baseDir).filePath(WorldSettingsFile::fileName());
}

// The list as it stands in the file, last used first. An entry spoilt by
// hand is let be: it could not be started.
QList<WorldConfig> readList(QSettings &file)
{
    QList<WorldConfig> worlds;
    const int size = file.beginReadArray(kGroup);
    for (int i = 0; i < size; ++i) {
        file.setArrayIndex(i);
        const WorldConfig world = WorldSettingsFile::read(file);
        if (WorldSettingsFile::isValid(world))
            worlds.append(world);
    }
    file.endArray();
    return worlds;
}

qsizetype indexOf(const QList<WorldConfig> &worlds, const WorldConfig &world)
{
    for (qsizetype i = 0; i < worlds.size(); ++i) {
        if (worlds.at(i).folderName() == world.folderName())
            return i;
    }
    return -1;
}

} // namespace

namespace KnownWorlds {

QList<WorldConfig> load(const QString &baseDir, const WorldConfig &saved)
{
    QSettings file(settingsPath(baseDir), QSettings::IniFormat);
    QList<WorldConfig> worlds = readList(file);
    if (indexOf(worlds, saved) < 0)
        worlds.append(saved);
    return worlds;
}

QString remember(const QString &baseDir, const WorldConfig &world, Use use)
{
    const QString path = settingsPath(baseDir);
    QSettings file(path, QSettings::IniFormat);
    QList<WorldConfig> worlds = readList(file);
    const qsizetype known = indexOf(worlds, world);
    if (known >= 0 && use == Use::Background)
        worlds[known] = world;
    else {
        if (known >= 0)
            worlds.removeAt(known);
        worlds.insert(use == Use::Chosen ? 0 : worlds.size(), world);
    }
    file.remove(kGroup);
    file.beginWriteArray(kGroup, int(worlds.size()));
    for (int i = 0; i < worlds.size(); ++i) {
        file.setArrayIndex(i);
        WorldSettingsFile::write(file, worlds.at(i));
    }
    file.endArray();
    return SettingsFile::commit(file);
}

QStringList captions(const QList<WorldConfig> &worlds)
{
    QStringList captions;
    for (const WorldConfig &world : worlds) {
        qsizetype sharing = 0;
        for (const WorldConfig &other : worlds)
            sharing += other.worldLinkKey() == world.worldLinkKey() ? 1 : 0;
        const QUrl server(world.worldBaseUrl);
        const QString host =
            server.port() == -1 ? server.host() : server.host() + u':' + QString::number(server.port());
        captions << (sharing > 1 ? world.worldLinkKey() + u' ' + host : world.worldLinkKey());
    }
    return captions;
}

} // namespace KnownWorlds
