#include "alliance/window/runhistorydialog.h"

#include "alliance/commands/commandtable.h"
#include "alliance/console/runoutcome.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString commandLabels(const QStringList &keys)
{
    QStringList labels;
    for (const QString &key : keys) {
        const CommandEntry *command = CommandTable::find(key);
        labels << (command ? command->label : key);
    }
    return labels.join(u'、');
}

QString moment(const QDateTime &at)
{
    return at.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

} // namespace

RunHistoryDialog::RunHistoryDialog(const QString &worldFolder, const QString &worldKey, QWidget *parent)
    : QDialog(parent), m_history(worldFolder), m_table(new QTableWidget(this)), m_state(new QLabel(this))
{
    setObjectName(QStringLiteral("RunHistory"));
    setWindowTitle(QStringLiteral("記録の履歴 - ") + worldKey);
    m_table->setObjectName(QStringLiteral("tblRuns"));
    m_table->setColumnCount(5);
    m_table->setHorizontalHeaderLabels({QStringLiteral("開始"), QStringLiteral("終了"),
                                        QStringLiteral("コマンド"), QStringLiteral("結果"),
                                        QStringLiteral("内容")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_state);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(900, 420);
    reload();
}

void RunHistoryDialog::reload()
{
    const Result<QList<RunRecord>> runs = m_history.runs();
    m_table->setRowCount(0);
    if (!runs) {
        m_state->setText(runs.error);
        return;
    }
    m_state->setText(runs.value.isEmpty() ? QStringLiteral("まだ記録はありません。")
                                          : QStringLiteral("%1回の記録（新しい順）").arg(runs.value.size()));
    m_table->setRowCount(static_cast<int>(runs.value.size()));
    for (int row = 0; row < runs.value.size(); ++row) {
        const RunRecord &run = runs.value.at(row);
        const QStringList said = run.results + run.warnings;
        const QStringList cells{moment(run.startedAt), moment(run.endedAt), commandLabels(run.commands),
                                RunOutcome::words(run.exitCode), said.join(QStringLiteral(" / "))};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            if (column == cells.size() - 1)
                item->setToolTip(said.join(u'\n'));
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
}
