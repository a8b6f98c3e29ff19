#include "trends/trendswindow.h"

#include "trends/briefingpane.h"
#include "trends/csvfile.h"
#include "trends/trendchart.h"
#include "trends/trendstable.h"
#include "ui/messagebox.h"
#include "ui/savedialog.h"

#include <QAction>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString &cautionTitle()
{
    static const QString title = QStringLiteral("注意");
    return title;
}

QString tableName(TrendsWindow::Table table)
{
    switch (table) {
    case TrendsWindow::Table::Members:
        return QStringLiteral("同盟員");
    case TrendsWindow::Table::Member:
        return QStringLiteral("個人");
    case TrendsWindow::Table::Totals:
        return QStringLiteral("同盟合計");
    case TrendsWindow::Table::JoinLeave:
        return QStringLiteral("加入脱退");
    }
    return {};
}

Trends::Quantity quantityOf(TrendsWindow::Chart chart)
{
    static constexpr Trends::Quantity quantities[] = {Trends::Quantity::Points, Trends::Quantity::Population,
                                                      Trends::Quantity::Merit};
    return quantities[static_cast<int>(chart) % 3];
}

bool isTotal(TrendsWindow::Chart chart)
{
    return static_cast<int>(chart) >= static_cast<int>(TrendsWindow::Chart::TotalPoints);
}

} // namespace

QString DialogTrendsFilePort::saveFileName(const QString &caption, const QString &suggestedPath,
                                           const QString &filter)
{
    return SaveDialog::ask(m_parent, caption, suggestedPath, filter);
}

void DialogTrendsFilePort::tell(const QString &text, const QString &title)
{
    MessageBox::warning(m_parent, title, text, MessageBox::Layer::Ordinary);
}

TrendsWindow::TrendsWindow(const QString &directory, const QString &allianceId, const QDate &today,
                           TrendsFilePort *port, QWidget *parent)
    : QWidget(parent), m_directory(directory), m_allianceId(allianceId), m_today(today), m_store(directory),
      m_ownPort(port ? nullptr : std::make_unique<DialogTrendsFilePort>(this)),
      m_port(port ? port : m_ownPort.get())
{
    // A window of its own also when the tool window owns it, which keeps it
    // above the topmost tool window and closes it with that window.
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("推移"));
    for (auto &model : m_models)
        model = new TrendsTableModel(this);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    auto *reloadButton = new QPushButton(QStringLiteral("再読込"), this);
    connect(reloadButton, &QPushButton::clicked, this, &TrendsWindow::reload);
    top->addWidget(m_status, 1);
    top->addWidget(reloadButton);
    layout->addLayout(top);

    auto *splitter = new QSplitter(this);
    auto *membersPane = new QWidget(splitter);
    auto *membersLayout = new QVBoxLayout(membersPane);
    membersLayout->setContentsMargins(0, 0, 0, 0);
    membersLayout->addWidget(idleChooser());
    membersLayout->addWidget(tablePane(Table::Members, &m_memberView), 1);
    splitter->addWidget(membersPane);
    auto *tabs = new QTabWidget(splitter);

    auto *memberPage = new QWidget(tabs);
    auto *memberLayout = new QVBoxLayout(memberPage);
    m_memberTitle = new QLabel(memberPage);
    memberLayout->addWidget(m_memberTitle);
    memberLayout->addWidget(chartPane({Chart::MemberPoints, Chart::MemberPopulation, Chart::MemberMerit}), 3);
    memberLayout->addWidget(tablePane(Table::Member, nullptr), 1);
    tabs->addTab(memberPage, QStringLiteral("個人"));

    auto *totalPage = new QWidget(tabs);
    auto *totalLayout = new QVBoxLayout(totalPage);
    totalLayout->addWidget(chartPane({Chart::TotalPoints, Chart::TotalPopulation, Chart::TotalMerit}), 3);
    totalLayout->addWidget(tablePane(Table::Totals, nullptr), 1);
    tabs->addTab(totalPage, QStringLiteral("同盟合計"));
    tabs->addTab(tablePane(Table::JoinLeave, nullptr), QStringLiteral("加入・脱退"));
    m_briefing = new BriefingPane(m_store, m_directory, m_allianceId, m_today, *m_port, tabs);
    tabs->addTab(m_briefing, QStringLiteral("同盟の状況"));
    splitter->addWidget(tabs);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);

    connect(m_memberView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { selectMember(current.row()); });
    resize(1100, 760);
    reload();
}

TrendsWindow::~TrendsWindow() = default;

QWidget *TrendsWindow::idleChooser()
{
    auto *row = new QWidget(this);
    auto *layout = new QGridLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_idleDays = new QSpinBox(row);
    m_idleDays->setObjectName(QStringLiteral("idleDays"));
    m_idleDays->setRange(1, 3650);
    // Three days: a weekend away is no sign of having stopped playing.
    m_idleDays->setValue(3);
    m_idleCount = new QLabel(row);
    m_writeLetterButton = new QPushButton(QStringLiteral("この人たちに書状を書く"), row);
    m_writeLetterButton->setObjectName(QStringLiteral("writeLetter"));
    m_writeLetterButton->setVisible(false);
    connect(m_idleDays, &QSpinBox::valueChanged, this, &TrendsWindow::showIdleCount);
    connect(m_writeLetterButton, &QPushButton::clicked, this, [this] {
        if (m_writeLetter)
            m_writeLetter(idleMembersChosen());
    });
    // The button on a line of its own: the member pane is narrow.
    layout->addWidget(m_idleDays, 0, 0);
    layout->addWidget(m_idleCount, 0, 1);
    layout->addWidget(m_writeLetterButton, 1, 0, 1, 2, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    return row;
}

void TrendsWindow::setLetterWriter(std::function<void(const QStringList &)> writer)
{
    m_writeLetter = writer;
    m_writeLetterButton->setVisible(static_cast<bool>(m_writeLetter));
    m_briefing->setLetterWriter(std::move(writer));
}

QStringList TrendsWindow::idleMembersChosen() const
{
    return Trends::idleFor(m_history.idle, m_idleDays->value());
}

void TrendsWindow::showIdleCount()
{
    const qsizetype count = idleMembersChosen().size();
    m_idleCount->setText(QStringLiteral("日以上ポイントが動いていない同盟員 %1名").arg(count));
    m_writeLetterButton->setEnabled(count > 0);
}

QWidget *TrendsWindow::tablePane(Table table, QTableView **view)
{
    auto *pane = new QWidget(this);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *tableView = new QTableView(pane);
    tableView->setModel(m_models[static_cast<std::size_t>(table)]);
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->horizontalHeader()->setStretchLastSection(true);
    tableView->verticalHeader()->setDefaultSectionSize(tableView->fontMetrics().height() + 6);
    auto *save = new QAction(QStringLiteral("CSVで保存…"), tableView);
    connect(save, &QAction::triggered, this, [this, table] { saveCsv(table); });
    tableView->addAction(save);
    tableView->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *button = new QPushButton(QStringLiteral("CSVで保存…"), pane);
    connect(button, &QPushButton::clicked, this, [this, table] { saveCsv(table); });
    layout->addWidget(tableView, 1);
    layout->addWidget(button, 0, Qt::AlignRight);
    if (view)
        *view = tableView;
    return pane;
}

QWidget *TrendsWindow::chartPane(std::initializer_list<Chart> charts)
{
    auto *pane = new QWidget(this);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const Chart which : charts) {
        auto *view = new TrendChart(pane);
        auto *save = new QAction(QStringLiteral("画像として保存…"), view);
        connect(save, &QAction::triggered, this, [this, which] { savePng(which); });
        view->addAction(save);
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
        m_charts[static_cast<std::size_t>(which)] = view;
        layout->addWidget(view, 1);
    }
    return pane;
}

void TrendsWindow::reload()
{
    m_history = Trends::load(m_store, m_allianceId, m_today);
    m_briefing->reload();
    setWindowTitle(QStringLiteral("推移 - 同盟ID %1").arg(m_allianceId));
    if (!m_history.ok) {
        // The history cannot be read now: say why, and show nothing stale.
        m_status->setText(m_history.error);
        m_history = Trends::Loaded{false, m_history.error, false, {}, {}, {}};
    } else if (m_history.noFile || m_history.totals.isEmpty()) {
        m_status->setText(
            QStringLiteral("この同盟の履歴はまだありません。同盟名簿作成などを実行すると記録されます。"));
    } else {
        m_status->clear();
    }
    m_status->setVisible(!m_status->text().isEmpty());

    m_models[static_cast<std::size_t>(Table::Members)]->setTable(Trends::idleTable(m_history.idle));
    m_models[static_cast<std::size_t>(Table::Totals)]->setTable(Trends::totalsTable(m_history.totals));
    m_models[static_cast<std::size_t>(Table::JoinLeave)]->setTable(
        Trends::joinLeaveTable(m_history.joinLeave));
    for (const Chart which : {Chart::TotalPoints, Chart::TotalPopulation, Chart::TotalMerit}) {
        const Trends::Quantity quantity = quantityOf(which);
        m_charts[static_cast<std::size_t>(which)]->setPoints(
            QStringLiteral("同盟の%1合計").arg(Trends::label(quantity)),
            Trends::allianceTotals(m_history.totals, quantity));
    }
    showIdleCount();
    m_memberView->resizeColumnsToContents();
    if (!m_history.idle.isEmpty())
        m_memberView->selectRow(0);
    else
        showMember({});
}

void TrendsWindow::selectMember(int row)
{
    if (row < 0 || row >= m_history.idle.size())
        return;
    const IdleMember &idle = m_history.idle.at(row);
    MemberReading member;
    member.userId = idle.userId;
    member.name = idle.name;
    showMember(member);
}

void TrendsWindow::showMember(const MemberReading &member)
{
    m_memberTitle->setText(member.name);
    const bool anyone = !member.name.isEmpty() || !member.userId.isEmpty();
    // Only the chosen member's readings are read, when chosen.
    QList<DatedReading> readings;
    if (anyone) {
        const Result<QList<DatedReading>> read = Trends::loadMember(m_store, m_allianceId, member);
        if (!read)
            m_status->setText(read.error);
        m_status->setVisible(!m_status->text().isEmpty());
        readings = read.value;
    }
    m_models[static_cast<std::size_t>(Table::Member)]->setTable(Trends::memberTable(readings));
    for (const Chart which : {Chart::MemberPoints, Chart::MemberPopulation, Chart::MemberMerit}) {
        const Trends::Quantity quantity = quantityOf(which);
        m_charts[static_cast<std::size_t>(which)]->setPoints(
            anyone ? QStringLiteral("%1の%2").arg(member.name, Trends::label(quantity))
                   : Trends::label(quantity),
            Trends::memberSeries(readings, quantity));
    }
}

QString TrendsWindow::statusText() const
{
    return m_status->text();
}

TrendsTableModel *TrendsWindow::model(Table table) const
{
    return m_models[static_cast<std::size_t>(table)];
}

TrendChart *TrendsWindow::chart(Chart chart) const
{
    return m_charts[static_cast<std::size_t>(chart)];
}

QString TrendsWindow::suggestedPath(const QString &what, const QString &extension) const
{
    return QDir(m_directory).filePath(QStringLiteral("推移_%1_%2.%3").arg(m_allianceId, what, extension));
}

bool TrendsWindow::saveCsv(Table table)
{
    const QString path = m_port->saveFileName(QStringLiteral("CSVで保存"),
                                              suggestedPath(tableName(table), QStringLiteral("csv")),
                                              QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return false;
    const DataFile::Result written = Csv::write(path, model(table)->table().withHeaders());
    if (!written)
        m_port->tell(written.error, cautionTitle());
    return written.ok;
}

bool TrendsWindow::savePng(Chart which)
{
    const QString what = (isTotal(which) ? QStringLiteral("同盟合計_") : QStringLiteral("個人_")) +
                         Trends::label(quantityOf(which));
    const QString path =
        m_port->saveFileName(QStringLiteral("画像として保存"), suggestedPath(what, QStringLiteral("png")),
                             QStringLiteral("PNG (*.png)"));
    if (path.isEmpty())
        return false;
    const DataFile::Result written = DataFile::writeBytes(path, chart(which)->pngBytes());
    if (!written)
        m_port->tell(written.error, cautionTitle());
    return written.ok;
}
