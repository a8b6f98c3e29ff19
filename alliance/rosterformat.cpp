#include "alliance/rosterformat.h"

#include "common/textsearch.h"

using namespace TextSearch;

QString rosterLine(const QString &lordName, const QString &coordinateText)
{
    const QString fieldBreak = QStringLiteral("\",\"");
    QString coordinates = coordinateText;
    coordinates.replace(u',', fieldBreak);
    return u'"' + lordName + fieldBreak + coordinates + QStringLiteral("\"\r\n");
}

QString rosterText(const QStringList &memberLines)
{
    return memberLines.join(QString());
}

QString rosterFileName(const QString &allianceId)
{
    return QStringLiteral("OVEKMAP_DATA_") + allianceId + QStringLiteral(".txt");
}
