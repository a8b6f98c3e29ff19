#pragma once

#include "composer/composercontext.h"
#include "composer/composerport.h"
#include "composer/composerstate.h"
#include "site/browsersteps.h"

// The letter composer's rules: opening, picking addressees, filling the
// game's new-letter page, remembering on close, the roster and extra lists,
// and the saved letters. The window forwards each event here.
class Composer
{
public:
    // The extra addressee list the user keeps by hand, in AppDir; only read.
    static QString extraListFileName() { return QStringLiteral("MailAd追加.txt"); }

    Composer(ComposerContext &context, ComposerState &state, ComposerPort &port);

    // Opening, the window's own part: remembered texts and addressees, the
    // roster in List1, the saved letters in Combo1.
    void fillAtOpening();
    // Loads the new-letter page; a page that cannot be loaded is let be.
    void loadLetterPage();

    // 「この人たちに書状を書く」: the members a result named, all of them in
    // Text3, to be sent three a letter until none is left.
    void takeList(const QStringList &names);
    // What the user is told before the composer opens with those names:
    // the ones the current roster does not hold; empty when all are there.
    QString rosterNotice(const QStringList &names) const;
    // Text3 changed (by the rules or by hand): the caption to show.
    QString addresseesChanged(const QString &field);

    void pick(const QString &name);     // List1_Click, Combo2_Click
    void pourAddressees();              // Command6_Click
    void fillLetterPage();              // Command1_Click
    void clearFields();                 // Command4_Click
    void rememberOnClose(int index);    // Command2_Click, before the window closes
    void openRoster();                  // Command8_Click
    void switchList();                  // Command9_Click
    void savedLetterCommand(int index); // Command5_Click

    bool extraListShown() const { return m_extraListShown; }

private:
    QString appPath(const QString &name) const;
    QString rosterPath() const;
    QString letterPath(const QString &letterName) const;
    QStringList rosterList() const;
    void fillFields(); // SUBJECT, TO, BODY, in that order
    // The one step that loads the letter page, its buttons off meanwhile.
    BrowserSteps::Outcome stepToLetterPage();
    void backOnLetterPageAfterReopen(BrowserSteps::Outcome outcome);

    void loadLetter(int selected);
    void saveLetter(int selected);
    void discardLetter(int selected);

    ComposerContext &m_context;
    ComposerState &m_state;
    ComposerPort &m_port;
    bool m_extraListShown = false;
    // Text3 holds a list handed over by takeList: the last letter's names
    // leave the field too, so an empty field means everyone was written to.
    bool m_workingThroughList = false;
};
