#include "site/profilelock.h"
#include "testsupport/common/filesizelimit.h"

#include <QDateTime>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Claim = ProfileLock::Claim;

TEST(ProfileLockTest, OneHolderAtATimeAlsoWhenTheFirstHasHeldItForAnHour)
{
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("browser-profile"));
    {
        ProfileLock first(profile);
        ASSERT_EQ(first.tryLock(), Claim::Held);
        // A walk of a large alliance holds the profile for hours: the lock's
        // age alone never makes it another program's to take.
        QFile lockFile(profile + QStringLiteral(".lock"));
        ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
        ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                         QFileDevice::FileModificationTime));
        lockFile.close();
        ProfileLock second(profile);
        EXPECT_EQ(second.tryLock(), Claim::InUse);
        EXPECT_TRUE(second.inUseMessage().contains(QStringLiteral("browser-profile")));
    }
    ProfileLock afterwards(profile);
    EXPECT_EQ(afterwards.tryLock(), Claim::Held) << "released with its holder";
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
    EXPECT_EQ(lock.tryLock(), Claim::Held);
}

TEST(ProfileLockTest, ALockThatCannotBeWrittenIsNoOtherProgramsAndSaysWhy)
{
    // A full disk, with and without a lock left by a program that died:
    // neither is "in use", both say the disk is full.
    for (const bool leftByDeadProgram : {false, true}) {
        QTemporaryDir dir;
        const QString profile = dir.filePath(QStringLiteral("browser-profile"));
        if (leftByDeadProgram) {
            QFile stale(profile + QStringLiteral(".lock"));
            ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
            stale.write("2147483646\novekwarden\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        }
        ProfileLock lock(profile);
        Claim claim;
        {
            const FileSizeLimit full(0);
            claim = lock.tryLock();
        }
        EXPECT_EQ(claim, Claim::CannotWrite) << leftByDeadProgram;
        const QString message = lock.cannotWriteMessage();
        EXPECT_TRUE(message.startsWith(QStringLiteral("データのフォルダ（") + dir.path()))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("ディスクの空きが足りません"))) << message.toStdString();
        EXPECT_FALSE(message.contains(QStringLiteral("別の ovekwarden")));
        EXPECT_FALSE(QFile::exists(profile + QStringLiteral(".lock.probe"))) << "nothing of the look stays";
    }
}

} // namespace
