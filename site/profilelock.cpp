#include "site/profilelock.h"

#include <QDir>
#include <QFileInfo>

ProfileLock::ProfileLock(const QString &profileDir)
    : m_profileDir(profileDir), m_lock(QDir::cleanPath(profileDir) + QStringLiteral(".lock"))
{
    // Only a holder that is no longer running makes the lock stale: a run of
    // a large alliance holds it for hours.
    m_lock.setStaleLockTime(0);
}

bool ProfileLock::tryLock()
{
    if (m_lock.isLocked())
        return true;
    QDir().mkpath(QFileInfo(m_profileDir).absolutePath());
    return m_lock.tryLock(0);
}

QString ProfileLock::inUseMessage() const
{
    return QStringLiteral("ブラウザのプロファイル（%1）は、起動中の別の ovekwarden が使っています。"
                          "先に起動している ovekwarden が終わってから、もう一度実行してください。")
        .arg(QDir::toNativeSeparators(m_profileDir));
}
