#include "alliance/commands/alliancereportcommand.h"

#include "alliance/rules/alliancereport.h"
#include "alliance/rules/memberoutputs.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/memberwalk.h"
#include "alliance/walk/toolport.h"
#include "common/clock.h"
#include "common/readfailure.h"
#include "site/profilereaders.h"

AllianceReportCommand::AllianceReportCommand(CommandContext &context, const Clock &clock,
                                             QString allianceIdText, QString populationStepText,
                                             QString meritStepText)
    : m_context(context), m_clock(clock), m_allianceIdText(std::move(allianceIdText)),
      m_populationStepText(std::move(populationStepText)), m_meritStepText(std::move(meritStepText))
{
}

void AllianceReportCommand::run()
{
    // Everything the user typed is checked before any page is loaded; a
    // refusal leaves Text1 and List1 as they were.
    const ReportRequest request = reportRequest(m_allianceIdText, m_populationStepText, m_meritStepText);
    if (!request.refusal.isEmpty()) {
        m_context.port.warn(request.refusal);
        return;
    }
    const QString &allianceId = request.allianceId;

    MemberWalk walk(m_context, kLabel);
    QList<Member> members;
    try {
        members = walk.readMembers(allianceId);
    } catch (const ReadFailure &failure) {
        // An id of no alliance shows a page without the member table.
        m_context.port.warn(
            QStringLiteral("同盟ID %1 の同盟員一覧を読めませんでした。同盟IDを確かめてください。\r\n\r\n")
                .arg(allianceId) +
            failure.message());
        return;
    }
    m_context.port.setOutputText(QString());

    Snapshot snapshot = HistoryRecording::tableSnapshot(History::Kinds::report.key, allianceId, members);
    QList<std::optional<LordProfile>> profiles(members.size());
    walk.visitProfiles(members, [&](const Document &page, qsizetype i) {
        const LordProfile profile = ReadLordProfile(page);
        // An empty population means the page was no profile yet: it is
        // loaded again, and after the walk's last try left out and named.
        if (profile.population.isEmpty())
            return PageMark::Read::lacking(kPopulationMark);
        profiles[i] = profile;
        HistoryRecording::setProfile(snapshot.members[i], profile);
        return PageMark::Read::done();
    });
    const AllianceReport report =
        MemberOutputs::report(members, profiles, request.populationStep, request.meritStep);

    m_context.port.setListItems(MemberOutputs::reportListItems(members));
    m_context.port.setOutputText(report.text({m_clock.todayText(), m_populationStepText, m_meritStepText,
                                              static_cast<qsizetype>(members.size())}));
    m_reportedAllianceId = allianceId;
    m_memberCount = members.size();
    // Before any message box: the run is complete once the report shows.
    HistoryRecording::recordRun(m_context, kLabel, snapshot);

    walk.tellLeftOut(
        QStringLiteral("次の同盟員は、プロフィールを読めなかったため、レポートの集計に入っていません。"));
    if (report.barsCut())
        m_context.port.warn(AllianceReport::barsCutMessage());
}
