// The four readers of the roster see the same members: the roster's own
// carry-over, the reply checker, the composer's addressee list and the
// plotter, for names that hold a comma, a blank or a double quote.
#include "alliance/commands/replycheckercommand.h"
#include "alliance/rules/memberoutputs.h"
#include "alliance/walk/commandguard.h"
#include "alliance/walk/commandrunner.h"
#include "common/datafile.h"
#include "composer/composer.h"
#include "plotter/rosterinput.h"
#include "testsupport/alliance/commandfixture.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/composer/recordingcomposerport.h"
#include "testsupport/composer/recordingfileopener.h"

namespace {

class RosterReadersTest : public CommandFixture
{
};

TEST_F(RosterReadersTest, EveryReaderSeesTheSameNames)
{
    // 「山"田」 was edited in by hand: the tool never writes a quote in a name.
    const QString path = m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt");
    ASSERT_TRUE(DataFile::writeText(path, QStringLiteral("\"織田,信長\",\"-12\",\"34\"\r\n"
                                                         "\"山\"田\",\"5\",\"6\"\r\n"
                                                         "\"真田 昌輝\",\"7\",\"8\"\r\n")));
    const QStringList names{QStringLiteral("織田,信長"), QStringLiteral("山"), QStringLiteral("真田 昌輝")};

    const PreviousRoster previous = PreviousRoster::fromEntries(RosterFile::read(path).entries);
    for (const QString &name : names)
        EXPECT_TRUE(previous.lineOf(name).has_value()) << name.toStdString();

    browser().addPage(kWorld + QStringLiteral("/message/inbox.php?p=1"),
                      QStringLiteral("<html><body>ログアウト ヘルプ 発言の注意</body></html>"));
    ReplyCheckCommand(m_context, QStringLiteral("キーワード")).run();
    EXPECT_EQ(m_port.text, QStringLiteral("★返信者リスト\r\n\r\n★未返信者リスト\r\n") +
                               names.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

    RecordingFileOpener opener;
    CommandGuard guard;
    CommandRunner runner(m_port, guard);
    ComposerContext composerContext{m_session, m_navigator, m_browsers, opener, runner};
    ComposerState state;
    RecordingComposerPort composerPort;
    Composer(composerContext, state, composerPort).fillAtOpening();
    EXPECT_EQ(composerPort.list1, QStringList{QStringLiteral("/ally")} + names);

    const std::optional<Plotter::MemberTable> plotted = Plotter::readRosterFile(path);
    ASSERT_TRUE(plotted.has_value());
    EXPECT_EQ(plotted->MemberName, names);
}

} // namespace
