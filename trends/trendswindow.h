#pragma once

#include "history/historystore.h"
#include "trends/trendsdata.h"
#include "trends/trendsfileport.h"

#include <QDate>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class BriefingPane;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class TrendChart;
class TrendsTableModel;

// The trends window 「推移」 of one alliance, read from the history in
// AppDir: each member's days since the points last moved, per member and for
// the whole alliance the values over time, and who joined and left.
class TrendsWindow : public QWidget
{
    Q_OBJECT
public:
    enum class Table { Members, Member, Totals, JoinLeave };
    enum class Chart {
        MemberPoints,
        MemberPopulation,
        MemberMerit,
        TotalPoints,
        TotalPopulation,
        TotalMerit
    };

    // directory: AppDir, where the history is. port: where file names are
    // asked; the desktop's dialogs when null.
    TrendsWindow(const QString &directory, const QString &allianceId, const QDate &today,
                 TrendsFilePort *port = nullptr, QWidget *parent = nullptr);
    ~TrendsWindow() override;

    // Reads the history again (after another run).
    void reload();
    // Opens the composer with names in 宛名; the window offers it for the
    // members idle for the chosen days once it is set.
    void setLetterWriter(std::function<void(const QStringList &)> writer);
    // The members idle for at least the days chosen in 「日以上」, in the
    // table's order.
    QStringList idleMembersChosen() const;
    // The member of that row of the member table; its charts and readings.
    void selectMember(int row);

    // The 「同盟の状況」 tab.
    BriefingPane *briefing() const { return m_briefing; }

    // Empty while the history reads well; else why nothing is shown.
    QString statusText() const;
    TrendsTableModel *model(Table table) const;
    TrendChart *chart(Chart chart) const;

    // Ask for a file name and save; false when cancelled or failed (the user
    // has been told why).
    bool saveCsv(Table table);
    bool savePng(Chart chart);

private:
    QWidget *tablePane(Table table, QTableView **view);
    QWidget *chartPane(std::initializer_list<Chart> charts);
    void showMember(const MemberReading &member);
    QWidget *idleChooser();
    void showIdleCount();
    QString suggestedPath(const QString &what, const QString &extension) const;

    QString m_directory;
    QString m_allianceId;
    QDate m_today;
    HistoryStore m_store;
    std::unique_ptr<TrendsFilePort> m_ownPort;
    TrendsFilePort *m_port;
    Trends::Loaded m_history;

    std::function<void(const QStringList &)> m_writeLetter;

    BriefingPane *m_briefing = nullptr;
    QLabel *m_status = nullptr;
    QSpinBox *m_idleDays = nullptr;
    QLabel *m_idleCount = nullptr;
    QPushButton *m_writeLetterButton = nullptr;
    QLabel *m_memberTitle = nullptr;
    QTableView *m_memberView = nullptr;
    std::array<TrendsTableModel *, 4> m_models{};
    std::array<TrendChart *, 6> m_charts{};
};
