#pragma once

#include <QList>
#include <QString>

// The kinds of reading the history keeps, declared once for the history,
// 「推移」 and the commands that record them: the key a reading is stored
// under (the command's name on the command line) and the name 「推移」 shows
// it by (the command as its button reads).
namespace History {

struct Kind
{
    QString key;
    QString label;
    // Reads the whole member table every time, so that a member missing
    // from the next one has left: a report or an activity run may leave a
    // member out without that meaning anything.
    bool readsWholeMembership = false;
};

namespace Kinds {
inline const Kind roster{QStringLiteral("roster"), QStringLiteral("同盟名簿作成"), true};
inline const Kind report{QStringLiteral("report"), QStringLiteral("同盟データ取得"), false};
inline const Kind activity{QStringLiteral("activity"), QStringLiteral("同盟員活動履歴"), false};
inline const Kind castles{QStringLiteral("castles"), QStringLiteral("出城リスト作成"), false};
inline const Kind survey{QStringLiteral("survey"), QStringLiteral("一括調査"), true};
} // namespace Kinds

// Every kind, in the order of the tool window's commands.
inline QList<Kind> kinds()
{
    return {Kinds::roster, Kinds::report, Kinds::activity, Kinds::castles, Kinds::survey};
}

// The name 「推移」 shows a reading's kind by; the key itself for a kind of
// a later version of the program.
inline QString kindLabel(const QString &key)
{
    for (const Kind &kind : kinds()) {
        if (kind.key == key)
            return kind.label;
    }
    return key;
}

inline bool readsWholeMembership(const QString &key)
{
    for (const Kind &kind : kinds()) {
        if (kind.key == key)
            return kind.readsWholeMembership;
    }
    return false;
}

} // namespace History
