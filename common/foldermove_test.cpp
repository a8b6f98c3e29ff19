#include "common/foldermove.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

TEST(FolderMove, MovesWhatMatchesInThePatternsOrderAndNeverReplacesAnything)
{
    QTemporaryDir base;
    const QDir from(base.path());
    ASSERT_TRUE(from.mkpath(QStringLiteral("w003/kept")));
    const QString to = from.filePath(QStringLiteral("w003"));
    write(from.filePath(QStringLiteral("OVEKMAP_DATA_1.txt")), "one");
    write(from.filePath(QStringLiteral("OVEKMAP_DATA_2.txt")), "old two");
    write(to + QStringLiteral("/OVEKMAP_DATA_2.txt"), "new two");
    write(from.filePath(QStringLiteral("db.sqlite-wal")), "wal");
    write(from.filePath(QStringLiteral("db.sqlite")), "db");
    write(from.filePath(QStringLiteral("notes.txt")), "mine");
    ASSERT_TRUE(from.mkpath(QStringLiteral("profile/Default")));
    write(from.filePath(QStringLiteral("profile/Default/Cookies")), "c");
    ASSERT_TRUE(from.mkpath(QStringLiteral("kept")));

    const FolderMove::Outcome outcome = FolderMove::moveMatching(
        from.path(), to,
        {QStringLiteral("db.sqlite-wal"), QStringLiteral("db.sqlite*"), QStringLiteral("OVEKMAP_DATA_*.txt"),
         QStringLiteral("profile"), QStringLiteral("kept"), QStringLiteral("absent")});

    EXPECT_EQ(outcome.moved, (QStringList{QStringLiteral("db.sqlite-wal"), QStringLiteral("db.sqlite"),
                                          QStringLiteral("OVEKMAP_DATA_1.txt"), QStringLiteral("profile")}));
    EXPECT_EQ(outcome.left.size(), 2) << outcome.left.join(u'|').toStdString();
    EXPECT_EQ(read(to + QStringLiteral("/OVEKMAP_DATA_1.txt")), "one");
    EXPECT_EQ(read(to + QStringLiteral("/db.sqlite")), "db");
    EXPECT_EQ(read(to + QStringLiteral("/profile/Default/Cookies")), "c");
    // What was there already stays, and so does what could not join it.
    EXPECT_EQ(read(to + QStringLiteral("/OVEKMAP_DATA_2.txt")), "new two");
    EXPECT_EQ(read(from.filePath(QStringLiteral("OVEKMAP_DATA_2.txt"))), "old two");
    EXPECT_TRUE(from.exists(QStringLiteral("kept")));
    EXPECT_EQ(read(from.filePath(QStringLiteral("notes.txt"))), "mine");
}

} // namespace
