#include "alliance/rules/unreadmembers.h"

namespace UnreadMembers {

QString noteLine(const QString &what, const QStringList &names)
{
    if (names.isEmpty())
        return QString();
    // Names listed as a Japanese sentence lists them.
    return QStringLiteral("※") + what + QStringLiteral(": ") + names.join(u'、');
}

QString unreadProfilesLine(const QStringList &names)
{
    return noteLine(QStringLiteral("プロフィールを読めなかった同盟員"), names);
}

QString rosterMessage(const QStringList &carriedOver, const QStringList &leftOut)
{
    QString text = QStringLiteral("次の同盟員は、本拠地の座標を読めませんでした。\r\n");
    if (!carriedOver.isEmpty())
        text += QStringLiteral("\r\n前回の名簿の座標をそのまま使いました：\r\n") +
                carriedOver.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!leftOut.isEmpty())
        text += QStringLiteral("\r\n前回の名簿にもいないため、名簿に入っていません：\r\n") +
                leftOut.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    text += QStringLiteral("\r\n時間をおいて、もう一度「同盟名簿作成」を実行してください。");
    return text;
}

} // namespace UnreadMembers
