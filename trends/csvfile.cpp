#include "trends/csvfile.h"

namespace Csv {

QString field(const QString &text)
{
    const bool blankAtEnds = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    if (!blankAtEnds && !text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') &&
        !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QByteArray encode(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList fields;
        fields.reserve(row.size());
        for (const QString &value : row)
            fields << field(value);
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

DataFile::Result write(const QString &path, const QList<QStringList> &rows)
{
    return DataFile::writeBytes(path, encode(rows));
}

} // namespace Csv
