#pragma once

#include "composer/composerport.h"

#include <QStringList>

// A composer window that only writes down what the rules did to it.
class RecordingComposerPort : public ComposerPort
{
public:
    QString body() const override { return text1; }
    void setBody(const QString &text) override { text1 = text; }
    QString subject() const override { return text2; }
    void setSubject(const QString &text) override { text2 = text; }
    QString addressees() const override { return text3; }
    void setAddressees(const QString &text) override { text3 = text; }
    void setAddresseeList(const QStringList &names) override { list1 = names; }
    QStringList additionalAddressees() const override { return combo2; }
    void appendAdditionalAddressees(const QStringList &names) override { combo2 += names; }
    void setSavedLetters(const QStringList &names) override { combo1 = names; }
    QStringList savedLetters() const override { return combo1; }
    int selectedSavedLetter() const override { return selected; }
    void appendSavedLetter(const QString &name) override { combo1.append(name); }
    void removeSavedLetter(int index) override
    {
        combo1.removeAt(index);
        selected = -1;
    }
    void showMessage(const QString &text) override { messages.append(text); }
    bool askYesNo(const QString &text) override
    {
        questions.append(text);
        return answerYes;
    }
    QString clipboardText() const override { return clipboard; }
    void setPageCommandsEnabled(bool enabled) override { pageCommandsEnabled = enabled; }

    QString text1, text2, text3;
    QStringList list1, combo1, combo2;
    int selected = -1;
    QStringList messages, questions;
    bool answerYes = true;
    QString clipboard;
    bool pageCommandsEnabled = true;
};
