#include "alliance/commands/rostercommand.h"

#include "alliance/rules/memberoutputs.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/memberwalk.h"
#include "alliance/walk/toolport.h"
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "site/profilereaders.h"
#include "site/session.h"

#include <optional>

void RosterCommand::run()
{
    m_carriedOver.clear();
    m_leftOut.clear();
    m_memberCount = -1;
    m_savedFile.clear();
    m_saveFailure.clear();
    const QString &allianceId = m_context.session.cleanAllianceId();
    m_context.port.setOutputText(QString());

    MemberWalk walk(m_context, kLabel);
    const QList<Member> members = walk.readMembers(allianceId);
    m_memberCount = members.size();
    QList<std::optional<QString>> coordinates(members.size());
    walk.visitProfiles(members, [&](const Document &profile, qsizetype i) {
        coordinates[i] = homeCastleCoordinates(profile);
        return PageMark::Read::of(coordinates.at(i).has_value(), kHomeCastleMark);
    });

    const QString path = m_context.session.appDir + RosterFile::fileName(allianceId);
    const MemberOutputs::Roster roster = MemberOutputs::roster(
        members, coordinates, [&] { return PreviousRoster::fromEntries(RosterFile::read(path).entries); });
    m_carriedOver = roster.carriedOver;
    m_leftOut = roster.leftOut;
    const QString &text = roster.text;
    m_context.port.setOutputText(text);

    const DataFile::Result written = DataFile::writeText(path, text);
    if (written) {
        m_savedFile = RosterFile::fileName(allianceId);
    } else {
        m_saveFailure = written.error;
        m_context.port.warn(MemberOutputs::rosterUnsaved(written.error));
    }
    recordHistory(allianceId, members, coordinates);
    tellUnread(walk.explanations());
}

void RosterCommand::recordHistory(const QString &allianceId, const QList<Member> &members,
                                  const QList<std::optional<QString>> &coordinates) const
{
    // Every member of the table is in the snapshot, so one whose profile
    // never showed is not taken for one who left; coordinates carried over
    // from the previous roster were not read by this run and stay empty.
    Snapshot snapshot = HistoryRecording::tableSnapshot(History::Kinds::roster.key, allianceId, members);
    for (qsizetype i = 0; i < members.size(); ++i)
        HistoryRecording::setCoordinates(snapshot.members[i], coordinates.at(i).value_or(QString()));
    HistoryRecording::recordRun(m_context, kLabel, snapshot);
}

void RosterCommand::tellUnread(const QString &explanations) const
{
    if (!m_carriedOver.isEmpty() || !m_leftOut.isEmpty())
        m_context.port.warn(UnreadMembers::rosterMessage(m_carriedOver, m_leftOut) + explanations);
}
