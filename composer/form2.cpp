#include "composer/form2.h"

#include "common/twips.h"
#include "composer/form2layout.h"
#include "ui/controltable.h"
#include "ui/crlftext.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int kFieldPointSize = 11;

QString withLf(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

Form2::Form2(ComposerContext context, ComposerState &state, QWidget *parent)
    : QWidget(parent), m_context(std::move(context)), m_composer(m_context, state, *this)
{
    setWindowFlag(Qt::Window, true);
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("新規書状作成"));
    buildControls();
}

Form2::~Form2() = default;

template <typename W> W *Form2::control(const QString &name) const
{
    return qobject_cast<W *>(m_controls.value(name));
}

void Form2::buildControls()
{
    setFixedSize(Twips::toPixels(Form2Layout::kClientWidth), Twips::toPixels(Form2Layout::kClientHeight));
    m_controls = ControlTable::build(this, Form2Layout::controls());
    m_text1 = control<QPlainTextEdit>(QStringLiteral("Text1"));
    m_text2 = control<QLineEdit>(QStringLiteral("Text2"));
    m_text3 = control<QLineEdit>(QStringLiteral("Text3"));
    m_list1 = control<QListWidget>(QStringLiteral("List1"));
    m_combo1 = control<QComboBox>(QStringLiteral("Combo1"));
    m_combo2 = control<QComboBox>(QStringLiteral("Combo2"));

    const auto onClick = [this](const QString &name, auto handler) {
        connect(control<QPushButton>(name), &QPushButton::clicked, this, handler);
    };
    onClick(QStringLiteral("Command1"), [this] { Command1_Click(); });
    onClick(QStringLiteral("Command3"), [this] { Command3_Click(); });
    onClick(QStringLiteral("Command4"), [this] { Command4_Click(); });
    onClick(QStringLiteral("Command6"), [this] { Command6_Click(); });
    onClick(QStringLiteral("Command8"), [this] { Command8_Click(); });
    onClick(QStringLiteral("Command9"), [this] { Command9_Click(); });
    for (int i = 0; i < 2; ++i)
        onClick(QStringLiteral("Command2(%1)").arg(i), [this, i] { Command2_Click(i); });
    for (int i = 0; i < 3; ++i)
        onClick(QStringLiteral("Command5(%1)").arg(i), [this, i] { Command5_Click(i); });
    connect(m_list1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    // The caption counts the addressees still waiting, however Text3 changed.
    connect(m_text3, &QLineEdit::textChanged, this, [this](const QString &text) {
        const QString caption = m_composer.addresseesChanged(text);
        if (m_opened)
            setWindowTitle(caption);
    });
    // A picked letter shows its name even when the text was typed over.
    connect(m_combo1, &QComboBox::activated, this,
            [this](int index) { m_combo1->setEditText(m_combo1->itemText(index)); });
    connect(m_combo2, &QComboBox::activated, this, [this](int index) { Combo2_Click(index); });
}

void Form2::showComposer()
{
    if (m_opening || isVisible()) {
        bringToFront();
        return;
    }
    Form_Load();
}

void Form2::writeTo(const QStringList &names)
{
    if (m_opening || isVisible()) {
        bringToFront();
        m_composer.takeList(names);
        // The list comes from a command that has just walked other pages:
        // the letter page is loaded again, ready for 「画面挿入」.
        if (!m_opening)
            m_composer.loadLetterPage();
        return;
    }
    openWith(names);
}

void Form2::bringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void Form2::Form_Load()
{
    openWith(std::nullopt);
}

void Form2::openWith(const std::optional<QStringList> &list)
{
    m_opening = true;
    m_opened = true;
    move(0, 0);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QFont bold = control<QPushButton>(QStringLiteral("Command1"))->font();
    bold.setBold(true);
    control<QPushButton>(QStringLiteral("Command1"))->setFont(bold);
    for (QWidget *field : {static_cast<QWidget *>(m_text1), static_cast<QWidget *>(m_list1)}) {
        QFont font = field->font();
        font.setPointSize(kFieldPointSize);
        field->setFont(font);
    }
    // A window opened again starts as a new one: no addressees, no
    // additional entries, nothing picked.
    m_text3->clear();
    m_combo2->clear();
    m_combo2->setEditText(QStringLiteral("追加宛名"));
    // The window's own texts first, then the page: a page that hangs or a
    // browser that is gone can never keep the remembered letter from the
    // window (and "内容記憶＋閉じる" from then forgetting it).
    m_composer.fillAtOpening();
    if (list)
        m_composer.takeList(*list);
    setWindowTitle(m_composer.addresseesChanged(m_text3->text()));
    show();
    raise();
    activateWindow();
    m_composer.loadLetterPage();
    m_opening = false;
}

void Form2::List1_Click()
{
    if (const QListWidgetItem *item = m_list1->currentItem())
        m_composer.pick(item->text());
}

void Form2::Combo2_Click(int index)
{
    if (index >= 0 && index < m_combo2->count())
        m_composer.pick(m_combo2->itemText(index));
}

void Form2::Command1_Click()
{
    m_composer.fillLetterPage();
}

void Form2::Command2_Click(int index)
{
    m_composer.rememberOnClose(index);
    close();
}

void Form2::Command3_Click()
{
    m_composer.loadLetterPage();
}

void Form2::Command4_Click()
{
    m_composer.clearFields();
}

void Form2::Command5_Click(int index)
{
    m_composer.savedLetterCommand(index);
}

void Form2::Command6_Click()
{
    m_composer.pourAddressees();
}

void Form2::Command8_Click()
{
    m_composer.openRoster();
}

void Form2::Command9_Click()
{
    m_composer.switchList();
}

void Form2::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept();
}

QString Form2::body() const
{
    return withCrLf(m_text1->toPlainText());
}

void Form2::setBody(const QString &text)
{
    m_text1->setPlainText(withLf(text));
}

QString Form2::subject() const
{
    return m_text2->text();
}

void Form2::setSubject(const QString &text)
{
    m_text2->setText(text);
}

QString Form2::addressees() const
{
    return m_text3->text();
}

void Form2::setAddressees(const QString &text)
{
    m_text3->setText(text);
}

void Form2::setAddresseeList(const QStringList &names)
{
    m_list1->clear();
    m_list1->addItems(names);
}

QStringList Form2::additionalAddressees() const
{
    QStringList names;
    for (int i = 0; i < m_combo2->count(); ++i)
        names.append(m_combo2->itemText(i));
    return names;
}

void Form2::appendKeepingSelection(QComboBox *combo, const QStringList &items)
{
    // Adding to an empty combo would select the first entry by itself.
    const int index = combo->currentIndex();
    const QString shown = combo->currentText();
    combo->addItems(items);
    combo->setCurrentIndex(index);
    combo->setEditText(shown);
}

void Form2::appendAdditionalAddressees(const QStringList &names)
{
    appendKeepingSelection(m_combo2, names);
}

void Form2::setSavedLetters(const QStringList &names)
{
    m_combo1->clear();
    appendKeepingSelection(m_combo1, names);
    m_combo1->setCurrentIndex(-1);
    m_combo1->setEditText(QStringLiteral("保存データ一覧"));
}

QStringList Form2::savedLetters() const
{
    QStringList names;
    for (int i = 0; i < m_combo1->count(); ++i)
        names.append(m_combo1->itemText(i));
    return names;
}

int Form2::selectedSavedLetter() const
{
    // A text typed over the picked entry no longer picks it.
    const int index = m_combo1->currentIndex();
    return index >= 0 && m_combo1->currentText() == m_combo1->itemText(index) ? index : -1;
}

void Form2::appendSavedLetter(const QString &name)
{
    appendKeepingSelection(m_combo1, {name});
}

void Form2::removeSavedLetter(int index)
{
    m_combo1->removeItem(index);
    m_combo1->setCurrentIndex(-1);
    m_combo1->setEditText(QStringLiteral("保存データ一覧"));
}

void Form2::showMessage(const QString &text)
{
    MessageBox::show(this, QStringLiteral("注意"), text, MessageBox::Icon::None);
}

bool Form2::askYesNo(const QString &text)
{
    return MessageBox::question(this, QStringLiteral("注意"), text);
}

QString Form2::clipboardText() const
{
    return QGuiApplication::clipboard()->text();
}

void Form2::setPageCommandsEnabled(bool enabled)
{
    control<QPushButton>(QStringLiteral("Command1"))->setEnabled(enabled);
    control<QPushButton>(QStringLiteral("Command3"))->setEnabled(enabled);
}
