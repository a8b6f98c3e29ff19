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

    const QString &fiefCount() const { return cells[3]; }
    // The member's role, as far as the table shows it.
    const QString &tableRole() const { return cells[4]; }

    bool operator==(const Member &) const = default;
};

// The member rows of the page, in table order. collectedMarkup (when given)
// receives the markup that was searched, for the caller to put on the
// clipboard; it is set before any failure, so the caller can put it there
// either way. A page without the member table, or a row without its link and
// five cells, throws ReadFailure.
// A page without the table names kMemberRowMark as its missing mark.
QList<Member> ReadMemberTable(const Document &alliancePage, QString *collectedMarkup = nullptr);
inline const QString kMemberRowMark = QStringLiteral("同盟員の行の印「<TR class=fs12」");
