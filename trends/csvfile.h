#pragma once

#include "common/datafile.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// Tables saved for a spreadsheet: UTF-8 with a byte order mark, so a
// spreadsheet on Windows reads the Japanese (and every name the game allows,
// also those code page 932 cannot hold); CR LF after every row.
namespace Csv {

// The field as written: in double quotes, with its quotes doubled, when it
// holds a comma, a quote, a line break or blanks at either end.
QString field(const QString &text);
QByteArray encode(const QList<QStringList> &rows);
// Replaces the file with the rows in one piece; the previous file stays as it
// was on any failure.
DataFile::Result write(const QString &path, const QList<QStringList> &rows);

} // namespace Csv
