#include "site/document.h"
#include "site/pagekeeper.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(DiagnosisFolderTest, KeepsEachPageUnderTheTimeAndFamilyAndOnlyTheNewestTwenty)
{
    QTemporaryDir dir;
    FakeClock clock(9 * 3600, QDate(2026, 12, 7));
    DiagnosisFolder folder(dir.path() + u'/', clock);
    const Document page = Document::fromHtml(QStringLiteral("http://w3.test/war/war_ranking.php?p=1"),
                                             QStringLiteral("<p>城</p><input type=hidden value=secret>"));

    const QString first = folder.keep(PageMark::Family::Ranking, page);
    EXPECT_EQ(first,
              QDir::toNativeSeparators(dir.path() + QStringLiteral("/診断/20261207_090000_ranking.html")));
    // Two in the same second both stay.
    EXPECT_TRUE(folder.keep(PageMark::Family::Ranking, page)
                    .endsWith(QStringLiteral("20261207_090000_ranking_2.html")));
    QFile file(first);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("<!-- http://w3.test/war/war_ranking.php?p=1 -->\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("<P>城</P>")));
    EXPECT_FALSE(text.contains(QStringLiteral("secret")));

    for (int i = 0; i < 21; ++i) {
        clock.advance(60);
        folder.keep(i % 2 ? PageMark::Family::Profile : PageMark::Family::Inbox, page);
    }
    const QStringList kept = QDir(dir.path() + QStringLiteral("/診断")).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(kept.size(), DiagnosisFolder::kKeptFiles);
    EXPECT_EQ(kept.first(), QStringLiteral("20261207_090200_profile.html")) << "the three oldest went";
    EXPECT_EQ(kept.last(), QStringLiteral("20261207_092100_inbox.html"));
}

TEST(DiagnosisFolderTest, AFolderThatCannotBeMadeKeepsNothingAndSaysNoPath)
{
    QTemporaryDir dir;
    FakeClock clock;
    // A file where the folder would go.
    QFile blocker(dir.path() + QStringLiteral("/診断"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    DiagnosisFolder folder(dir.path() + u'/', clock);
    EXPECT_EQ(folder.keep(PageMark::Family::Alliance, Document()), QString());
}

} // namespace
