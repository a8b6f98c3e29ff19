#pragma once

#include "history/historystore.h"

#include <QDialog>

class QLabel;
class QTableWidget;

// 「記録の履歴」: every run without the window the world's history
// remembers, newest first: when, which commands, how it ended and what it
// said.
class RunHistoryDialog : public QDialog
{
    Q_OBJECT
public:
    RunHistoryDialog(const QString &worldFolder, const QString &worldKey, QWidget *parent = nullptr);

    // Reads the runs again (a timer may have run since).
    void reload();

private:
    HistoryStore m_history;
    QTableWidget *m_table;
    QLabel *m_state;
};
