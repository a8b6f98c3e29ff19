#include "alliance/rules/surveyoutputs.h"

#include "site/document.h"

namespace SurveyOutputs {

bool ProfileParts::complete() const
{
    return coordinates && profile && castle.kind != BranchCastles::ProfileCastle::Kind::NotLoaded;
}

PageMark::Read ProfileParts::read(const Document &page)
{
    if (!coordinates)
        coordinates = homeCastleCoordinates(page);
    if (!profile) {
        // An empty population: the page was no whole profile yet.
        if (LordProfile read = ReadLordProfile(page); !read.population.isEmpty())
            profile = read;
    }
    if (castle.kind == BranchCastles::ProfileCastle::Kind::NotLoaded)
        castle = BranchCastles::readBranchCastle(page);
    if (!coordinates)
        return PageMark::Read::lacking(kHomeCastleMark);
    if (!profile)
        return PageMark::Read::lacking(kPopulationMark);
    return PageMark::Read::of(complete(), BranchCastles::kFiefSectionMark);
}

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

QString heading(const QString &output)
{
    return QStringLiteral("■■■ %1 ■■■\r\n").arg(output);
}

QString text(const Outputs &outputs)
{
    return heading(QStringLiteral("同盟名簿")) + outputs.roster + QStringLiteral("\r\n") +
           heading(QStringLiteral("同盟データ")) + outputs.report + QStringLiteral("\r\n") +
           heading(QStringLiteral("出城リスト")) + outputs.castles;
}

std::optional<Outputs> outputsOf(const QString &text)
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

QStringList csvSections(const QString &text)
{
    const std::optional<Outputs> survey = outputsOf(text);
    return survey ? QStringList{survey->roster, survey->report} : QStringList();
}

QString leftOutMessage(const QStringList &leftOut, const QString &explanations)
{
    return QStringLiteral("次の同盟員は、プロフィールを最後まで読めませんでした。\r\n\r\n") +
           leftOut.join(QStringLiteral("\r\n")) +
           QStringLiteral(
               "\r\n\r\n名簿には前回の名簿の座標を使い、前回の名簿にもいない同盟員は入れていません。"
               "同盟データと出城リストは、読めなかった同盟員をそれぞれの末尾に記しています。\r\n\r\n"
               "時間をおいて、もう一度「一括調査」を実行してください。") +
           explanations;
}

} // namespace SurveyOutputs
