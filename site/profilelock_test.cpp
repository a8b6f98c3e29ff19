#include "site/profilelock.h"

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ProfileLockTest, OneHolderAtATime)
{
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("browser-profile"));
    {
        ProfileLock first(profile);
        ASSERT_TRUE(first.tryLock());
        ProfileLock second(profile);
        EXPECT_FALSE(second.tryLock());
        EXPECT_TRUE(second.inUseMessage().contains(QStringLiteral("browser-profile")));
    }
    ProfileLock afterwards(profile);
    EXPECT_TRUE(afterwards.tryLock()) << "released with its holder";
}

TEST(ProfileLockTest, ALockLeftByAProgramThatDiedIsTakenOver)
{
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("browser-profile"));
    // What a holder killed by a signal leaves: its process id, long gone.
    QFile stale(profile + QStringLiteral(".lock"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("2147483646\novekwarden\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    ProfileLock lock(profile);
    EXPECT_TRUE(lock.tryLock());
}

} // namespace
