#pragma once

#include "history/briefing.h"
#include "history/historystore.h"

#include <QDate>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QSpinBox;
class QStandardItemModel;
class QTableView;
class TrendsFilePort;

// The 「同盟の状況」 tab of 「推移」: a row per current member with the
// briefing's figures and status, the thresholds (remembered in the world's
// folder), a filter by status, and from the members shown a letter, a CSV
// file or, for the officers, the briefing's text on the clipboard.
class BriefingPane : public QWidget
{
    Q_OBJECT
public:
    BriefingPane(HistoryStore &store, const QString &directory, const QString &allianceId, const QDate &today,
                 TrendsFilePort &port, QWidget *parent = nullptr);

    // Reads the history again and shows it.
    void reload();
    void setLetterWriter(std::function<void(const QStringList &)> writer);
    // The player's own lord, never counted as not answering its circulars.
    void setLeader(const QString &lordName);

    // What is shown, for the tests and the buttons.
    const QList<Briefing::Row> &rows() const { return m_rows; }
    QList<Briefing::Row> shownRows() const;
    QString briefingText() const;
    Briefing::Thresholds thresholds() const;
    // The status group shown; empty: every member.
    void showOnly(std::optional<Briefing::Status> status);

    bool saveCsv();
    void copyText();
    // Keeps the note of the member of the shown row; false when it could not.
    bool writeNote(int shownRow, const QString &note, const QDate &leaveUntil);

private:
    void thresholdsChanged();
    void showRows();
    bool isShown(const Briefing::Row &row) const; // by the 「表示」 filter
    void editNote();

    HistoryStore &m_store;
    QString m_directory;
    QString m_allianceId;
    QDate m_today;
    TrendsFilePort &m_port;
    Briefing::Inputs m_inputs;
    QList<Briefing::Row> m_rows;
    QString m_leader;
    std::function<void(const QStringList &)> m_writeLetter;

    QSpinBox *m_idleDays = nullptr;
    QSpinBox *m_minAnswered = nullptr;
    QSpinBox *m_circulars = nullptr;
    QComboBox *m_filter = nullptr;
    QLabel *m_summary = nullptr;
    QStandardItemModel *m_model = nullptr;
    QTableView *m_view = nullptr;
    QWidget *m_letterButton = nullptr;
};
