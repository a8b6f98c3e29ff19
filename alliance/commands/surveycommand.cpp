#include "alliance/commands/surveycommand.h"

#include "alliance/rules/memberoutputs.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/memberwalk.h"
#include "alliance/walk/toolport.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "site/profilereaders.h"
#include "site/session.h"

namespace {

// What one profile page gave each of the three outputs; kept across the
// loads of the page, so a part that showed once is not lost to a later
// load that came without it.
struct ProfileParts
{
    std::optional<QString> coordinates;
    std::optional<LordProfile> profile;
    BranchCastles::ProfileCastle castle;

    bool complete() const
    {
        return coordinates && profile && castle.kind != BranchCastles::ProfileCastle::Kind::NotLoaded;
    }
};

// The walk's reader of one load of a profile: what it shows of each part
// still missing; the first part still missing names the mark.
PageMark::Read readParts(ProfileParts &part, const Document &page)
{
    if (!part.coordinates)
        part.coordinates = homeCastleCoordinates(page);
    if (!part.profile) {
        // An empty population: the page was no whole profile yet.
        if (LordProfile profile = ReadLordProfile(page); !profile.population.isEmpty())
            part.profile = profile;
    }
    if (part.castle.kind == BranchCastles::ProfileCastle::Kind::NotLoaded)
        part.castle = BranchCastles::readBranchCastle(page);
    if (!part.coordinates)
        return PageMark::Read::lacking(kHomeCastleMark);
    if (!part.profile)
        return PageMark::Read::lacking(kPopulationMark);
    return PageMark::Read::of(part.complete(), BranchCastles::kFiefSectionMark);
}

// The parts of every member, one list an output.
struct Readings
{
    QList<std::optional<QString>> coordinates;
    QList<std::optional<LordProfile>> profiles;
    QList<BranchCastles::ProfileCastle> castles;
};

Readings readingsOf(const QList<ProfileParts> &parts)
{
    Readings readings;
    for (const ProfileParts &part : parts) {
        readings.coordinates << part.coordinates;
        readings.profiles << part.profile;
        readings.castles << part.castle;
    }
    return readings;
}

// Each member once, whatever part of the page was missing; the outputs
// name them again where they are incomplete.
QString leftOutMessage(const MemberWalk &walk)
{
    return QStringLiteral("次の同盟員は、プロフィールを最後まで読めませんでした。\r\n\r\n") +
           walk.leftOut().join(QStringLiteral("\r\n")) +
           QStringLiteral(
               "\r\n\r\n名簿には前回の名簿の座標を使い、前回の名簿にもいない同盟員は入れていません。"
               "同盟データと出城リストは、読めなかった同盟員をそれぞれの末尾に記しています。\r\n\r\n"
               "時間をおいて、もう一度「一括調査」を実行してください。") +
           walk.explanations();
}

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

QString SurveyCommand::heading(const QString &output)
{
    return QStringLiteral("■■■ %1 ■■■\r\n").arg(output);
}

std::optional<SurveyCommand::Outputs> SurveyCommand::outputsOf(const QString &text)
{
    const QString rosterHeading = heading(QStringLiteral("同盟名簿"));
    const QString reportHeading = QStringLiteral("\r\n") + heading(QStringLiteral("同盟データ"));
    const QString castlesHeading = QStringLiteral("\r\n") + heading(QStringLiteral("出城リスト"));
    const qsizetype report = text.indexOf(reportHeading);
    const qsizetype castles = text.indexOf(castlesHeading, report + 1);
    if (!text.startsWith(rosterHeading) || report < 0 || castles < 0)
        return std::nullopt;
    return Outputs{text.mid(rosterHeading.size(), report - rosterHeading.size()),
                   text.mid(report + reportHeading.size(), castles - report - reportHeading.size()),
                   text.mid(castles + castlesHeading.size())};
}

SurveyCommand::SurveyCommand(CommandContext &context, const Clock &clock, QString populationStepText,
                             QString meritStepText)
    : m_context(context), m_clock(clock), m_populationStepText(std::move(populationStepText)),
      m_meritStepText(std::move(meritStepText))
{
}

void SurveyCommand::tell(const QString &text) const
{
    m_context.port.showMessage(text, QStringLiteral("注意"), ToolPort::Icon::Warning);
}

void SurveyCommand::run()
{
    const QString &allianceId = m_context.session.cleanAllianceId();
    // The steps are checked before any page is loaded, as the report does.
    const ReportRequest request = reportRequest(allianceId, m_populationStepText, m_meritStepText);
    if (!request.refusal.isEmpty()) {
        tell(request.refusal);
        return;
    }
    m_context.port.setOutputText(QString());

    MemberWalk walk(m_context, kLabel);
    const QList<Member> members = walk.readMembers(allianceId);
    m_memberCount = members.size();
    QList<ProfileParts> parts(members.size());
    walk.visitProfiles(members,
                       [&parts](const Document &page, qsizetype i) { return readParts(parts[i], page); });
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
    m_context.port.setOutputText(heading(QStringLiteral("同盟名簿")) + roster.text + QStringLiteral("\r\n") +
                                 heading(QStringLiteral("同盟データ")) + reportText + QStringLiteral("\r\n") +
                                 heading(QStringLiteral("出城リスト")) + castleList.text);
    m_reportedAllianceId = allianceId;

    // Saved before any message box: the user may close the program while one is up.
    const DataFile::Result written = DataFile::writeText(path, roster.text);
    if (written)
        m_savedFile = RosterFile::fileName(allianceId);
    else
        m_saveFailure = written.error;

    HistoryRecording::recordRun(m_context, kLabel, surveySnapshot(allianceId, members, readings));

    if (!written)
        tell(MemberOutputs::rosterUnsaved(written.error));
    if (!walk.leftOut().isEmpty())
        tell(leftOutMessage(walk));
    if (report.barsCut())
        tell(AllianceReport::barsCutMessage());
}
