#pragma once

#include "common/result.h"

#include <QString>
#include <QStringList>

// The data files of both programs: code page 932 with CR LF line ends,
// written whole. A character code page 932 cannot hold is written as a
// decimal character reference (&#134071;) and turned back on reading, so no
// name is lost.
namespace DataFile {

using Result = ::Result<>;
// The lines without their line ends; a last CR LF adds no line.
using Lines = ::Result<QStringList>;

QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

// Lines split at CR LF or a bare LF. Stray bytes never make it fail; only a
// file that cannot be opened does.
Lines readLines(const QString &path);

// Replaces the file with text in one piece: bare LF line ends become CR LF
// and one more CR LF follows the text. Atomic: on any failure the previous
// file stays byte for byte as it was.
Result writeText(const QString &path, const QString &text);
// Replaces the file with the lines, each ended by CR LF. Atomic as above.
Result writeLines(const QString &path, const QStringList &lines);
// The lowest layer of both: these exact bytes, atomically.
Result writeBytes(const QString &path, const QByteArray &bytes);

bool exists(const QString &path);
// Bare file names in dir matching a wildcard pattern ("Archive_5_*.txt"),
// sorted by name.
QStringList listMatching(const QString &dir, const QString &pattern);

} // namespace DataFile
