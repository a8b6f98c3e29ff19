#include "alliance/toolwindow.h"

#include "alliance/activitycommand.h"
#include "alliance/alliancereportcommand.h"
#include "alliance/branchcastlecommand.h"
#include "alliance/historyrecorder.h"
#include "alliance/pacer.h"
#include "alliance/plotterlauncher.h"
#include "alliance/rankingarchive.h"
#include "alliance/replychecker.h"
#include "alliance/replycheckercommand.h"
#include "alliance/rostercommand.h"
#include "alliance/toolwindowlayout.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "common/pump.h"
#include "common/textsearch.h"
#include "common/twips.h"
#include "composer/form2.h"
#include "history/historystore.h"
#include "site/browserslot.h"
#include "site/session.h"
#include "trends/text1csv.h"
#include "trends/trendswindow.h"
#include "ui/controltable.h"
#include "ui/crlftext.h"
#include "ui/hourglass.h"
#include "ui/messagebox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

constexpr int kWidenBy = 2100;
constexpr int kBottomMargin = 1400;
constexpr int kPlacementCheckMs = 50;
constexpr int kPlacementChecks = 40; // two seconds for the window manager

} // namespace

OVEKMark::OVEKMark(Session &session, BrowserSlot &browsers, Navigator &navigator, Pump &pump,
                   const Clock &clock, QWidget *parent)
    : QWidget(parent), m_session(session), m_browsers(browsers), m_navigator(navigator), m_pump(pump),
      m_clock(clock), m_guard([this](bool busy) { setBrowserCommandsEnabled(!busy); }),
      m_runner(*this, m_guard), m_rankingPanel(session, *this, *this),
      m_plotterProgram(session.appDir + PlotterLauncher::programName()),
      m_caption(QStringLiteral("同盟管理ツール")), m_history(std::make_unique<HistoryStore>(session.appDir)),
      m_recorder(std::make_unique<StoreRecorder>(*m_history, clock))
{
    setObjectName(QStringLiteral("OVEKMark"));
    // A leader with two worlds open tells the windows apart by the world.
    if (session.world.worldNumber != WorldConfig::compiledIn().worldNumber)
        m_caption += QStringLiteral(" - ") + session.world.worldLinkKey();
    setWindowTitle(m_caption);
    m_pacer = new TimerPacer(m_pump, this);
    m_placement.setInterval(kPlacementCheckMs);
    connect(&m_placement, &QTimer::timeout, this, [this] {
        const bool framed = frameGeometry() != geometry();
        if (framed)
            placeOnScreen();
        if (framed || ++m_placementChecks >= kPlacementChecks)
            m_placement.stop();
    });
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
    m_combo1 = control<QComboBox>(QStringLiteral("Combo1"));
    m_check1 = control<QCheckBox>(QStringLiteral("Check1"));
    m_option1First = control<QRadioButton>(QStringLiteral("Option1(0)"));
    m_option1First->setChecked(true);
    m_command2 = control<QPushButton>(QStringLiteral("Command2"));
    for (int i = 0; i < 3; ++i) {
        m_command1[i] = control<QPushButton>(QStringLiteral("Command1(%1)").arg(i));
        connect(m_command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    connect(control<QPushButton>(QStringLiteral("Command4")), &QPushButton::clicked, this,
            &OVEKMark::Command4_Click);

    registerBrowserCommand(QStringLiteral("Command2"), QStringLiteral("名簿作成"),
                           [](CommandContext &context) { RosterCommand(context).run(); });
    registerBrowserCommand(QStringLiteral("Command3"), QStringLiteral("出城リスト作成"),
                           [this](CommandContext &context) { ListBranchCastles(context, m_clock); });
    registerBrowserCommand(QStringLiteral("Command5"), QStringLiteral("活動履歴"),
                           [this](CommandContext &context) { ActivityCommand(context, m_clock).run(); });
    registerBrowserCommand(
        QStringLiteral("Command7"), QStringLiteral("同盟データ取得"), [this](CommandContext &context) {
            AllianceReportCommand command(context, m_clock, inputText(QStringLiteral("Text2")),
                                          inputText(QStringLiteral("Text3(0)")),
                                          inputText(QStringLiteral("Text3(1)")));
            command.run();
            if (!command.reportedAllianceId().isEmpty())
                m_reportAllianceId = command.reportedAllianceId();
        });
    registerBrowserCommand(QStringLiteral("Command8"), QStringLiteral("返信者リストアップ"),
                           [this](CommandContext &context) {
                               // Text4 shows the keyword as it is used: blanks at both ends removed.
                               auto *text4 = control<QLineEdit>(QStringLiteral("Text4"));
                               text4->setText(ReplyChecker::trimmedKeyword(text4->text()));
                               ReplyCheckCommand(context, text4->text()).run();
                           });

    connect(control<QPushButton>(QStringLiteral("Command9")), &QPushButton::clicked, this,
            &OVEKMark::Command9_Click);

    // Buttons whose commands are not part of the tool yet stay visible, so
    // the window looks as users know it, but cannot be pressed.
    const QStringList windowCommands{QStringLiteral("Command1(0)"), QStringLiteral("Command1(1)"),
                                     QStringLiteral("Command1(2)"), QStringLiteral("Command4"),
                                     QStringLiteral("Command6"),    QStringLiteral("Command9")};
    for (QWidget *widget : std::as_const(m_controls)) {
        auto *button = qobject_cast<QPushButton *>(widget);
        if (button && !windowCommands.contains(button->objectName()) && !m_browserButtons.contains(button))
            button->setEnabled(false);
    }

    // The war-ranking panel: picking a band extracts it (a browser command
    // like the buttons), the options pick the category, Command6 saves.
    connect(m_combo1, &QComboBox::activated, this, &OVEKMark::Combo1_Click);
    for (int i = 0; i < RankingArchive::kCategoryCount; ++i)
        connect(control<QRadioButton>(QStringLiteral("Option1(%1)").arg(i)), &QRadioButton::toggled, this,
                [this, i](bool on) {
                    if (on)
                        Option1_Click(i);
                });
    connect(control<QPushButton>(QStringLiteral("Command6")), &QPushButton::clicked, this,
            &OVEKMark::Command6_Click);
    addTrendsAndCsvMenus();
}

void OVEKMark::registerBrowserCommand(const QString &buttonName, const QString &commandName, CommandBody body)
{
    QPushButton *button = control<QPushButton>(buttonName);
    m_browserButtons.append(button);
    connect(button, &QPushButton::clicked, this,
            [this, commandName, body = std::move(body)] { runBrowserCommand(commandName, body); });
}

void OVEKMark::runBrowserCommand(const QString &commandName, const CommandBody &body)
{
    CommandContext context{m_session, m_navigator, m_browsers, *m_pacer, *this, m_recorder.get()};
    m_recorder->takeFailure();
    const bool completed = m_runner.run(commandName, [&] { body(context); });
    // The end of a run clears the caption: a history that could not be
    // written is told there again, and stays until the next command.
    if (const QString failure = m_recorder->takeFailure(); completed && !failure.isEmpty())
        showProgress(HistoryRecording::failureCaption(commandName, failure));
}

void OVEKMark::setBrowserCommandsEnabled(bool enabled)
{
    for (QPushButton *button : std::as_const(m_browserButtons))
        button->setEnabled(enabled);
    m_combo1->setEnabled(enabled);
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

void OVEKMark::addTrendsAndCsvMenus()
{
    // 「推移」 and 「CSVで保存…」 live in context menus and a shortcut, so no
    // control of the window moves.
    auto *trendsAction = new QAction(QStringLiteral("推移"), this);
    trendsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    trendsAction->setShortcutContext(Qt::WindowShortcut);
    connect(trendsAction, &QAction::triggered, this, &OVEKMark::openTrends);
    auto *csvAction = new QAction(QStringLiteral("CSVで保存…"), this);
    connect(csvAction, &QAction::triggered, this, &OVEKMark::saveOutputAsCsv);
    addAction(trendsAction);
    addAction(csvAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    m_text1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_text1, &QWidget::customContextMenuRequested, this,
            [this, trendsAction, csvAction](const QPoint &at) {
                std::unique_ptr<QMenu> menu(m_text1->createStandardContextMenu());
                menu->addSeparator();
                menu->addAction(trendsAction);
                menu->addAction(csvAction);
                menu->exec(m_text1->mapToGlobal(at));
            });
}

void OVEKMark::openTrends()
{
    if (!m_trends) {
        // Owned by this window: it stays above the topmost tool window and
        // closes with it.
        m_trends = new TrendsWindow(m_session.appDir, m_session.cleanAllianceId(), m_clock.now().date(),
                                    nullptr, this);
        m_trends->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        m_trends->reload();
    }
    m_trends->show();
    m_trends->raise();
    m_trends->activateWindow();
}

void OVEKMark::saveOutputAsCsv()
{
    const QString text = outputText();
    // A report is named after the alliance it was made for, whatever 「同盟ID」
    // holds now; a report that did not come from this run (pasted in) after
    // what the box holds.
    const QString reportId =
        !m_reportAllianceId.isEmpty()
            ? m_reportAllianceId
            : TextSearch::removeAll(TextSearch::trimSpaces(inputText(QStringLiteral("Text2"))),
                                    QStringLiteral("/"));
    const QString name = Text1Csv::reportTable(text)
                             ? QStringLiteral("同盟レポート_%1.csv").arg(reportId)
                             : QStringLiteral("同盟名簿_%1.csv").arg(m_session.cleanAllianceId());
    saveCsv(text, QDir(m_session.appDir).filePath(name));
}

void OVEKMark::saveCsv(const QString &outputText, const QString &suggestedPath)
{
    DialogTrendsFilePort port(this);
    Text1Csv::saveOutput(outputText, suggestedPath, port);
}

int OVEKMark::selectedCategory() const
{
    for (int i = 0; i < RankingArchive::kCategoryCount; ++i) {
        if (control<QRadioButton>(QStringLiteral("Option1(%1)").arg(i))->isChecked())
            return i;
    }
    return 0;
}

void OVEKMark::Form_Load()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_combo1->addItems({QStringLiteral("1～100位"), QStringLiteral("101～200位"),
                        QStringLiteral("201～300位"), QStringLiteral("301～400位"),
                        QStringLiteral("401～500位")});
    m_combo1->setCurrentIndex(-1);
    m_rankingPanel.selectCategory(0); // Check1 follows the archive of the first category
    show();
    placeOnScreen();
    m_placementChecks = 0;
    m_placement.start();
    m_command2->setFocus();
}

void OVEKMark::placeOnScreen()
{
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->geometry();
        const int top = available.height() - frameGeometry().height() - Twips::toPixels(kBottomMargin);
        move(0, qMax(0, top));
    }
}

void OVEKMark::Command1_Click(int index)
{
    switch (index) {
    case 0:
        setOutputText(QString());
        break;
    case 1: {
        const bool widen = m_command1[1]->text() == QStringLiteral("拡大");
        const int delta = Twips::toPixels(widen ? kWidenBy : -kWidenBy);
        m_command1[1]->setText(widen ? QStringLiteral("縮小") : QStringLiteral("拡大"));
        setFixedWidth(width() + delta);
        m_text1->resize(m_text1->width() + delta, m_text1->height());
        break;
    }
    case 2:
        setClipboardText(withCrLf(outputText()));
        break;
    default:
        break;
    }
}

void OVEKMark::Command2_Click()
{
    m_command2->click();
}

void OVEKMark::Command4_Click()
{
    const QString &allianceId = m_session.cleanAllianceId();
    PlotterLauncher launcher(m_session.appDir, m_plotterProgram);
    const QString rosterName = launcher.rosterName(allianceId);
    if (!launcher.rosterExists(rosterName)) {
        showMessage(QStringLiteral("同盟員名簿を作成してから、実行してください。"), QStringLiteral("注意"),
                    Icon::Information);
        return;
    }
    // Without the plotter beside the tool nothing would happen on the click;
    // say where it is expected instead.
    if (!launcher.programExists()) {
        showMessage(QStringLiteral("分布図プログラム（%1）が見つかりません。\r\n"
                                   "ovekwarden と同じフォルダに置いてから、もう一度実行してください。")
                        .arg(m_plotterProgram),
                    QStringLiteral("注意"), Icon::Warning);
        return;
    }
    showMinimized();
    try {
        m_pump.yieldOnce();
    } catch (const Quitting &) {
        return; // the window was closed meanwhile
    }
    if (!launcher.start(rosterName)) {
        showNormal();
        showMessage(QStringLiteral("分布図プログラムを起動できませんでした。"), QStringLiteral("注意"),
                    Icon::Warning);
    }
}

void OVEKMark::Combo1_Click(int index)
{
    if (index < 0)
        return;
    const int category = selectedCategory();
    const bool compare = m_check1->isChecked();
    CommandContext context{m_session, m_navigator, m_browsers, *m_pacer, *this, m_recorder.get()};
    if (m_runner.run(QStringLiteral("合戦格付抽出"),
                     [&] { RankingCommand(context, index, category, compare).run(); }))
        control<QPushButton>(QStringLiteral("Command6"))->setFocus();
}

void OVEKMark::Option1_Click(int index)
{
    m_rankingPanel.selectCategory(index);
}

void OVEKMark::Command6_Click()
{
    m_rankingPanel.save(selectedCategory());
}

void OVEKMark::setCheck1Enabled(bool enabled)
{
    m_check1->setEnabled(enabled);
}

void OVEKMark::setCheck1Ticked(bool ticked)
{
    m_check1->setChecked(ticked);
}

void OVEKMark::Command9_Click()
{
    if (!m_composer) {
        // The composer's page loads and fills wait while a command of this
        // window drives the browser, and hold it (these buttons off) meanwhile.
        BrowserUse browserUse{[this] {
                                  if (m_guard.isBusy())
                                      return false;
                                  m_composerBrowserUse.emplace(m_guard);
                                  return true;
                              },
                              [this] { m_composerBrowserUse.reset(); }};
        m_composer = std::make_unique<Form2>(
            ComposerContext{m_session, m_navigator, m_browsers, m_fileOpener, std::move(browserUse)},
            *m_composerState);
    }
    m_composer->showComposer();
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
    m_placement.stop();
    m_browsers.quit();
    if (m_composer)
        m_composer->close();
    QApplication::closeAllWindows();
}

QString OVEKMark::outputText() const
{
    const QString shown = m_text1->toPlainText();
    return shown == m_outputShown ? m_outputText : withCrLf(shown);
}

void OVEKMark::setOutputText(const QString &text)
{
    m_text1->setPlainText(text);
    m_outputText = text;
    m_outputShown = m_text1->toPlainText();
}

void OVEKMark::showMessage(const QString &text, const QString &title, Icon icon)
{
    MessageBox::show(this, title, text,
                     icon == Icon::Information ? MessageBox::Icon::Information
                     : icon == Icon::Warning   ? MessageBox::Icon::Warning
                                               : MessageBox::Icon::Critical);
}

void OVEKMark::beginHourglass()
{
    Hourglass::begin();
}

void OVEKMark::endHourglass()
{
    Hourglass::end();
}

void OVEKMark::showProgress(const QString &text)
{
    // The caption carries the progress: Text1 keeps only the report itself.
    setWindowTitle(text.isEmpty() ? m_caption : m_caption + QStringLiteral(" - ") + text);
}

void OVEKMark::setClipboardText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (!text.isEmpty())
        clipboard->setText(text);
}

void OVEKMark::setListItems(const QStringList &items)
{
    auto *list = control<QListWidget>(QStringLiteral("List1"));
    list->clear();
    list->addItems(items);
}
