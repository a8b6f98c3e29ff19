#pragma once

#include "alliance/commandguard.h"
#include "alliance/toolport.h"

#include <QWidget>

class BrowserSlot;
class Navigator;
class Pump;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TimerPacer;
struct Session;

// The alliance tool window 「同盟管理ツール」: the buttons of every alliance
// command, the shared output box Text1, and the pacing timer. Thin: each
// handler hands its work to a command object with this window as its port.
class OVEKMark : public QWidget, public ToolPort
{
    Q_OBJECT
public:
    OVEKMark(Session &session, BrowserSlot &browsers, Navigator &navigator, Pump &pump,
             QWidget *parent = nullptr);
    ~OVEKMark() override;

    void Form_Load();

    // ToolPort
    QString outputText() const override;
    void setOutputText(const QString &text) override;
    void showMessage(const QString &text, const QString &title, Icon icon) override;
    void beginHourglass() override;
    void endHourglass() override;
    void showProgress(const QString &text) override;
    void setClipboardText(const QString &text) override;

    // The plotter program; tests point it elsewhere.
    void setPlotterProgram(const QString &path) { m_plotterProgram = path; }
    TimerPacer &pacer() { return *m_pacer; }
    CommandGuard &guard() { return m_guard; }

    void Command1_Click(int index);
    void Command2_Click();
    void Command4_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void Form_QueryUnload();
    void setBrowserCommandsEnabled(bool enabled);
    QString archiveFileOfFirstCategory() const;

    Session &m_session;
    BrowserSlot &m_browsers;
    Navigator &m_navigator;
    Pump &m_pump;
    TimerPacer *m_pacer = nullptr;
    CommandGuard m_guard;
    QString m_plotterProgram;
    QString m_caption;

    QPushButton *m_command1[3] = {};
    QPushButton *m_command2 = nullptr;
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command4 = nullptr;
    QPushButton *m_command5 = nullptr;
    QPushButton *m_command6 = nullptr;
    QPushButton *m_command7 = nullptr;
    QPushButton *m_command8 = nullptr;
    QPushButton *m_command9 = nullptr;
    QPlainTextEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QLineEdit *m_text3[2] = {};
    QLineEdit *m_text4 = nullptr;
    QListWidget *m_list1 = nullptr;
    QComboBox *m_combo1 = nullptr;
    QRadioButton *m_option1[4] = {};
    QCheckBox *m_check1 = nullptr;
    QGroupBox *m_frame1 = nullptr;
    QGroupBox *m_frame2 = nullptr;
};
