#pragma once

#include "composer/composer.h"
#include "composer/composercontext.h"
#include "composer/composerport.h"
#include "composer/composerstate.h"

#include <QHash>
#include <QWidget>
#include <optional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The letter composer 「新規書状作成」: a topmost window beside the browser.
// Thin: it lays out its controls from the design table and forwards each
// event to the composer's rules, with itself as their port.
class Form2 : public QWidget, public ComposerPort
{
    Q_OBJECT
public:
    Form2(ComposerContext context, ComposerState &state, QWidget *parent = nullptr);
    ~Form2() override;

    // What the tool window's "書状新規作成" does: opens the composer when
    // it is closed, and only brings it to the front when it is open.
    void showComposer();
    // 「この人たちに書状を書く」: opens the composer, or brings it to the front
    // and loads the letter page again, with all those names in 宛名. The
    // caller tells the user of rosterNotice first, over its own window.
    void writeTo(const QStringList &names);
    QString rosterNotice(const QStringList &names) const { return m_composer.rosterNotice(names); }
    void Form_Load();

    void List1_Click();
    void Combo2_Click(int index);
    void Command1_Click();
    void Command2_Click(int index);
    void Command3_Click();
    void Command4_Click();
    void Command5_Click(int index);
    void Command6_Click();
    void Command8_Click();
    void Command9_Click();

    bool extraListShown() const { return m_composer.extraListShown(); }

    // ComposerPort
    QString body() const override;
    void setBody(const QString &text) override;
    QString subject() const override;
    void setSubject(const QString &text) override;
    QString addressees() const override;
    void setAddressees(const QString &text) override;
    void setAddresseeList(const QStringList &names) override;
    QStringList additionalAddressees() const override;
    void appendAdditionalAddressees(const QStringList &names) override;
    void setSavedLetters(const QStringList &names) override;
    QStringList savedLetters() const override;
    int selectedSavedLetter() const override;
    void appendSavedLetter(const QString &name) override;
    void removeSavedLetter(int index) override;
    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;
    QString clipboardText() const override;
    void setPageCommandsEnabled(bool enabled) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void bringToFront();
    // Opening, with the names of a list in 宛名 when there is one.
    void openWith(const std::optional<QStringList> &list);
    // Closing with the close box changes nothing that is remembered.
    void Form_QueryUnload() {}
    template <typename W> W *control(const QString &name) const;
    static void appendKeepingSelection(QComboBox *combo, const QStringList &items);

    ComposerContext m_context;
    Composer m_composer;
    bool m_opening = false;
    bool m_opened = false; // the caption is the composer's own from the first opening on

    QHash<QString, QWidget *> m_controls;
    QPlainTextEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QLineEdit *m_text3 = nullptr;
    QListWidget *m_list1 = nullptr;
    QComboBox *m_combo1 = nullptr;
    QComboBox *m_combo2 = nullptr;
};
