#include "alliance/window/toolwindow.h"

#include "alliance/console/runoutcome.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/pacer.h"
#include "alliance/walk/toolwindowlayout.h"
#include "alliance/window/commandinputs.h"
#include "alliance/window/plotterlauncher.h"
#include "alliance/window/rankingpanelcontrols.h"
#include "alliance/window/toolwindowmenus.h"
#include "common/appdir.h"
#include "common/clock.h"
#include "common/pump.h"
#include "common/textsearch.h"
#include "common/twips.h"
#include "composer/form2.h"
#include "history/historystore.h"
#include "site/browserslot.h"
#include "site/pagekeeper.h"
#include "site/session.h"
#include "ui/controltable.h"
#include "ui/crlftext.h"
#include "ui/exacttextbox.h"
#include "ui/messagebox.h"
#include "ui/screenplacement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int kWidenBy = 2100;
constexpr int kBottomMargin = 1400;

} // namespace

OVEKMark::OVEKMark(Session &session, BrowserSlot &browsers, Navigator &navigator, Pump &pump,
                   const Clock &clock, QWidget *parent)
    : QWidget(parent), m_pump(pump), m_pacer(new TimerPacer(pump, this)),
      m_history(std::make_unique<HistoryStore>(session.appDir)),
      m_recorder(std::make_unique<StoreRecorder>(*m_history, clock)),
      m_keeper(std::make_unique<DiagnosisFolder>(session.appDir, clock)),
      m_environment{session, navigator, browsers, *m_pacer, clock, m_recorder.get(), m_keeper.get()},
      m_guard([this](bool busy) { setBrowserCommandsEnabled(!busy); }), m_runner(*this, m_guard),
      // Beside this program, where the data folder is elsewhere too.
      m_plotterProgram(AppDir::withTrailingSlash(QCoreApplication::applicationDirPath()) +
                       PlotterLauncher::programName()),
      m_caption(QStringLiteral("同盟管理ツール"))
{
    setObjectName(QStringLiteral("OVEKMark"));
    // A leader with two worlds open tells the windows apart by the world.
    if (session.world.worldNumber != WorldConfig::compiledIn().worldNumber)
        m_caption += QStringLiteral(" - ") + session.world.worldLinkKey();
    setWindowTitle(m_caption);
    m_placement = new BottomLeftPlacement(*this, kBottomMargin);
    buildControls();
}

OVEKMark::~OVEKMark() = default;

template <typename W> W *OVEKMark::control(const QString &name) const
{
    return qobject_cast<W *>(m_controls.value(name));
}

void OVEKMark::buildControls()
{
    setFixedSize(Twips::toPixels(ToolWindowLayout::kClientWidth),
                 Twips::toPixels(ToolWindowLayout::kClientHeight));
    m_controls = ControlTable::build(this, ToolWindowLayout::controls());
    m_text1 = control<QPlainTextEdit>(QStringLiteral("Text1"));
    m_output = std::make_unique<ExactTextBox>(*m_text1);
    m_ranking = new RankingPanelControls(m_controls, m_environment.session, *this, this);
    for (int i = 0; i < 3; ++i) {
        m_command1[i] = control<QPushButton>(QStringLiteral("Command1(%1)").arg(i));
        connect(m_command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    connect(control<QPushButton>(QStringLiteral("Command4")), &QPushButton::clicked, this,
            &OVEKMark::Command4_Click);
    connect(control<QPushButton>(QStringLiteral("Command9")), &QPushButton::clicked, this,
            &OVEKMark::Command9_Click);

    // The browser commands, from the table: each starts from its control
    // and is off while another one drives the browser.
    // A command without a designed control is an entry of the context
    // menus, so that no designed control moves.
    QList<QAction *> commandActions;
    for (const CommandEntry &command : CommandTable::commands()) {
        QWidget *widget = m_controls.value(command.control);
        if (!widget) {
            auto *action = new QAction(command.label, this);
            action->setObjectName(command.control);
            if (!command.shortcut.isEmpty())
                action->setShortcut(QKeySequence(command.shortcut));
            connect(action, &QAction::triggered, this, [this, &command] { runCommand(command); });
            commandActions.append(action);
            continue;
        }
        m_browserControls.append(widget);
        if (auto *button = qobject_cast<QPushButton *>(widget))
            connect(button, &QPushButton::clicked, this, [this, &command] { runCommand(command); });
        // A band picked in the ranking panel's list runs its command.
        if (widget == m_ranking->bandList())
            m_ranking->setExtraction([this, &command](int band) { runCommand(command, band); });
    }
    m_browserActions = commandActions;
    m_menus = new ToolWindowMenus(
        commandActions, *this, *m_text1, m_environment.session, m_environment.clock,
        [this] { return outputText(); },
        [this] { // a report pasted in is named after what 「同盟ID」 holds
            return m_reportAllianceId.isEmpty()
                       ? TextSearch::trimSpaces(inputText(QStringLiteral("Text2"))).remove(u'/')
                       : m_reportAllianceId;
        },
        [this](const QString &text, const QString &path) { saveCsv(text, path); },
        [this](const QStringList &names) { writeLetterTo(names); });
}

void OVEKMark::runCommand(const CommandEntry &command, int band)
{
    CommandInputs inputs;
    CommandInputBoxes::read(m_controls, inputs);
    inputs.band = band;
    inputs.category = m_ranking->selectedCategory();
    inputs.compareWithSaved = m_ranking->compareWithSaved();
    // The boxes show the inputs as the command uses them.
    if (command.tidyInputs) {
        command.tidyInputs(inputs);
        CommandInputBoxes::show(m_controls, inputs);
    }
    CommandResult result;
    const bool completed =
        m_runner.run(command, m_environment, inputs, result) == BrowserSteps::Outcome::Done;
    if (!result.reportedAllianceId.isEmpty())
        m_reportAllianceId = result.reportedAllianceId;
    if (!result.addressees.isEmpty())
        m_menus->offerLetter(result.addressees);
    if (completed && result.offersSaving)
        m_ranking->focusSave();
}

void OVEKMark::setBrowserReopener(CommandRunner::BrowserReopener reopen)
{
    // The new browser window opens over the tool window: bring the tool
    // back to the front, where the user left it.
    m_runner.setBrowserReopener([this, reopen = std::move(reopen)] {
        reopen();
        raise();
        activateWindow();
    });
}

QString OVEKMark::inputText(const QString &name) const
{
    return control<QLineEdit>(name)->text();
}

void OVEKMark::Form_Load()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_ranking->Form_Load();
    show();
    m_placement->start();
    control<QPushButton>(QStringLiteral("Command2"))->setFocus();
    // The last run nobody watched (a timer's) is told as the window opens:
    // a lost login or a stopped command would otherwise go unseen.
    if (const Result<QList<RunRecord>> last = m_history->runs(1); last && !last.value.isEmpty())
        showStatus(RunOutcome::lastRunLine(last.value.first()));
}

void OVEKMark::Command1_Click(int index)
{
    if (index == 0) {
        setOutputText(QString());
    } else if (index == 1) {
        const bool widen = m_command1[1]->text() == QStringLiteral("拡大");
        const int delta = Twips::toPixels(widen ? kWidenBy : -kWidenBy);
        m_command1[1]->setText(widen ? QStringLiteral("縮小") : QStringLiteral("拡大"));
        setFixedWidth(width() + delta);
        m_text1->resize(m_text1->width() + delta, m_text1->height());
    } else if (index == 2) {
        setClipboardText(withCrLf(outputText()));
    }
}

void OVEKMark::Command2_Click()
{
    control<QPushButton>(QStringLiteral("Command2"))->click();
}

void OVEKMark::Command4_Click()
{
    PlotterLauncher(m_environment.session.appDir, m_plotterProgram)
        .launch(
            m_environment.session.cleanAllianceId(), *this,
            [this] {
                showMinimized();
                m_pump.yieldOnce();
            },
            [this] { showNormal(); });
}

Form2 &OVEKMark::composerWindow()
{
    // The composer's page steps go through this window's runner: one guard
    // for the one browser, and a closed browser told and opened again.
    if (!m_composer)
        m_composer = std::make_unique<Form2>(ComposerContext{m_environment.session, m_environment.navigator,
                                                             m_environment.browsers, m_fileOpener, m_runner,
                                                             m_keeper.get()},
                                             *m_composerState);
    return *m_composer;
}

void OVEKMark::Command9_Click()
{
    composerWindow().showComposer();
}

void OVEKMark::writeLetterTo(const QStringList &names)
{
    Form2 &composer = composerWindow();
    // Told over this window, before the topmost composer comes up over it.
    if (const QString notice = composer.rosterNotice(names); !notice.isEmpty())
        showMessage(notice, QStringLiteral("注意"), Icon::Warning);
    composer.writeTo(names);
}

void OVEKMark::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept();
}

void OVEKMark::Form_QueryUnload()
{
    // The program is closing first, so a command still waiting underneath
    // ends at its next wait instead of telling anyone about the browser
    // going away. quit() never throws: a browser the user already closed is
    // simply let go.
    AppQuit::request();
    m_placement->stop();
    m_environment.browsers.quit();
    if (m_composer)
        m_composer->close();
    QApplication::closeAllWindows();
}
