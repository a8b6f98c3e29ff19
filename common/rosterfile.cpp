#include "common/rosterfile.h"

#include "common/datafile.h"
#include "common/textsearch.h"

namespace RosterFile {

namespace {

const QChar kQuote = u'"';
const QChar kComma = u',';

} // namespace

QString fileName(const QString &allianceId)
{
    return QStringLiteral("OVEKMAP_DATA_") + allianceId + QStringLiteral(".txt");
}

QString line(const QString &name, const QString &coordinateText)
{
    const QString fieldBreak = QStringLiteral("\",\"");
    QString coordinates = coordinateText;
    coordinates.replace(kComma, fieldBreak);
    return kQuote + name + fieldBreak + coordinates + QStringLiteral("\"\r\n");
}

QString text(const QStringList &memberLines)
{
    return memberLines.join(QString());
}

QStringList fields(const QString &line)
{
    QStringList out;
    qsizetype pos = 0;
    while (true) {
        QString field;
        if (pos < line.size() && line.at(pos) == kQuote) {
            const qsizetype close = line.indexOf(kQuote, pos + 1);
            const qsizetype end = close < 0 ? line.size() : close;
            field = line.mid(pos + 1, end - pos - 1);
            pos = close < 0 ? line.size() : close + 1;
            const qsizetype comma = line.indexOf(kComma, pos);
            pos = comma < 0 ? line.size() : comma;
        } else {
            const qsizetype comma = line.indexOf(kComma, pos);
            const qsizetype end = comma < 0 ? line.size() : comma;
            field = line.mid(pos, end - pos);
            pos = end;
        }
        out.append(field);
        if (pos >= line.size())
            return out;
        ++pos; // past the comma: another field follows, empty if the line ends here
    }
}

QList<Entry> entries(const QStringList &lines)
{
    QList<Entry> read;
    read.reserve(lines.size());
    for (const QString &raw : lines) {
        const QString trimmed = TextSearch::trimSpaces(raw);
        const QStringList parts = fields(trimmed);
        const QString name = parts.value(0);
        // A line without a name would only give an empty member; 「名前」 heads
        // a roster saved from a spreadsheet.
        if (trimmed.isEmpty() || name.isEmpty() || name == QStringLiteral("名前"))
            continue;
        read.append({name, parts.value(1), parts.value(2), raw});
    }
    return read;
}

QStringList names(const QList<Entry> &entries)
{
    QStringList out;
    out.reserve(entries.size());
    for (const Entry &entry : entries)
        out.append(entry.name);
    return out;
}

Read read(const QString &path)
{
    Read result;
    // Only a regular file is a roster (an empty name makes the path AppDir).
    result.exists = DataFile::exists(path);
    if (!result.exists)
        return result;
    const DataFile::Lines lines = DataFile::readLines(path);
    result.ok = lines.ok;
    result.error = lines.error;
    if (lines)
        result.entries = entries(lines.value);
    return result;
}

} // namespace RosterFile
