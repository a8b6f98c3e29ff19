#include "testsupport/alliance/rosteroracle.h"

#include <QHash>
#include <QJsonArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace RosterOracle {

QString rosterText(const QJsonObject &dump, const QString &allianceId, int *members)
{
    QHash<int, QJsonObject> lords;
    for (const QJsonValue lord : dump[QStringLiteral("lords")].toArray())
        lords.insert(lord[QStringLiteral("user_id")].toInt(), lord.toObject());
    QString text;
    int count = 0;
    for (const QJsonValue alliance : dump[QStringLiteral("alliances")].toArray()) {
        if (QString::number(alliance[QStringLiteral("id")].toInt()) != allianceId)
            continue;
        for (const QJsonValue id : alliance[QStringLiteral("member_ids")].toArray()) {
            const QJsonObject lord = lords.value(id.toInt());
            QString name = lord[QStringLiteral("name")].toString();
            name.remove(u' ');
            name.remove(u'"');
            text += QStringLiteral("\"%1\",\"%2\",\"%3\"\r\n")
                        .arg(name)
                        .arg(lord[QStringLiteral("x")].toInt())
                        .arg(lord[QStringLiteral("y")].toInt());
            ++count;
        }
    }
    if (members)
        *members = count;
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
