#pragma once

#include <QString>
#include <QStringList>

// The roster file: one line per member, in member-table order, each line
// three quoted fields (name, x, y) ended by CR LF. The plotter, the reply
// checker and the composer read it; its bytes must stay exactly this.

// "name","x","y" and CR LF: every comma of the coordinate text separates two
// fields, so a text without a comma gives two fields.
QString rosterLine(const QString &lordName, const QString &coordinateText);

// The roster text: the member lines one after the other. DataFile::writeText
// adds one more CR LF, so the file ends with an empty line.
QString rosterText(const QStringList &memberLines);

// "OVEKMAP_DATA_<allianceId>.txt", the bare name in AppDir; the plotter gets
// exactly this on its command line.
QString rosterFileName(const QString &allianceId);
