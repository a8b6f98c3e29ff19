#include "alliance/toolwindow.h"

#include "alliance/pacer.h"
#include "alliance/plotterlauncher.h"
#include "alliance/rostercommand.h"
#include "alliance/wrappingcheckbox.h"
#include "common/datafile.h"
#include "common/pump.h"
#include "common/textsearch.h"
#include "common/twips.h"
#include "site/browserslot.h"
#include "site/session.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

constexpr int kClientWidth = 3585;
constexpr int kClientHeight = 7680;
constexpr int kWidenBy = 2100;
constexpr int kBottomMargin = 1400;

template <typename W, typename... Args> W *control(QWidget *parent, const char *name, Args &&...args)
{
    auto *widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = control<QPushButton>(parent, name, caption);
    b->setAutoDefault(false);
    return b;
}

} // namespace

OVEKMark::OVEKMark(Session &session, BrowserSlot &browsers, Navigator &navigator, Pump &pump, QWidget *parent)
    : QWidget(parent), m_session(session), m_browsers(browsers), m_navigator(navigator), m_pump(pump),
      m_guard([this](bool busy) { setBrowserCommandsEnabled(!busy); }),
      m_plotterProgram(session.appDir + PlotterLauncher::programName()),
      m_caption(QStringLiteral("同盟管理ツール"))
{
    setObjectName(QStringLiteral("OVEKMark"));
    setWindowTitle(m_caption);
    m_pacer = new TimerPacer(m_pump, this);
    buildControls();
}

OVEKMark::~OVEKMark() = default;

void OVEKMark::buildControls()
{
    setFixedSize(Twips::toPixels(kClientWidth), Twips::toPixels(kClientHeight));

    m_frame2 = control<QGroupBox>(this, "Frame2", QStringLiteral("合戦格付抽出"));
    m_frame2->setGeometry(Twips::toPixelRect(120, 120, 1695, 1935));
    m_combo1 = control<QComboBox>(m_frame2, "Combo1");
    m_combo1->setGeometry(Twips::toPixelRect(120, 240, 1335, 300));
    const char *optionNames[] = {"Option1(0)", "Option1(1)", "Option1(2)", "Option1(3)"};
    const QString optionCaptions[] = {QStringLiteral("戦功"), QStringLiteral("攻撃"), QStringLiteral("防御"),
                                      QStringLiteral("総合")};
    const QRect optionGeometry[] = {
        Twips::toPixelRect(120, 600, 735, 255), Twips::toPixelRect(840, 600, 700, 255),
        Twips::toPixelRect(120, 840, 700, 255), Twips::toPixelRect(840, 840, 700, 255)};
    for (int i = 0; i < 4; ++i) {
        m_option1[i] = control<QRadioButton>(m_frame2, optionNames[i], optionCaptions[i]);
        m_option1[i]->setGeometry(optionGeometry[i]);
    }
    m_option1[0]->setChecked(true);
    m_command6 = button(m_frame2, "Command6", QStringLiteral("データ保存"));
    m_command6->setGeometry(Twips::toPixelRect(120, 1140, 1455, 255));
    m_check1 = control<WrappingCheckBox>(m_frame2, "Check1", QStringLiteral("保存データを参考にする"));
    m_check1->setGeometry(Twips::toPixelRect(120, 1440, 1335, 375));

    m_command2 = button(this, "Command2", QStringLiteral("同盟名簿作成"));
    m_command2->setGeometry(Twips::toPixelRect(1920, 120, 1455, 375));
    m_command3 = button(this, "Command3", QStringLiteral("出城リスト作成"));
    m_command3->setGeometry(Twips::toPixelRect(1920, 480, 1455, 375));
    m_command5 = button(this, "Command5", QStringLiteral("同盟員活動履歴"));
    m_command5->setGeometry(Twips::toPixelRect(1920, 840, 1455, 375));
    m_command4 = button(this, "Command4", QStringLiteral("同盟員分布図"));
    m_command4->setGeometry(Twips::toPixelRect(1920, 1200, 1455, 375));
    m_command1[0] = button(this, "Command1(0)", QStringLiteral("初期化"));
    m_command1[0]->setGeometry(Twips::toPixelRect(1920, 1560, 735, 255));
    m_command1[2] = button(this, "Command1(2)", QStringLiteral("コピー"));
    m_command1[2]->setGeometry(Twips::toPixelRect(2640, 1560, 735, 255));
    m_command1[1] = button(this, "Command1(1)", QStringLiteral("拡大"));
    m_command1[1]->setGeometry(Twips::toPixelRect(1920, 1800, 735, 255));

    m_text4 = control<QLineEdit>(this, "Text4", QStringLiteral("キーワード"));
    m_text4->setGeometry(Twips::toPixelRect(120, 2160, 1695, 270));
    m_command8 = button(this, "Command8", QStringLiteral("返信者リストアップ"));
    m_command8->setGeometry(Twips::toPixelRect(120, 2400, 1695, 375));
    m_command9 = button(this, "Command9", QStringLiteral("書状新規作成"));
    m_command9->setGeometry(Twips::toPixelRect(2040, 2400, 1335, 375));

    m_text1 = control<QPlainTextEdit>(this, "Text1");
    m_text1->setLineWrapMode(QPlainTextEdit::NoWrap); // both scroll bars, as reports are column-aligned
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text1->setGeometry(Twips::toPixelRect(120, 2880, 3375, 3015));
    m_list1 = control<QListWidget>(this, "List1");
    m_list1->setGeometry(Twips::toPixelRect(2160, 4200, 615, 600));
    m_list1->lower(); // Text1 covers it until the alliance report uses it

    m_frame1 = control<QGroupBox>(this, "Frame1", QString());
    m_frame1->setGeometry(Twips::toPixelRect(120, 6000, 3255, 1575));
    control<QLabel>(m_frame1, "Label1", QStringLiteral("同盟ID"))
        ->setGeometry(Twips::toPixelRect(120, 240, 615, 255));
    m_text2 = control<QLineEdit>(m_frame1, "Text2");
    m_text2->setGeometry(Twips::toPixelRect(720, 240, 2295, 270));
    control<QLabel>(m_frame1, "Label2", QStringLiteral("区切 人口"))
        ->setGeometry(Twips::toPixelRect(120, 600, 855, 255));
    m_text3[0] = control<QLineEdit>(m_frame1, "Text3(0)", QStringLiteral("300"));
    m_text3[0]->setGeometry(Twips::toPixelRect(960, 600, 735, 270));
    control<QLabel>(m_frame1, "Label3", QStringLiteral("戦功"))
        ->setGeometry(Twips::toPixelRect(1800, 600, 375, 255));
    m_text3[1] = control<QLineEdit>(m_frame1, "Text3(1)", QStringLiteral("10000"));
    m_text3[1]->setGeometry(Twips::toPixelRect(2280, 600, 735, 270));
    m_command7 = button(m_frame1, "Command7", QStringLiteral("同盟データ取得"));
    m_command7->setGeometry(Twips::toPixelRect(120, 960, 1455, 255));

    for (int i = 0; i < 3; ++i)
        connect(m_command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(m_command2, &QPushButton::clicked, this, &OVEKMark::Command2_Click);
    connect(m_command4, &QPushButton::clicked, this, &OVEKMark::Command4_Click);

    // The commands behind these controls are not part of the tool yet; they
    // stay visible so the window looks as users know it, but do nothing.
    for (QWidget *later : std::initializer_list<QWidget *>{m_command3, m_command5, m_command6, m_command7,
                                                           m_command8, m_command9, m_combo1})
        later->setEnabled(false);
}

void OVEKMark::setBrowserCommandsEnabled(bool enabled)
{
    m_command2->setEnabled(enabled);
}

QString OVEKMark::archiveFileOfFirstCategory() const
{
    return m_session.appDir + QStringLiteral("Archive_") + m_session.world.warRankingKey +
           QStringLiteral("_") + m_option1[0]->text() + QStringLiteral(".txt");
}

void OVEKMark::Form_Load()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_combo1->addItems({QStringLiteral("1～100位"), QStringLiteral("101～200位"),
                        QStringLiteral("201～300位"), QStringLiteral("301～400位"),
                        QStringLiteral("401～500位")});
    m_combo1->setCurrentIndex(-1);
    m_check1->setEnabled(DataFile::exists(archiveFileOfFirstCategory()));
    show();
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->geometry();
        const int top = available.height() - frameGeometry().height() - Twips::toPixels(kBottomMargin);
        move(0, qMax(0, top));
    }
    m_command2->setFocus();
}

void OVEKMark::Command1_Click(int index)
{
    switch (index) {
    case 0:
        m_text1->clear();
        break;
    case 1: {
        const bool widen = m_command1[1]->text() == QStringLiteral("拡大");
        const int delta = Twips::toPixels(widen ? kWidenBy : -kWidenBy);
        m_command1[1]->setText(widen ? QStringLiteral("縮小") : QStringLiteral("拡大"));
        setFixedWidth(width() + delta);
        m_text1->resize(m_text1->width() + delta, m_text1->height());
        break;
    }
    case 2:
        setClipboardText(m_text1->toPlainText());
        break;
    default:
        break;
    }
}

void OVEKMark::Command2_Click()
{
    CommandGuard::Scope scope(m_guard);
    if (!scope)
        return;
    RosterCommand command(m_session, m_navigator, m_browsers, *m_pacer, *this);
    command.run();
}

void OVEKMark::Command4_Click()
{
    m_session.allianceId = TextSearch::removeAll(m_session.allianceId, QStringLiteral("/"));
    PlotterLauncher launcher(m_session.appDir, m_plotterProgram);
    const QString rosterName = launcher.rosterName(m_session.allianceId);
    if (!launcher.rosterExists(rosterName)) {
        showMessage(QStringLiteral("同盟員名簿を作成してから、実行してください。"), QStringLiteral("注意"),
                    Icon::Information);
        return;
    }
    // Without the plotter beside the tool nothing would happen on the click;
    // say where it is expected instead.
    if (!launcher.programExists()) {
        showMessage(QStringLiteral("分布図プログラム（%1）が見つかりません。\r\n"
                                   "ovekwarden と同じフォルダに置いてから、もう一度実行してください。")
                        .arg(m_plotterProgram),
                    QStringLiteral("注意"), Icon::Warning);
        return;
    }
    showMinimized();
    m_pump.yieldOnce();
    if (!launcher.start(rosterName)) {
        showNormal();
        showMessage(QStringLiteral("分布図プログラムを起動できませんでした。"), QStringLiteral("注意"),
                    Icon::Warning);
    }
}

void OVEKMark::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept();
}

void OVEKMark::Form_QueryUnload()
{
    // quit() never throws: a browser the user already closed is simply let go.
    m_browsers.quit();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

QString OVEKMark::outputText() const
{
    return m_text1->toPlainText();
}

void OVEKMark::setOutputText(const QString &text)
{
    m_text1->setPlainText(text);
}

void OVEKMark::showMessage(const QString &text, const QString &title, Icon icon)
{
    const QMessageBox::Icon boxIcon = icon == Icon::Information ? QMessageBox::Information
                                      : icon == Icon::Warning   ? QMessageBox::Warning
                                                                : QMessageBox::Critical;
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, this);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

void OVEKMark::beginHourglass()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void OVEKMark::endHourglass()
{
    QApplication::restoreOverrideCursor();
}

void OVEKMark::showProgress(const QString &text)
{
    // The caption carries the progress: Text1 keeps only the report itself.
    setWindowTitle(text.isEmpty() ? m_caption : m_caption + QStringLiteral(" - ") + text);
}

void OVEKMark::setClipboardText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (!text.isEmpty())
        clipboard->setText(text);
}
