#include "alliance/console/worldfiles.h"

#include "alliance/commands/commandtable.h"
#include "alliance/rules/activityhistory.h"
#include "alliance/rules/rankingarchive.h"
#include "common/foldermove.h"
#include "common/rosterfile.h"
#include "composer/letterfile.h"
#include "history/historystore.h"
#include "site/pagekeeper.h"
#include "site/profilelock.h"
#include "site/webdriverbrowser.h"

#include <QDir>

namespace WorldFiles {

Result<QString> folderOf(const QString &baseDir, const WorldConfig &world)
{
    const QString folder = QDir(baseDir).filePath(world.folderName()) + u'/';
    if (!QDir().mkpath(folder))
        return Result<QString>::failure(
            QStringLiteral("ワールドのフォルダ %1 を作れません。").arg(QDir::toNativeSeparators(folder)));
    return {true, {}, folder};
}

QStringList namesOfBefore(const QString &worldNumber)
{
    const QString history = HistoryStore::fileName();
    QStringList names{history + QStringLiteral("-wal"), history + QStringLiteral("-shm"),
                      history + QStringLiteral("-journal"), history};
    names << RosterFile::fileName(QStringLiteral("*")) << ActivityHistory::fileName(QStringLiteral("*"));
    for (int category = 0; category < 4; ++category)
        names << RankingArchive::fileName(QStringLiteral("*"), category);
    names << LetterFile::pattern(worldNumber) << QStringLiteral("MailAd追加.txt");
    // The dated texts of runs without the window ("report_2581_20261208.txt").
    for (const QString &key : CommandTable::unattendedKeys())
        names << key + QStringLiteral("_*_*.txt");
    names << DiagnosisFolder::folderName() << WebDriverOptions::profileFolderName();
    return names;
}

QString adoptFilesOfBefore(const QString &baseDir, const WorldConfig &owner)
{
    const QStringList names = namesOfBefore(owner.worldNumber);
    if (QDir(baseDir).entryList(names, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
        return {};
    // A program of before, still running, holds its profile's lock: its
    // files are in use and move at a later start.
    ProfileLock before(QDir(baseDir).filePath(WebDriverOptions::profileFolderName()));
    if (before.tryLock() != ProfileLock::Claim::Held)
        return {};
    const Result<QString> folder = folderOf(baseDir, owner);
    if (!folder)
        return folder.error;
    const FolderMove::Outcome outcome = FolderMove::moveMatching(baseDir, folder.value, names);
    if (outcome.left.isEmpty())
        return {};
    return QStringLiteral("以前のファイルのうち、次のものはワールドのフォルダ %1 に移せなかったため、"
                          "元の場所 %2 に残しています。\r\n")
               .arg(QDir::toNativeSeparators(folder.value), QDir::toNativeSeparators(baseDir)) +
           outcome.left.join(QStringLiteral("\r\n"));
}

} // namespace WorldFiles
