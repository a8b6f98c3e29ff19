#include "alliance/unreadmembers.h"

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

} // namespace UnreadMembers
