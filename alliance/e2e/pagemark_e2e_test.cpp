// End to end: demosite serves one family of pages made otherwise, as a game
// update might; the command that reads it says which page and which mark,
// keeps the page in 「診断」 without its secrets, and the page check finds
// every other family still read.
#include "alliance/commands/commandtable.h"
#include "alliance/walk/commandguard.h"
#include "alliance/walk/commandrunner.h"
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "composer/composer.h"
#include "site/pagekeeper.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/composer/recordingcomposerport.h"
#include "testsupport/composer/recordingfileopener.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <optional>

namespace {

class PageMarkEndToEnd : public EndToEndFixture
{
protected:
    QStringList siteOptions() const override { return demoOptions(5); }
    bool startsUpInSetUp() const override { return true; }

    void SetUp() override
    {
        EndToEndFixture::SetUp();
        m_keeperIn.emplace(m_session.appDir, m_clock);
        m_inputs = CommandTable::defaultInputs();
        m_inputs.allianceIdText = m_session.allianceId;
        ASSERT_TRUE(DataFile::writeBytes(
            m_session.appDir + RosterFile::fileName(m_session.allianceId),
            RosterOracle::codePage932Bytes(RosterOracle::rosterText(dump(), m_session.allianceId) +
                                           QStringLiteral("\r\n"))));
    }

public:
    void runCommand(const QString &key)
    {
        // Made here: the navigator is the fixture's SetUp's.
        const CommandEnvironment environment{m_session, *m_navigator, m_browsers,  m_pacer,
                                             m_clock,   nullptr,      &*m_keeperIn};
        CommandResult result;
        m_runner.run(*CommandTable::find(key), environment, m_inputs, result);
        m_unreadPages = result.unreadPages;
    }
    void fillLetterPage()
    {
        RecordingFileOpener opener;
        ComposerContext context{m_session, *m_navigator, m_browsers, opener, m_runner, &*m_keeperIn};
        ComposerState state;
        RecordingComposerPort port;
        Composer composer(context, state, port);
        composer.fillAtOpening();
        composer.loadLetterPage();
        port.text2 = QStringLiteral("件名");
        port.text3 = QStringLiteral("甲,乙");
        composer.fillLetterPage();
    }

protected:
    QStringList keptFiles() const
    {
        return QDir(m_session.appDir + DiagnosisFolder::folderName()).entryList(QDir::Files, QDir::Name);
    }
    QString keptText(const QString &name) const
    {
        QFile file(m_session.appDir + DiagnosisFolder::folderName() + u'/' + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    CommandInputs m_inputs;
    // AppDir is the fixture SetUp's.
    std::optional<DiagnosisFolder> m_keeperIn;
    CommandGuard m_guard;
    CommandRunner m_runner{m_port, m_guard};
    qsizetype m_unreadPages = 0;
};

struct Change
{
    QString path;
    QString family;    // as the user is told it
    QString familyKey; // in the kept file's name
    QString mark;
    QString changedText; // what the changed page shows instead
    std::function<void(PageMarkEndToEnd &)> affected;
    QStringList unreadChecks; // the page check's lines that no longer read
};

TEST_F(PageMarkEndToEnd, EachChangedFamilyIsNamedWithItsMarkKeptWithoutSecretsAndTheOthersStillRead)
{
    // Before any change every family reads.
    runCommand(QStringLiteral("check-pages"));
    ASSERT_EQ(m_unreadPages, 0) << m_port.text.toStdString();
    ASSERT_EQ(m_port.text.count(QStringLiteral("：読めました")), 8) << m_port.text.toStdString();
    ASSERT_TRUE(keptFiles().isEmpty());

    const auto command = [](const QString &key) {
        return [key](PageMarkEndToEnd &test) { test.runCommand(key); };
    };
    const Change changes[] = {
        {QStringLiteral("/user/"),
         QStringLiteral("プロフィール"),
         QStringLiteral("profile"),
         QStringLiteral("本拠地のリンク「(本拠地)」"),
         QStringLiteral("（本城）"),
         command(QStringLiteral("roster")),
         {QStringLiteral("プロフィール")}},
        {QStringLiteral("/alliance/info.php"),
         QStringLiteral("同盟情報"),
         QStringLiteral("alliance"),
         QStringLiteral("同盟員の行の印「<TR class=fs12」"),
         QStringLiteral("member-row"),
         command(QStringLiteral("roster")),
         {QStringLiteral("同盟情報")}},
        {QStringLiteral("/war/war_ranking.php"),
         QStringLiteral("合戦格付"),
         QStringLiteral("ranking"),
         QStringLiteral("格付の表の始まり「alt=攻撃国」"),
         QStringLiteral("alt=国"),
         command(QStringLiteral("ranking")),
         {QStringLiteral("合戦格付（戦功）"), QStringLiteral("合戦格付（攻撃）"),
          QStringLiteral("合戦格付（防御）"), QStringLiteral("合戦格付（総合）")}},
        {QStringLiteral("/message/inbox.php"),
         QStringLiteral("受信箱"),
         QStringLiteral("inbox"),
         QStringLiteral("書状の表の見出し「選択件名送信者日付ロック」"),
         QStringLiteral("差出人"),
         command(QStringLiteral("replies")),
         {QStringLiteral("受信箱")}},
        {QStringLiteral("/message/new.php"),
         QStringLiteral("書状作成"),
         QStringLiteral("letter"),
         QStringLiteral("入力欄「TO」"),
         QStringLiteral("ADDRESSEE"),
         [](PageMarkEndToEnd &test) { test.fillLetterPage(); },
         {QStringLiteral("書状作成")}},
    };
    for (const Change &change : changes) {
        SCOPED_TRACE(change.path.toStdString());
        m_site.control(QStringLiteral("reset"));
        m_site.control(QStringLiteral("change-markup?path=") + change.path);
        m_port.messages.clear();
        const QStringList before = keptFiles();

        change.affected(*this);
        const QString told = m_port.messages.join(u'\n');
        EXPECT_TRUE(told.contains(QStringLiteral("「%1」のページに %2 が見つかりませんでした。\r\n"
                                                 "ゲームのページは表示されていたので")
                                      .arg(change.family, change.mark)))
            << told.toStdString();
        QStringList added = keptFiles();
        for (const QString &name : before)
            added.removeAll(name);
        ASSERT_EQ(added.size(), 1) << added.join(u' ').toStdString();
        EXPECT_TRUE(added.first().endsWith(u'_' + change.familyKey + QStringLiteral(".html")));
        EXPECT_TRUE(told.contains(
            QStringLiteral("このページを ") +
            QDir::toNativeSeparators(m_session.appDir + QStringLiteral("診断/") + added.first())))
            << told.toStdString();
        const QString kept = keptText(added.first());
        EXPECT_TRUE(kept.contains(change.changedText)) << "the page as it came";
        EXPECT_TRUE(kept.contains(QStringLiteral("name=token")));
        EXPECT_FALSE(kept.contains(QStringLiteral("demo-session-token")));
        EXPECT_FALSE(kept.contains(QStringLiteral("demo-pin")));

        // The other families still read.
        runCommand(QStringLiteral("check-pages"));
        EXPECT_EQ(m_unreadPages, change.unreadChecks.size()) << m_port.text.toStdString();
        for (const QString &line : m_port.text.split(QStringLiteral("\r\n"))) {
            const QString family = line.section(QStringLiteral("："), 0, 0);
            if (!line.contains(QStringLiteral("：読め")))
                continue;
            EXPECT_EQ(line.contains(QStringLiteral("：読めません（")), change.unreadChecks.contains(family))
                << line.toStdString();
        }
    }
    EXPECT_LE(keptFiles().size(), DiagnosisFolder::kKeptFiles);
}

} // namespace
