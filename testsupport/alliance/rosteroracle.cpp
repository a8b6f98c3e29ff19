#include "testsupport/alliance/rosteroracle.h"

#include <QHash>
#include <QJsonArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace RosterOracle {

QList<QJsonObject> members(const QJsonObject &dump, const QJsonObject &alliance)
{
    QHash<int, QJsonObject> lords;
    for (const QJsonValue lord : dump[QStringLiteral("lords")].toArray())
        lords.insert(lord[QStringLiteral("user_id")].toInt(), lord.toObject());
    QList<QJsonObject> result;
    for (const QJsonValue id : alliance[QStringLiteral("member_ids")].toArray())
        result.append(lords.value(id.toInt()));
    return result;
}

QList<QJsonObject> members(const QJsonObject &dump, const QString &allianceId)
{
    QList<QJsonObject> result;
    for (const QJsonValue alliance : dump[QStringLiteral("alliances")].toArray()) {
        if (QString::number(alliance[QStringLiteral("id")].toInt()) == allianceId)
            result += members(dump, alliance.toObject());
    }
    return result;
}

QString tableName(const QJsonObject &lord)
{
    return lord[QStringLiteral("name")].toString().remove(u' ').remove(u'"');
}

QString rosterText(const QJsonObject &dump, const QString &allianceId, int *count)
{
    QString text;
    const QList<QJsonObject> lords = members(dump, allianceId);
    for (const QJsonObject &lord : lords) {
        text += QStringLiteral("\"%1\",\"%2\",\"%3\"\r\n")
                    .arg(tableName(lord))
                    .arg(lord[QStringLiteral("x")].toInt())
                    .arg(lord[QStringLiteral("y")].toInt());
    }
    if (count)
        *count = int(lords.size());
    return text;
}

QByteArray codePage932Bytes(const QString &text)
{
    QByteArray bytes;
    for (const char32_t ucs : text.toUcs4()) {
        const QString character = QString::fromUcs4(&ucs, 1);
        QStringEncoder encoder("windows-31j");
        const QByteArray encoded = encoder.encode(character);
        QStringDecoder decoder("windows-31j");
        const QString back = decoder.decode(encoded);
        if (!encoder.hasError() && !encoded.isEmpty() && back == character)
            bytes += encoded;
        else
            bytes += "&#" + QByteArray::number(quint32(ucs)) + ';';
    }
    return bytes;
}

} // namespace RosterOracle
