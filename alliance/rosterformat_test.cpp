#include "alliance/rosterformat.h"
#include "common/datafile.h"
#include "common/readfailure.h"
#include "site/document.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

Document profile(const QString &body)
{
    return Document::fromHtml(
        QStringLiteral("http://w3.example.jp/user/?user_id=501"),
        QStringLiteral("<!DOCTYPE html><html><head><title>プロフィール</title></head><body>") + body +
            QStringLiteral("</body></html>"));
}

const QString castleRow =
    QStringLiteral("<table><tr><td>城</td><td>(本拠地)</td>"
                   "<td><a href=\"/land.php?x=-12&amp;y=34&amp;c=1\">-12,34</a></td></tr></table>");

} // namespace

TEST(HomeCastleCoordinates, TakesTheLinkTextAfterTheHomeCastleLabel)
{
    const QString otherCastle = QStringLiteral(
        "<p><a href=\"/land.php?x=5&amp;y=5&amp;c=2\">5,5</a></p>"); // before the label: not it
    EXPECT_EQ(homeCastleCoordinates(profile(otherCastle + castleRow)), QStringLiteral("-12,34"));
}

TEST(HomeCastleCoordinates, NoLabelMeansTryAgainABrokenLinkFails)
{
    EXPECT_EQ(homeCastleCoordinates(profile(QStringLiteral("<p>読み込み中</p>"))), std::nullopt);
    EXPECT_EQ(homeCastleCoordinates(Document()), std::nullopt);
    // The label is matched exactly: full-width parentheses are another text.
    EXPECT_EQ(homeCastleCoordinates(profile(QStringLiteral("<p>（本拠地）</p>"))), std::nullopt);

    QString noCastleParam = castleRow;
    noCastleParam.replace(QStringLiteral("&amp;c=1"), QString());
    EXPECT_THROW(homeCastleCoordinates(profile(noCastleParam)), ReadFailure);
}

TEST(RosterLine, EveryCommaOfTheCoordinatesSeparatesAField)
{
    EXPECT_EQ(rosterLine(QStringLiteral("LordA"), QStringLiteral("-12,34")),
              QStringLiteral("\"LordA\",\"-12\",\"34\"\r\n"));
    EXPECT_EQ(rosterLine(QStringLiteral("織田信長"), QStringLiteral("7")),
              QStringLiteral("\"織田信長\",\"7\"\r\n"));
    EXPECT_EQ(rosterLine(QStringLiteral("LordB"), QString()), QStringLiteral("\"LordB\",\"\"\r\n"));
}

TEST(RosterFile, ThreeMembersThenOneEmptyLine)
{
    const QString text = rosterText({rosterLine(QStringLiteral("LordA"), QStringLiteral("-12,34")),
                                     rosterLine(QStringLiteral("LordB"), QStringLiteral("0,0")),
                                     rosterLine(QStringLiteral("LordC"), QStringLiteral("180,-180"))});
    EXPECT_EQ(rosterFileName(QStringLiteral("123")), QStringLiteral("OVEKMAP_DATA_123.txt"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(rosterFileName(QStringLiteral("123")));
    ASSERT_TRUE(DataFile::writeText(path, text));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\"LordA\",\"-12\",\"34\"\r\n\"LordB\",\"0\",\"0\"\r\n"
                                         "\"LordC\",\"180\",\"-180\"\r\n\r\n"));
}
