#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The roster file "OVEKMAP_DATA_<同盟ID>.txt" in AppDir: one line per member,
// in member-table order, three quoted fields (name, x, y) ended by CR LF.
// The roster command writes it; the plotter, the reply checker, the composer
// and the roster's own carry-over read it, all through read() or entries(),
// so a name is the same name to all of them.
namespace RosterFile {

// "OVEKMAP_DATA_<allianceId>.txt", the bare name; the plotter gets exactly
// this on its command line.
QString fileName(const QString &allianceId);

// "name","x","y" and CR LF: every comma of the coordinate text separates two
// fields, so a text without a comma gives two fields.
QString line(const QString &name, const QString &coordinateText);

// The member lines one after the other. DataFile::writeText adds one more
// CR LF, so the file ends with an empty line.
QString text(const QStringList &memberLines);

// The comma-separated fields of one line. A field in double quotes is taken
// without them and runs to the next double quote, so a comma inside it
// belongs to the field ("a,b" is one name); anything between that quote and
// the next comma is no part of any field. A name never holds a double quote
// as the tool writes it (the member table drops them); in a line edited by
// hand, "山"田" reads as the name 山.
QStringList fields(const QString &line);

// One member line as read, its fields as written.
struct Entry
{
    QString name;
    QString x; // empty when the line has no such field
    QString y;
    QString line; // the whole line, without its line end
};

// The member lines among the file's lines (blanks at both ends of a line
// dropped): those whose first field is a name. Empty lines, lines without a
// name and a header line whose name is 「名前」 are passed over.
QList<Entry> entries(const QStringList &lines);
QStringList names(const QList<Entry> &entries);

struct Read
{
    bool exists = false; // a regular file is there
    bool ok = false;     // it was read; error says why not
    QString error;
    QList<Entry> entries;
};
Read read(const QString &path);

} // namespace RosterFile
