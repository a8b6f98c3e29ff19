#include "alliance/commands/commandtable.h"

#include "alliance/commands/activitycommand.h"
#include "alliance/commands/alliancereportcommand.h"
#include "alliance/commands/branchcastlecommand.h"
#include "alliance/commands/briefingcommand.h"
#include "alliance/commands/pagecheckcommand.h"
#include "alliance/commands/rankingcommand.h"
#include "alliance/commands/replycheckercommand.h"
#include "alliance/commands/rostercommand.h"
#include "alliance/commands/surveycommand.h"
#include "alliance/rules/replychecker.h"
#include "alliance/rules/surveyoutputs.h"
#include "alliance/walk/toolwindowlayout.h"

namespace {

// Runs the command and hands on what it says it left, where it has them:
// the members it walked, its file, its report's alliance, the members its
// result names for a letter.
template <typename Command> void runAndTell(Command &&command, CommandResult &result)
{
    command.run();
    if constexpr (requires { command.memberCount(); })
        result.memberCount = command.memberCount();
    if constexpr (requires { command.addressees(); })
        result.addressees = command.addressees();
    if constexpr (requires { command.unreadPages(); })
        result.unreadPages = command.unreadPages();
    if constexpr (requires { command.savedFile(); })
        result.savedFile = command.savedFile();
    if constexpr (requires { command.saveFailure(); })
        result.saveFailure = command.saveFailure();
    if constexpr (requires { command.reportedAllianceId(); })
        result.reportedAllianceId = command.reportedAllianceId();
}

} // namespace

namespace CommandTable {

const QList<CommandEntry> &commands()
{
    using Output = CommandEntry::Output;
    using Runs = CommandEntry::Runs;
    static const QList<CommandEntry> table{
        {QStringLiteral("roster"), RosterCommand::kLabel, QStringLiteral("Command2"), Output::OwnFile,
         Runs::AlsoWithoutWindow,
         [](CommandRun &run) { runAndTell(RosterCommand(run.context), run.result); }},
        {QStringLiteral("castles"), kBranchCastlesLabel, QStringLiteral("Command3"), Output::Text,
         Runs::AlsoWithoutWindow,
         [](CommandRun &run) { run.result.memberCount = ListBranchCastles(run.context, run.clock); }},
        {QStringLiteral("activity"), ActivityCommand::kLabel, QStringLiteral("Command5"), Output::OwnFile,
         Runs::AlsoWithoutWindow,
         [](CommandRun &run) { runAndTell(ActivityCommand(run.context, run.clock), run.result); }},
        {QStringLiteral("report"), AllianceReportCommand::kLabel, QStringLiteral("Command7"), Output::Text,
         Runs::AlsoWithoutWindow,
         [](CommandRun &run) {
             runAndTell(AllianceReportCommand(run.context, run.clock, run.inputs.allianceIdText,
                                              run.inputs.populationStepText, run.inputs.meritStepText),
                        run.result);
         }},
        {QStringLiteral("survey"),
         SurveyCommand::kLabel,
         QStringLiteral("mnuSurvey"),
         Output::OwnFileAndText,
         Runs::AlsoWithoutWindow,
         [](CommandRun &run) {
             runAndTell(SurveyCommand(run.context, run.clock, run.inputs.populationStepText,
                                      run.inputs.meritStepText),
                        run.result);
         },
         QStringLiteral("Ctrl+Shift+A"),
         {},
         SurveyOutputs::csvSections},
        {QStringLiteral("replies"),
         ReplyCheckCommand::kLabel,
         QStringLiteral("Command8"),
         Output::Text,
         Runs::AlsoWithoutWindow,
         [](CommandRun &run) {
             runAndTell(ReplyCheckCommand(run.context, run.inputs.keywordBox), run.result);
         },
         {},
         [](CommandInputs &inputs) { inputs.keywordBox = ReplyChecker::trimmedKeyword(inputs.keywordBox); }},
        {QStringLiteral("ranking"), RankingCommand::kLabel, QStringLiteral("Combo1"), Output::Text,
         Runs::AlsoWithoutWindow,
         [](CommandRun &run) {
             RankingCommand(run.context, run.inputs.band, run.inputs.category, run.inputs.compareWithSaved)
                 .run();
             run.result.offersSaving = true;
         }},
        {QStringLiteral("briefing"), BriefingCommand::kLabel, QStringLiteral("mnuBriefing"), Output::Text,
         Runs::AlsoWithoutWindow, [](CommandRun &run) { BriefingCommand(run.context, run.clock).run(); }},
        {QStringLiteral("check-pages"), PageCheckCommand::kLabel, QStringLiteral("mnuCheckPages"),
         Output::PrintedText, Runs::AlsoWithoutWindow,
         [](CommandRun &run) { runAndTell(PageCheckCommand(run.context, run.clock), run.result); }},
    };
    return table;
}

const CommandEntry *find(const QString &key)
{
    for (const CommandEntry &command : commands()) {
        if (command.key == key)
            return &command;
    }
    return nullptr;
}

QStringList unattendedKeys()
{
    QStringList found;
    for (const CommandEntry &command : commands()) {
        if (command.runs == CommandEntry::Runs::AlsoWithoutWindow)
            found.append(command.key);
    }
    return found;
}

QStringList readingKeys()
{
    QStringList found;
    for (const QString &key : unattendedKeys()) {
        if (find(key)->output != CommandEntry::Output::PrintedText)
            found.append(key);
    }
    return found;
}

CommandInputs defaultInputs()
{
    // One source for the defaults: the controls as the window is built.
    const auto defaultText = [](const QString &control) {
        for (const DesignedControl &designed : ToolWindowLayout::controls()) {
            if (designed.name == control)
                return designed.caption;
        }
        return QString();
    };
    CommandInputs inputs;
    inputs.allianceIdText = defaultText(QStringLiteral("Text2"));
    inputs.populationStepText = defaultText(QStringLiteral("Text3(0)"));
    inputs.meritStepText = defaultText(QStringLiteral("Text3(1)"));
    inputs.keywordBox = defaultText(QStringLiteral("Text4"));
    return inputs;
}

} // namespace CommandTable
