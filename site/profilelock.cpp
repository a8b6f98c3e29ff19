#include "site/profilelock.h"

#include "common/datafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString lockPath(const QString &profileDir)
{
    return QDir::cleanPath(profileDir) + QStringLiteral(".lock");
}

// QLockFile keeps the system's reason to itself: a file of a lock's size
// written beside it, by the one file helper, says it in the user's words
// (a full disk, no permission); empty when the folder takes it.
QString whyNotWritable(const QString &lockFile)
{
    const QString probe = lockFile + QStringLiteral(".probe");
    const DataFile::Result written = DataFile::writeBytes(probe, QByteArray(64, '0'));
    QFile::remove(probe);
    // The words name the file the program meant to make: the lock.
    return written ? QString() : QString(written.error).replace(QDir::toNativeSeparators(probe),
                                                               QDir::toNativeSeparators(lockFile));
}

} // namespace

ProfileLock::ProfileLock(const QString &profileDir) : m_profileDir(profileDir), m_lock(lockPath(profileDir))
{
    // Only a holder that is no longer running makes the lock stale: a run of
    // a large alliance holds it for hours.
    m_lock.setStaleLockTime(0);
}

ProfileLock::Claim ProfileLock::tryLock()
{
    if (m_lock.isLocked())
        return Claim::Held;
    QDir().mkpath(QFileInfo(m_profileDir).absolutePath());
    if (m_lock.tryLock(0))
        return Claim::Held;
    // A lock file that cannot be written is held by nobody. A lock left by
    // a program that died is only taken over when a file can be made beside
    // it, so a full disk shows as held too: the folder is asked then.
    const QString problem = whyNotWritable(lockPath(m_profileDir));
    if (m_lock.error() == QLockFile::LockFailedError && problem.isEmpty())
        return Claim::InUse;
    m_writeProblem = problem.isEmpty() ? QStringLiteral("書き込みに失敗しました。") : problem;
    return Claim::CannotWrite;
}

QString ProfileLock::inUseMessage() const
{
    return QStringLiteral("ブラウザのプロファイル（%1）は、起動中の別の ovekwarden が使っています。"
                          "先に起動している ovekwarden が終わってから、もう一度実行してください。")
        .arg(QDir::toNativeSeparators(m_profileDir));
}

QString ProfileLock::cannotWriteMessage() const
{
    return QStringLiteral("データのフォルダ（%1）に書き込めないため、始められませんでした。\r\n%2")
        .arg(QDir::toNativeSeparators(QFileInfo(m_profileDir).absolutePath()), m_writeProblem);
}
