#pragma once

#include "alliance/rules/branchcastle.h"
#include "site/pagemark.h"
#include "site/profilereaders.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Document;

// What the survey reads of each profile page and how its Text1 holds the
// roster, the report and the castle list one below another.
namespace SurveyOutputs {

// What one profile page gave each of the three outputs; kept across the
// loads of the page, so a part that showed once is not lost to a later
// load that came without it.
struct ProfileParts
{
    std::optional<QString> coordinates;
    std::optional<LordProfile> profile;
    BranchCastles::ProfileCastle castle;

    bool complete() const;
    // Takes what this load shows of each part still missing; the first
    // part still missing names the walk's mark.
    PageMark::Read read(const Document &page);
};

// The parts of every member, one list an output.
struct Readings
{
    QList<std::optional<QString>> coordinates;
    QList<std::optional<LordProfile>> profiles;
    QList<BranchCastles::ProfileCastle> castles;
};
Readings readingsOf(const QList<ProfileParts> &parts);

// The heading line above each output in Text1.
QString heading(const QString &output);

// The three outputs of a survey's Text1, as their commands would show
// them; nothing when the text is no survey.
struct Outputs
{
    QString roster;
    QString report;
    QString castles;
};
QString text(const Outputs &outputs);
std::optional<Outputs> outputsOf(const QString &text);
// The parts of a survey's Text1 that 「CSVで保存…」 offers: the roster and
// the report; none for a text that is no survey.
QStringList csvSections(const QString &text);

// Each member once, whatever part of the page was missing; the outputs
// name them again where they are incomplete.
QString leftOutMessage(const QStringList &leftOut, const QString &explanations);

} // namespace SurveyOutputs
