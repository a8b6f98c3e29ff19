#pragma once

#include "alliance/commands/commandtable.h"
#include "alliance/walk/commandguard.h"
#include "alliance/walk/commandrunner.h"
#include "alliance/walk/toolport.h"
#include "alliance/window/toolwindowmenus.h"
#include "composer/composerstate.h"
#include "composer/desktopfileopener.h"
#include "ui/exacttextbox.h"
#include "ui/hourglass.h"

#include <QHash>
#include <QWidget>
#include <memory>

class QPlainTextEdit;
class QPushButton;
class BottomLeftPlacement;
class RankingPanelControls;
class Clock;
class Form2;
class DiagnosisFolder;
class HistoryStore;
class StoreRecorder;
class Pump;
class TimerPacer;

// The alliance tool window 「同盟管理ツール」: the controls of every alliance
// command, the shared output box Text1, and the pacing timer. Thin: its
// browser commands come from the command table and run through the runner
// with this window as their port.
class OVEKMark : public QWidget, public ToolPort
{
    Q_OBJECT
public:
    OVEKMark(Session &session, BrowserSlot &browsers, Navigator &navigator, Pump &pump, const Clock &clock,
             QWidget *parent = nullptr);
    ~OVEKMark() override;

    void Form_Load();

    // ToolPort
    QString outputText() const override;
    void setOutputText(const QString &text) override;
    void showMessage(const QString &text, const QString &title, Icon icon) override;
    void beginHourglass() override { Hourglass::begin(); }
    void endHourglass() override { Hourglass::end(); }
    void showProgress(const QString &text) override;
    void setClipboardText(const QString &text) override { replaceClipboardText(text); }
    void setListItems(const QStringList &items) override;

    // The plotter program; tests point it elsewhere.
    void setPlotterProgram(const QString &path) { m_plotterProgram = path; }
    // How a browser closed under a command is replaced (start-up's walk).
    void setBrowserReopener(CommandRunner::BrowserReopener reopen);
    TimerPacer &pacer() { return *m_pacer; }
    CommandGuard &guard() { return m_guard; }
    CommandRunner &runner() { return m_runner; }

    void Command1_Click(int index);
    void Command2_Click();
    void Command4_Click();
    // 「書状新規作成」: opens the letter composer, or brings it to the front.
    void Command9_Click();
    // 「この人たちに書状を書く」: the composer with those names in 宛名, after
    // telling the user which of them the roster no longer holds.
    void writeLetterTo(const QStringList &names);
    // What the composer remembers for the run; the main program owns it.
    void setComposerState(ComposerState &state) { m_composerState = &state; }
    Form2 *composer() const { return m_composer.get(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    // 「CSVで保存…」 once the file name is suggested: asks where, then saves.
    virtual void saveCsv(const QString &outputText, const QString &suggestedPath)
    {
        ToolWindowMenus::saveWithDialog(this, outputText, suggestedPath);
    }

private:
    void buildControls();
    // Runs a command of the table with the inputs the controls hold now.
    void runCommand(const CommandEntry &command, int band = 0);
    void setBrowserCommandsEnabled(bool enabled);
    void Form_QueryUnload();
    QString inputText(const QString &name) const; // an input box's text as typed
    template <typename W> W *control(const QString &name) const;
    Form2 &composerWindow(); // made on first use

    Pump &m_pump;
    TimerPacer *m_pacer;
    // Every completed walk's snapshot, in AppDir.
    std::unique_ptr<HistoryStore> m_history;
    std::unique_ptr<StoreRecorder> m_recorder;
    // Pages that never showed a reader's mark, in AppDir's 「診断」.
    std::unique_ptr<DiagnosisFolder> m_keeper;
    // What every command of the table runs with: the run's session, the
    // browser, this window's pacing timer, the clock and the history.
    const CommandEnvironment m_environment;
    CommandGuard m_guard;
    CommandRunner m_runner;
    QString m_plotterProgram;
    QString m_caption;
    QString m_reportAllianceId;             // the alliance of the last report shown, for its CSV name
    std::unique_ptr<ExactTextBox> m_output; // Text1
    BottomLeftPlacement *m_placement = nullptr;

    QHash<QString, QWidget *> m_controls;
    QList<QWidget *> m_browserControls;
    QList<QAction *> m_browserActions; // the browser commands of the context menus
    QPlainTextEdit *m_text1 = nullptr;
    RankingPanelControls *m_ranking = nullptr; // Frame2, 「合戦格付抽出」
    ToolWindowMenus *m_menus = nullptr;
    QPushButton *m_command1[3] = {};

    // The letter composer, made on first use and closed with this window.
    ComposerState m_ownComposerState;
    ComposerState *m_composerState = &m_ownComposerState;
    DesktopFileOpener m_fileOpener;
    std::unique_ptr<Form2> m_composer;
};
