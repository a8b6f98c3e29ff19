#pragma once

#include <QString>
#include <QStringList>

// What the composer's rules may do to its window, so they can run against a
// recording port in tests. Texts cross with CR LF line ends.
class ComposerPort
{
public:
    virtual ~ComposerPort() = default;

    virtual QString body() const = 0; // Text1
    virtual void setBody(const QString &text) = 0;
    virtual QString subject() const = 0; // Text2
    virtual void setSubject(const QString &text) = 0;
    virtual QString addressees() const = 0; // Text3
    virtual void setAddressees(const QString &text) = 0;

    // List1, replacing what it held.
    virtual void setAddresseeList(const QStringList &names) = 0;
    // Combo2: its entries, and more at its end.
    virtual QStringList additionalAddressees() const = 0;
    virtual void appendAdditionalAddressees(const QStringList &names) = 0;

    // Combo1: the saved letters and the selected one (-1: none).
    virtual void setSavedLetters(const QStringList &names) = 0;
    virtual QStringList savedLetters() const = 0;
    virtual int selectedSavedLetter() const = 0;
    virtual void appendSavedLetter(const QString &name) = 0;
    virtual void removeSavedLetter(int index) = 0;

    // Message boxes with the title "注意": OK only, and Yes/No (true: Yes).
    virtual void showMessage(const QString &text) = 0;
    virtual bool askYesNo(const QString &text) = 0;

    virtual QString clipboardText() const = 0;
    // "画面挿入" and "ヘージ再読み込み" are off while the window loads the page.
    virtual void setPageCommandsEnabled(bool enabled) = 0;
};
