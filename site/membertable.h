#pragma once

#include <QList>
#include <QString>
#include <array>

class Document;

// One member row of an alliance page's member table. No text holds a double
// quote or an ASCII space: the reader drops them from the row.
struct Member
{
    QString userId;
    QString name;
    // The five cells after the name; the fifth without its full-width spaces.
    std::array<QString, 5> cells;

    const QString &points() const { return cells[0]; } // the alliance points
    const QString &fiefCount() const { return cells[3]; }
    // The member's role, as far as the table shows it.
    const QString &tableRole() const { return cells[4]; }

    bool operator==(const Member &) const = default;
};

// The member rows of the page, in table order. A page without the member
// table, or a row without its link and five cells, throws ReadFailure.
// A page without the table names kMemberRowMark as its missing mark.
QList<Member> ReadMemberTable(const Document &alliancePage);
// The markup the member rows are searched in, for the clipboard whether or
// not the rows read: the page from the table on, or every element's markup
// of a page without the table.
QString CollectedMarkup(const Document &alliancePage);
inline const QString kMemberRowMark = QStringLiteral("同盟員の行の印「<TR class=fs12」");
