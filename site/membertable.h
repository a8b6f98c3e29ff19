#pragma once

#include <QString>
#include <QStringList>

class Document;

// The member table of an alliance page, column by column. Every member row
// adds one line, ended by CR LF, to each of the seven texts; line k of each
// belongs to the same row. No text ever holds a double quote or an ASCII space.
struct MemberTable
{
    QString names;
    QString ids;
    QString cell1;
    QString cell2;
    QString cell3;
    QString cell4; // the member's fief count
    QString cell5;
};

// Appends every member row of the page to table; nothing is cleared, so a
// second call lists every member again. collectedMarkup (when given) receives
// the markup that was searched, for the caller to put on the clipboard; it is
// set before any failure, so the caller can put it there either way. A page
// without the member table, or a row without its link and five cells, throws
// ReadFailure.
void ReadMemberTable(const Document &alliancePage, MemberTable &table, QString *collectedMarkup = nullptr);

// One output of the reader as a list, one element per member: the text split
// at CR LF, without the empty element after the last line end.
QStringList splitMemberLines(const QString &output);
