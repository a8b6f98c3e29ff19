#include "alliance/commands/surveycommand.h"

#include "alliance/rules/memberoutputs.h"
#include "alliance/rules/surveyoutputs.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/memberwalk.h"
#include "alliance/walk/toolport.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "site/profilereaders.h"
#include "site/session.h"

using namespace SurveyOutputs;

namespace {

// One snapshot of the survey with every reading of every member.
Snapshot surveySnapshot(const QString &allianceId, const QList<Member> &members, const Readings &readings)
{
    Snapshot snapshot = HistoryRecording::tableSnapshot(History::Kinds::survey.key, allianceId, members);
    for (qsizetype i = 0; i < members.size(); ++i) {
        HistoryRecording::setCoordinates(snapshot.members[i], readings.coordinates.at(i).value_or(QString()));
        if (readings.profiles.at(i))
            HistoryRecording::setProfile(snapshot.members[i], *readings.profiles.at(i));
    }
    return snapshot;
}

} // namespace

void SurveyCommand::run()
{
    const QString &allianceId = m_context.session.cleanAllianceId();
    // The steps are checked before any page is loaded, as the report does.
    const ReportRequest request = reportRequest(allianceId, m_populationStepText, m_meritStepText);
    if (!request.refusal.isEmpty()) {
        m_context.port.warn(request.refusal);
        return;
    }
    m_context.port.setOutputText(QString());

    MemberWalk walk(m_context, kLabel);
    const QList<Member> members = walk.readMembers(allianceId);
    m_memberCount = members.size();
    QList<ProfileParts> parts(members.size());
    walk.visitProfiles(members, [&parts](const Document &page, qsizetype i) { return parts[i].read(page); });
    const Readings readings = readingsOf(parts);
    const QString path = m_context.session.appDir + RosterFile::fileName(allianceId);
    const MemberOutputs::Roster roster = MemberOutputs::roster(members, readings.coordinates, [&] {
        return PreviousRoster::fromEntries(RosterFile::read(path).entries);
    });
    const AllianceReport report =
        MemberOutputs::report(members, readings.profiles, request.populationStep, request.meritStep);
    const QString reportText = report.text(
        {m_clock.todayText(), m_populationStepText, m_meritStepText, static_cast<qsizetype>(members.size())});
    const MemberOutputs::CastleList castleList =
        MemberOutputs::castles(members, readings.castles, m_clock.dateTimeText() + QStringLiteral(" 作成"));

    m_context.port.setListItems(MemberOutputs::reportListItems(members));
    m_context.port.setOutputText(text({roster.text, reportText, castleList.text}));
    m_reportedAllianceId = allianceId;

    // Saved before any message box: the user may close the program while one is up.
    const DataFile::Result written = DataFile::writeText(path, roster.text);
    if (written)
        m_savedFile = RosterFile::fileName(allianceId);
    else
        m_saveFailure = written.error;

    HistoryRecording::recordRun(m_context, kLabel, surveySnapshot(allianceId, members, readings));

    if (!written)
        m_context.port.warn(MemberOutputs::rosterUnsaved(written.error));
    if (!walk.leftOut().isEmpty())
        m_context.port.warn(leftOutMessage(walk.leftOut(), walk.explanations()));
    if (report.barsCut())
        m_context.port.warn(AllianceReport::barsCutMessage());
}
