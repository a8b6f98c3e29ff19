#include "trends/briefingpane.h"

#include "trends/csvfile.h"
#include "trends/trendsfileport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kSortRole = Qt::UserRole;
constexpr int kRowRole = Qt::UserRole + 1; // the row's place in rows()

// What a column sorts by: the number of a figure, the text of the others.
QVariant sortKey(const Briefing::Row &row, int column, const QString &text)
{
    const auto number = [](const auto &value) { return value ? QVariant(qlonglong(*value)) : QVariant(); };
    switch (column) {
    case 1:
        return static_cast<int>(row.status);
    case 2:
        return number(row.idleDays);
    case 3:
        return number(row.gained7);
    case 4:
        return number(row.gained28);
    case 5:
        return row.checked == 0 ? QVariant() : QVariant(double(row.answered) / row.checked);
    case 7:
        return number(row.meritRank);
    case 8:
        return number(row.rankChange);
    case 9:
        return number(row.meritScore);
    case 10:
        return number(row.scoreChange);
    case 11:
        return row.daysInAlliance ? QVariant(*row.daysInAlliance) : QVariant(-1);
    default:
        return text;
    }
}

QSpinBox *spinBox(QWidget *parent, const char *name, int low, int high, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

} // namespace

BriefingPane::BriefingPane(HistoryStore &store, const QString &directory, const QString &allianceId,
                           const QDate &today, TrendsFilePort &port, QWidget *parent)
    : QWidget(parent), m_store(store), m_directory(directory), m_allianceId(allianceId), m_today(today),
      m_port(port)
{
    const Briefing::Thresholds remembered = Briefing::readThresholds(directory);
    auto *layout = new QVBoxLayout(this);
    auto *settings = new QHBoxLayout;
    m_idleDays = spinBox(this, "briefingIdleDays", 1, 365, remembered.idleDays);
    m_minAnswered = spinBox(this, "briefingMinAnswered", 0, 52, remembered.minAnswered);
    m_circulars = spinBox(this, "briefingCirculars", 1, 52, remembered.circulars);
    settings->addWidget(new QLabel(QStringLiteral("要注意：ポイント停止"), this));
    settings->addWidget(m_idleDays);
    settings->addWidget(new QLabel(QStringLiteral("日以上、または直近"), this));
    settings->addWidget(m_circulars);
    settings->addWidget(new QLabel(QStringLiteral("回の返信確認で返信"), this));
    settings->addWidget(m_minAnswered);
    settings->addWidget(new QLabel(QStringLiteral("回未満"), this));
    settings->addStretch(1);
    layout->addLayout(settings);

    auto *actions = new QHBoxLayout;
    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("briefingFilter"));
    m_filter->addItem(QStringLiteral("全員"), -1);
    for (const Briefing::Status status : Briefing::statuses())
        m_filter->addItem(Briefing::statusName(status), static_cast<int>(status));
    m_summary = new QLabel(this);
    auto *letter = new QPushButton(QStringLiteral("この人たちに書状を書く"), this);
    letter->setObjectName(QStringLiteral("briefingLetter"));
    letter->setVisible(false);
    m_letterButton = letter;
    auto *csv = new QPushButton(QStringLiteral("CSVで保存…"), this);
    auto *copy = new QPushButton(QStringLiteral("文面をコピー"), this);
    copy->setObjectName(QStringLiteral("briefingCopy"));
    auto *note = new QPushButton(QStringLiteral("メモ…"), this);
    actions->addWidget(new QLabel(QStringLiteral("表示"), this));
    actions->addWidget(m_filter);
    actions->addWidget(m_summary, 1);
    actions->addWidget(note);
    actions->addWidget(letter);
    actions->addWidget(csv);
    actions->addWidget(copy);
    layout->addLayout(actions);

    m_model = new QStandardItemModel(this);
    m_model->setSortRole(kSortRole);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("briefingTable"));
    m_view->setModel(m_model);
    m_view->setSortingEnabled(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    layout->addWidget(m_view, 1);

    for (QSpinBox *box : {m_idleDays, m_minAnswered, m_circulars})
        connect(box, &QSpinBox::valueChanged, this, &BriefingPane::thresholdsChanged);
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] { showRows(); });
    connect(letter, &QPushButton::clicked, this, [this] {
        QStringList names;
        for (const Briefing::Row &row : shownRows())
            names << row.name;
        if (m_writeLetter && !names.isEmpty())
            m_writeLetter(names);
    });
    connect(csv, &QPushButton::clicked, this, &BriefingPane::saveCsv);
    connect(copy, &QPushButton::clicked, this, &BriefingPane::copyText);
    connect(note, &QPushButton::clicked, this, &BriefingPane::editNote);
    connect(m_view, &QTableView::doubleClicked, this, &BriefingPane::editNote);
}

Briefing::Thresholds BriefingPane::thresholds() const
{
    return {m_idleDays->value(), m_circulars->value(), m_minAnswered->value()};
}

void BriefingPane::reload()
{
    const Result<Briefing::Inputs> inputs =
        m_store.briefingInputs(m_allianceId, m_today, m_circulars->value());
    m_inputs = inputs ? inputs.value : Briefing::Inputs{};
    m_inputs.today = m_today;
    m_inputs.leaderName = m_leader;
    m_rows = Briefing::rows(m_inputs, thresholds());
    showRows();
    if (!inputs)
        m_summary->setText(inputs.error);
}

void BriefingPane::thresholdsChanged()
{
    if (const QString problem = Briefing::writeThresholds(m_directory, thresholds()); !problem.isEmpty())
        m_summary->setText(problem);
    // More circulars than were read need the history again.
    if (m_circulars->value() > m_inputs.replyChecks.size()) {
        reload();
        return;
    }
    m_rows = Briefing::rows(m_inputs, thresholds());
    showRows();
}

void BriefingPane::setLeader(const QString &lordName)
{
    // The history read already holds the checks: only the rows change.
    m_leader = lordName;
    m_inputs.leaderName = lordName;
    m_rows = Briefing::rows(m_inputs, thresholds());
    showRows();
}

void BriefingPane::setLetterWriter(std::function<void(const QStringList &)> writer)
{
    m_writeLetter = std::move(writer);
    m_letterButton->setVisible(static_cast<bool>(m_writeLetter));
}

void BriefingPane::showOnly(std::optional<Briefing::Status> status)
{
    m_filter->setCurrentIndex(m_filter->findData(status ? static_cast<int>(*status) : -1));
}

bool BriefingPane::isShown(const Briefing::Row &row) const
{
    const int wanted = m_filter->currentData().toInt();
    return wanted < 0 || static_cast<int>(row.status) == wanted;
}

QList<Briefing::Row> BriefingPane::shownRows() const
{
    QList<Briefing::Row> shown;
    for (const Briefing::Row &row : m_rows) {
        if (isShown(row))
            shown << row;
    }
    return shown;
}

void BriefingPane::showRows()
{
    m_model->clear();
    m_model->setHorizontalHeaderLabels(Briefing::headings());
    int shown = 0;
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const Briefing::Row &row = m_rows.at(i);
        if (!isShown(row))
            continue;
        QList<QStandardItem *> items;
        const QStringList cells = Briefing::cells(row);
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QStandardItem(cells.at(column));
            item->setData(sortKey(row, column, cells.at(column)), kSortRole);
            items << item;
        }
        items.first()->setData(static_cast<int>(i), kRowRole);
        m_model->appendRow(items);
        ++shown;
    }
    int attention = 0;
    for (const Briefing::Row &row : std::as_const(m_rows))
        attention += row.status == Briefing::Status::Attention ? 1 : 0;
    m_summary->setText(m_rows.isEmpty()
                           ? QStringLiteral("同盟の記録がまだありません。")
                           : QStringLiteral("%1名を表示（要注意 %2名）").arg(shown).arg(attention));
    m_letterButton->setEnabled(shown > 0);
    m_view->resizeColumnsToContents();
}

QString BriefingPane::briefingText() const
{
    return Briefing::text(m_rows, m_today);
}

void BriefingPane::copyText()
{
    QGuiApplication::clipboard()->setText(briefingText());
}

bool BriefingPane::saveCsv()
{
    const QString group = m_filter->currentIndex() == 0 ? QStringLiteral("全員") : m_filter->currentText();
    const QString suggested =
        QDir(m_directory)
            .filePath(QStringLiteral("同盟の状況_%1_%2_%3.csv")
                          .arg(group, m_allianceId, m_today.toString(QStringLiteral("yyyyMMdd"))));
    const QString path =
        m_port.saveFileName(QStringLiteral("CSVで保存"), suggested, QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return false;
    QList<QStringList> table{Briefing::headings()};
    for (const Briefing::Row &row : shownRows())
        table << Briefing::cells(row);
    const DataFile::Result written = Csv::write(path, table);
    if (!written)
        m_port.tell(written.error, QStringLiteral("注意"));
    return written.ok;
}

bool BriefingPane::writeNote(int shownRow, const QString &note, const QDate &leaveUntil)
{
    const QStandardItem *item = m_model->item(shownRow, 0);
    if (item == nullptr)
        return false;
    const Briefing::Row &row = m_rows.at(item->data(kRowRole).toInt());
    const Result<> written =
        m_store.writeNote(m_allianceId, MemberNote{row.userId, row.name, note, leaveUntil});
    if (!written) {
        m_port.tell(written.error, QStringLiteral("注意"));
        return false;
    }
    reload();
    return true;
}

void BriefingPane::editNote()
{
    const int shownRow = m_view->currentIndex().row();
    const QStandardItem *item = m_model->item(shownRow, 0);
    if (item == nullptr)
        return;
    const Briefing::Row &row = m_rows.at(item->data(kRowRole).toInt());
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("メモ - ") + row.name);
    auto *form = new QFormLayout(&dialog);
    auto *text = new QLineEdit(row.note, &dialog);
    auto *onLeave = new QCheckBox(QStringLiteral("休止中（この日まで）"), &dialog);
    auto *until = new QDateEdit(row.leaveUntil.isValid() ? row.leaveUntil : m_today.addDays(7), &dialog);
    until->setCalendarPopup(true);
    onLeave->setChecked(row.leaveUntil.isValid());
    form->addRow(QStringLiteral("メモ"), text);
    form->addRow(onLeave, until);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() == QDialog::Accepted)
        writeNote(shownRow, text->text().trimmed(), onLeave->isChecked() ? until->date() : QDate());
}
