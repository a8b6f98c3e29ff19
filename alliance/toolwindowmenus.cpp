#include "alliance/toolwindowmenus.h"

#include "common/clock.h"
#include "site/session.h"
#include "trends/text1csv.h"
#include "trends/trendsfileport.h"
#include "trends/trendswindow.h"

#include <QAction>
#include <QDir>
#include <QKeySequence>
#include <QMenu>
#include <QPlainTextEdit>
#include <memory>

ToolWindowMenus::ToolWindowMenus(QWidget &window, QPlainTextEdit &text1, Session &session, const Clock &clock,
                                 std::function<QString()> outputText,
                                 std::function<QString()> reportAllianceId,
                                 std::function<void(const QString &, const QString &)> saveCsv)
    : QObject(&window), m_window(window), m_text1(text1), m_session(session), m_clock(clock),
      m_outputText(std::move(outputText)), m_reportAllianceId(std::move(reportAllianceId)),
      m_saveCsv(std::move(saveCsv))
{
    auto *trendsAction = new QAction(QStringLiteral("推移"), &window);
    trendsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    trendsAction->setShortcutContext(Qt::WindowShortcut);
    connect(trendsAction, &QAction::triggered, this, &ToolWindowMenus::openTrends);
    auto *csvAction = new QAction(QStringLiteral("CSVで保存…"), &window);
    connect(csvAction, &QAction::triggered, this, &ToolWindowMenus::saveOutputAsCsv);
    window.addActions({trendsAction, csvAction});
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
    text1.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&text1, &QWidget::customContextMenuRequested, this,
            [this, trendsAction, csvAction](const QPoint &at) {
                std::unique_ptr<QMenu> menu(m_text1.createStandardContextMenu());
                menu->addSeparator();
                menu->addActions({trendsAction, csvAction});
                menu->exec(m_text1.mapToGlobal(at));
            });
}

void ToolWindowMenus::openTrends()
{
    if (!m_trends) {
        // Owned by the tool window: it stays above the topmost tool window
        // and closes with it.
        m_trends = new TrendsWindow(m_session.appDir, m_session.cleanAllianceId(), m_clock.now().date(),
                                    nullptr, &m_window);
        m_trends->setAttribute(Qt::WA_DeleteOnClose);
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
    const QString name = Text1Csv::suggestedFileName(text, m_reportAllianceId(), m_session.cleanAllianceId());
    m_saveCsv(text, QDir(m_session.appDir).filePath(name));
}
