#include "alliance/window/toolwindowmenus.h"

#include "alliance/commands/commandtable.h"
#include "alliance/schedule/systemduserscheduler.h"
#include "alliance/window/dailyreadingsdialog.h"
#include "alliance/window/runhistorydialog.h"
#include "common/clock.h"
#include "site/session.h"
#include "trends/briefingpane.h"
#include "trends/text1csv.h"
#include "trends/trendsfileport.h"
#include "trends/trendswindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QKeySequence>
#include <QMenu>
#include <QPlainTextEdit>
#include <memory>

ToolWindowMenus::ToolWindowMenus(const QList<QAction *> &commandActions, QWidget &window,
                                 QPlainTextEdit &text1, Session &session, const Clock &clock,
                                 std::function<QString()> outputText,
                                 std::function<QString()> reportAllianceId,
                                 std::function<void(const QString &, const QString &)> saveCsv,
                                 std::function<void(const QStringList &)> writeLetter)
    : QObject(&window), m_window(window), m_text1(text1), m_session(session), m_clock(clock),
      m_outputText(std::move(outputText)), m_reportAllianceId(std::move(reportAllianceId)),
      m_saveCsv(std::move(saveCsv)), m_writeLetter(std::move(writeLetter))
{
    m_writeAction = new QAction(QStringLiteral("この人たちに書状を書く"), &window);
    m_writeAction->setObjectName(QStringLiteral("mnuWriteLetter"));
    m_writeAction->setEnabled(false);
    connect(m_writeAction, &QAction::triggered, this, [this] { m_writeLetter(m_offered); });
    // A result cleared, replaced or edited no longer names those members.
    connect(&text1, &QPlainTextEdit::textChanged, this, [this] {
        m_writeAction->setEnabled(!m_offered.isEmpty() && m_text1.toPlainText() == m_offeredText);
    });
    auto *trendsAction = new QAction(QStringLiteral("推移"), &window);
    trendsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    trendsAction->setShortcutContext(Qt::WindowShortcut);
    connect(trendsAction, &QAction::triggered, this, &ToolWindowMenus::openTrends);
    auto *csvAction = new QAction(QStringLiteral("CSVで保存…"), &window);
    connect(csvAction, &QAction::triggered, this, &ToolWindowMenus::saveOutputAsCsv);
    auto *dailyAction = new QAction(QStringLiteral("毎日の記録…"), &window);
    dailyAction->setObjectName(QStringLiteral("mnuDailyReadings"));
    connect(dailyAction, &QAction::triggered, this, &ToolWindowMenus::openDailyReadings);
    auto *runsAction = new QAction(QStringLiteral("記録の履歴"), &window);
    runsAction->setObjectName(QStringLiteral("mnuRunHistory"));
    connect(runsAction, &QAction::triggered, this, &ToolWindowMenus::openRunHistory);
    for (QAction *action : commandActions)
        action->setShortcutContext(Qt::WindowShortcut);
    const QList<QAction *> entries = QList<QAction *>{m_writeAction} + commandActions +
                                     QList<QAction *>{trendsAction, csvAction, dailyAction, runsAction};
    window.addActions(entries);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
    text1.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&text1, &QWidget::customContextMenuRequested, this, [this, entries](const QPoint &at) {
        std::unique_ptr<QMenu> menu(m_text1.createStandardContextMenu());
        menu->addSeparator();
        menu->addActions(entries);
        menu->exec(m_text1.mapToGlobal(at));
    });
}

ToolWindowMenus::~ToolWindowMenus() = default;

namespace {

// Dialogs of the topmost tool window: above it, closed with it.
template <typename D> void bringUp(D *dialog)
{
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace

void ToolWindowMenus::openDailyReadings()
{
    if (!m_daily) {
        if (!m_scheduler)
            m_scheduler = std::make_unique<SystemdUserScheduler>();
        m_daily = new DailyReadingsDialog(
            m_session, *m_scheduler, QCoreApplication::applicationFilePath(), [this] { openRunHistory(); },
            &m_window);
        m_daily->setAttribute(Qt::WA_DeleteOnClose);
    }
    bringUp(m_daily.data());
}

void ToolWindowMenus::openRunHistory()
{
    if (!m_runs) {
        m_runs = new RunHistoryDialog(m_session.appDir, m_session.world.worldLinkKey(), &m_window);
        m_runs->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        m_runs->reload();
    }
    bringUp(m_runs.data());
}

void ToolWindowMenus::offerLetter(const QStringList &names)
{
    m_offered = names;
    m_offeredText = m_text1.toPlainText();
    m_writeAction->setEnabled(!m_offered.isEmpty());
}

void ToolWindowMenus::openTrends()
{
    if (!m_trends) {
        // Owned by the tool window: it stays above the topmost tool window
        // and closes with it.
        m_trends = new TrendsWindow(m_session.appDir, m_session.cleanAllianceId(), m_clock.now().date(),
                                    nullptr, &m_window);
        m_trends->setAttribute(Qt::WA_DeleteOnClose);
        m_trends->setLetterWriter(m_writeLetter);
        m_trends->briefing()->setLeader(m_session.ownLord.lordName);
    } else {
        m_trends->reload();
    }
    m_trends->show();
    m_trends->raise();
    m_trends->activateWindow();
}

void ToolWindowMenus::saveWithDialog(QWidget *parent, const QString &outputText, const QString &suggestedPath)
{
    DialogTrendsFilePort port(parent);
    Text1Csv::saveOutput(outputText, suggestedPath, port);
}

void ToolWindowMenus::saveOutputAsCsv()
{
    const QString text = m_outputText();
    // A text of several parts (a survey's roster and report): each is
    // offered in turn.
    for (const CommandEntry &command : CommandTable::commands()) {
        const QStringList parts = command.csvSections ? command.csvSections(text) : QStringList();
        if (parts.isEmpty())
            continue;
        const QString own = m_session.cleanAllianceId();
        for (const QString &part : parts)
            m_saveCsv(part, QDir(m_session.appDir).filePath(Text1Csv::suggestedFileName(part, own, own)));
        return;
    }
    const QString name = Text1Csv::suggestedFileName(text, m_reportAllianceId(), m_session.cleanAllianceId());
    m_saveCsv(text, QDir(m_session.appDir).filePath(name));
}
