#pragma once

#include <QLockFile>
#include <QString>

// Claims the browser profile for this program for as long as it lives. Two
// Chromiums on one profile spoil each other's cookies, and a second copy of
// the program (a timer's run while the window is open) would drive the first
// one's browser, so the second copy must learn it before starting any. A
// lock left by a program that died is taken over.
class ProfileLock
{
public:
    enum class Claim {
        Held,        // this program holds the profile now
        InUse,       // another running program holds it
        CannotWrite, // the lock could not be made: a full disk, no permission
    };

    explicit ProfileLock(const QString &profileDir);

    Claim tryLock();

    // "ブラウザのプロファイル（…）は、起動中の別の ovekwarden が使っています。…"
    QString inUseMessage() const;
    // Why the lock could not be made, after Claim::CannotWrite.
    QString cannotWriteMessage() const;

private:
    QString m_profileDir;
    QLockFile m_lock;
    QString m_writeProblem;
};
