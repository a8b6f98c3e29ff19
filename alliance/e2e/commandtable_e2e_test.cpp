// End to end: every command of the table run by name through a port that is
// not a window gives the same output and files as the same command started
// from the tool window's control, against demosite and a headless Chromium.
#include "alliance/commands/commandtable.h"
#include "alliance/walk/commandguard.h"
#include "alliance/walk/commandrunner.h"
#include "alliance/window/toolwindow.h"
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/qtprinters.h"
#include "ui/messagebox.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {

class CommandTableEndToEnd : public EndToEndFixture
{
protected:
    QStringList siteOptions() const override
    {
        // A small alliance: the window's own pacing pause runs for real.
        return demoOptions(5);
    }
    bool startsUpInSetUp() const override { return true; }

    // The data files of AppDir, by name.
    QHash<QString, QByteArray> files() const
    {
        QHash<QString, QByteArray> found;
        for (const QString &name : QDir(m_session.appDir).entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            QFile file(m_session.appDir + name);
            if (file.open(QIODevice::ReadOnly))
                found.insert(name, file.readAll());
        }
        return found;
    }
    // Each command starts from the same files: the activity record of the
    // run before is taken away, so both runs are first runs of one day.
    void forgetActivity()
    {
        QFile::remove(m_session.appDir + QStringLiteral("同盟ポイントDATA_") + m_session.allianceId +
                      QStringLiteral(".txt"));
    }

    FakeClock m_commandClock{9 * 3600, QDate(2026, 12, 7)};
};

TEST_F(CommandTableEndToEnd, EveryCommandByNameMatchesTheSameCommandFromTheWindow)
{
    MessageBox::setNextAnswer(true); // the window's boxes are answered, not shown
    const QString own = m_session.allianceId;
    CommandInputs inputs;
    inputs.allianceIdText = own;
    inputs.populationStepText = QStringLiteral("300");
    inputs.meritStepText = QStringLiteral("10000");
    inputs.keywordBox = QStringLiteral("キーワード");

    OVEKMark window(m_session, m_browsers, *m_navigator, m_pump, m_commandClock);
    window.Form_Load();
    window.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(own);

    CommandGuard guard;
    CommandRunner runner(m_port, guard);
    const CommandEnvironment environment{m_session, *m_navigator, m_browsers, m_pacer, m_commandClock};
    QStringList ran;
    for (const CommandEntry &command : CommandTable::commands()) {
        SCOPED_TRACE(command.key.toStdString());
        ran.append(command.key);
        forgetActivity();
        m_port.text.clear();
        CommandResult result;
        ASSERT_EQ(runner.run(*CommandTable::find(command.key), environment, inputs, result),
                  BrowserSteps::Outcome::Done);
        const QString byName = m_port.text;
        const QHash<QString, QByteArray> filesByName = files();

        forgetActivity();
        window.setOutputText(QString());
        if (command.control == QStringLiteral("Combo1"))
            emit window.findChild<QComboBox *>(command.control)->activated(inputs.band);
        else if (auto *entry = window.findChild<QAction *>(command.control))
            entry->trigger(); // a context-menu entry
        else
            window.findChild<QPushButton *>(command.control)->click();
        EXPECT_EQ(window.outputText(), byName);
        EXPECT_EQ(files(), filesByName);
        // The briefing reads only the history, which these runs do not record.
        EXPECT_FALSE(byName.isEmpty() && command.key != QStringLiteral("activity") &&
                     command.key != QStringLiteral("briefing"))
            << "a command that shows something";
    }
    EXPECT_EQ(
        ran,
        QStringList({QStringLiteral("roster"), QStringLiteral("castles"), QStringLiteral("activity"),
                     QStringLiteral("report"), QStringLiteral("survey"), QStringLiteral("replies"),
                     QStringLiteral("ranking"), QStringLiteral("briefing"), QStringLiteral("check-pages")}));
    EXPECT_TRUE(DataFile::exists(m_session.appDir + RosterFile::fileName(own)));
    MessageBox::setNextAnswer(std::nullopt);
}

} // namespace
