#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Clock;
struct CommandContext;

// What a command takes from the user besides the game: the inputs of the
// tool window's controls, or of the command line.
struct CommandInputs
{
    QString allianceIdText = {};     // 「同盟ID」 (Text2), the report's alliance
    QString populationStepText = {}; // 「区切 人口」 (Text3(0))
    QString meritStepText = {};      // 「戦功」 (Text3(1))
    QString keywordBox = {};         // 「キーワード」 (Text4), the reply check's keyword
    int band = 0;                    // the ranking band (Combo1 index)
    int category = 0;                // the ranking category (Option1 index)
    bool compareWithSaved = false;   // 「保存データを参考にする」 (Check1)
};

// What a run leaves for its caller besides Text1 and the files.
struct CommandResult
{
    QString reportedAllianceId = {}; // the report's alliance, as it went into the address
    qsizetype memberCount = -1;      // the members the walk found; -1: it found none
    QString savedFile = {};          // the data file the command replaced (its name in AppDir)
    // Why its data file could not be replaced, in the file helper's words
    // (they name the file); the previous one stays.
    QString saveFailure = {};
    // The members the result names for a letter (who did not reply, who
    // stopped playing), in the result's order; empty for other results.
    QStringList addressees = {};
    // Pages the command looked at and could not read (the page check).
    qsizetype unreadPages = 0;
    // The result can be kept with 「データ保存」 (a ranking extraction): the
    // window puts the focus there.
    bool offersSaving = false;
};

// Everything one run of a command is handed.
struct CommandRun
{
    CommandContext &context;
    const Clock &clock;
    const CommandInputs &inputs;
    CommandResult &result;
};

// A command of the tool window, declared once: the name it is run by (the
// command line's word), its label (caption, progress, messages, history),
// the control that starts it in the tool window, and its body.
struct CommandEntry
{
    // What a run leaves behind: a data file of its own (the roster), only
    // the text of Text1 (the report), which a run from the command line
    // saves as a file, or both (the survey); or a text that a run from the
    // command line prints instead (the page check's table).
    enum class Output { OwnFile, Text, OwnFileAndText, PrintedText };
    // Where it may run: from the window, and from the command line
    // (`--run`), or only from the window (one that needs the user at the
    // window while it runs).
    enum class Runs { AlsoWithoutWindow, InWindowOnly };

    QString key;
    QString label;
    // A designed control, or a context-menu entry ("mnu…") for a command
    // that came after the window's design.
    QString control;
    Output output;
    Runs runs;
    std::function<void(CommandRun &)> body;
    // The context-menu entry's shortcut ("Ctrl+Shift+A"); none when empty.
    QString shortcut = {};
    // The inputs as the command uses them, shown back in the window's
    // controls before it runs (the keyword without blanks at its ends).
    std::function<void(CommandInputs &)> tidyInputs = {};
    // The parts of a Text1 of its making that 「CSVで保存…」 offers one
    // after another (the survey's roster and report); none for a text it
    // did not make, or when the whole text is the one part.
    std::function<QStringList(const QString &text)> csvSections = {};
};
