#pragma once

#include "site/pagemark.h"

#include <QList>
#include <QString>
#include <functional>

class Document;
class ReadFailure;
struct WorldConfig;

// What the page check makes of each family's page: the readers' verdict
// on one page, and the table of every page's verdict.
namespace PageChecks {

// What each family's reader lacked on the page; read, when nothing.
PageMark::Read profile(const Document &page);
PageMark::Read ranking(const Document &page, const QString &allianceId, int category);
PageMark::Read inbox(const Document &page);
PageMark::Read letter(const Document &page);
// One page the check loads, and its reader.
struct Check
{
    QString address;
    QString name;
    PageMark::Family family;
    std::function<PageMark::Read(const Document &)> read;
};
// The pages after the alliance page's: memberId's profile (none when the
// alliance page gave no member), the first page of every ranking category,
// the inbox and the new-letter page.
QList<Check> checksAfterAlliance(const WorldConfig &world, const QString &allianceId,
                                 const QString &memberId);

// A reader that failed on the page: a mark there but what follows it made
// otherwise.
PageMark::Read failed(const ReadFailure &failure);

struct Verdict
{
    QString pageName;
    PageMark::Read read;
    // Without a member there is no profile to look at.
    bool checked = true;
};
// Text1: the heading line, a line a page, then each explanation of the
// walk's (each starting with an empty line) after one empty line.
QString table(const QString &heading, const QList<Verdict> &verdicts, const QString &explanations);

} // namespace PageChecks
