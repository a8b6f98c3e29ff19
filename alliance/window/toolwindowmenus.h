#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class Clock;
class QAction;
class QPlainTextEdit;
class QWidget;
class ReadingScheduler;
class DailyReadingsDialog;
class RunHistoryDialog;
class TrendsWindow;
struct Session;

// The tool window's commands that live in context menus, so that no
// designed control moves: 「この人たちに書状を書く」, which opens the composer
// with the members a result named, the browser commands without a control
// (「一括調査」, Ctrl+Shift+A), 「推移」 (Ctrl+T), which opens the trends window
// over the history, and 「CSVで保存…」, which saves the roster or report of
// Text1 as CSV, 「毎日の記録…」, which sets up the world's readings taken
// every day without the window, and 「記録の履歴」, the runs it remembers.
// All are on the window's menu and on Text1's, below its
// standard entries.
class ToolWindowMenus : public QObject
{
    Q_OBJECT
public:
    // saveCsv: asks where and saves Text1's table, starting at the path.
    // reportAllianceId: the alliance of the report Text1 shows.
    // commandActions: the browser commands' entries, run by the window.
    // writeLetter: opens the composer with those names in 宛名.
    ~ToolWindowMenus() override;
    ToolWindowMenus(const QList<QAction *> &commandActions, QWidget &window, QPlainTextEdit &text1,
                    Session &session, const Clock &clock, std::function<QString()> outputText,
                    std::function<QString()> reportAllianceId,
                    std::function<void(const QString &, const QString &)> saveCsv,
                    std::function<void(const QStringList &)> writeLetter);

    // The members the result now in Text1 names for a letter: offered by
    // 「この人たちに書状を書く」 as long as Text1 shows that result.
    void offerLetter(const QStringList &names);
    void openTrends();
    void openDailyReadings();
    void openRunHistory();
    // Asks where with the desktop's save dialog, then saves Text1's table.
    static void saveWithDialog(QWidget *parent, const QString &outputText, const QString &suggestedPath);

private:
    void saveOutputAsCsv();

    QWidget &m_window;
    QPlainTextEdit &m_text1;
    Session &m_session;
    const Clock &m_clock;
    std::function<QString()> m_outputText;
    std::function<QString()> m_reportAllianceId;
    std::function<void(const QString &, const QString &)> m_saveCsv;
    std::function<void(const QStringList &)> m_writeLetter;
    QAction *m_writeAction = nullptr;
    QStringList m_offered;
    QString m_offeredText; // Text1 as the result left it
    // Made on first use, closed with the window.
    QPointer<TrendsWindow> m_trends;
    QPointer<DailyReadingsDialog> m_daily;
    QPointer<RunHistoryDialog> m_runs;
    // What 「毎日の記録」 sets up: the user's systemd manager, asked first
    // when the dialog opens.
    std::unique_ptr<ReadingScheduler> m_scheduler;
};
