#include "alliance/commandtable.h"

#include "alliance/activitycommand.h"
#include "alliance/alliancereportcommand.h"
#include "alliance/branchcastlecommand.h"
#include "alliance/rankingcommand.h"
#include "alliance/replycheckercommand.h"
#include "alliance/rostercommand.h"

namespace CommandTable {

const QList<CommandSpec> &commands()
{
    static const QList<CommandSpec> table{
        {QStringLiteral("roster"), RosterCommand::kLabel, QStringLiteral("Command2"),
         [](CommandRun &run) { RosterCommand(run.context).run(); }},
        {QStringLiteral("castles"), kBranchCastlesLabel, QStringLiteral("Command3"),
         [](CommandRun &run) { ListBranchCastles(run.context, run.clock); }},
        {QStringLiteral("activity"), ActivityCommand::kLabel, QStringLiteral("Command5"),
         [](CommandRun &run) { ActivityCommand(run.context, run.clock).run(); }},
        {QStringLiteral("report"), AllianceReportCommand::kLabel, QStringLiteral("Command7"),
         [](CommandRun &run) {
             AllianceReportCommand command(run.context, run.clock, run.inputs.allianceIdText,
                                           run.inputs.populationStepText, run.inputs.meritStepText);
             command.run();
             run.result.reportedAllianceId = command.reportedAllianceId();
         }},
        {QStringLiteral("replies"), ReplyCheckCommand::kLabel, QStringLiteral("Command8"),
         [](CommandRun &run) { ReplyCheckCommand(run.context, run.inputs.keywordBox).run(); }},
        {QStringLiteral("ranking"), RankingCommand::kLabel, QStringLiteral("Combo1"),
         [](CommandRun &run) {
             RankingCommand(run.context, run.inputs.band, run.inputs.category, run.inputs.compareWithSaved)
                 .run();
         }},
    };
    return table;
}

const CommandSpec *find(const QString &key)
{
    for (const CommandSpec &command : commands()) {
        if (command.key == key)
            return &command;
    }
    return nullptr;
}

} // namespace CommandTable
