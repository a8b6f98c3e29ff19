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
    // Reads the member table's values, which 「推移」 sums and charts; a reply
    // check or a ranking extraction reads other things of the members.
    bool readsMemberValues = true;
};

namespace Kinds {
inline const Kind roster{QStringLiteral("roster"), QStringLiteral("同盟名簿作成"), true};
inline const Kind report{QStringLiteral("report"), QStringLiteral("同盟データ取得"), false};
inline const Kind activity{QStringLiteral("activity"), QStringLiteral("同盟員活動履歴"), false};
inline const Kind castles{QStringLiteral("castles"), QStringLiteral("出城リスト作成"), false};
inline const Kind survey{QStringLiteral("survey"), QStringLiteral("一括調査"), true};
inline const Kind replies{QStringLiteral("replies"), QStringLiteral("返信者リストアップ"), false, false};
inline const Kind ranking{QStringLiteral("ranking"), QStringLiteral("合戦格付抽出"), false, false};
} // namespace Kinds

// Every kind, in the order of the tool window's commands.
inline QList<Kind> kinds()
{
    return {Kinds::roster, Kinds::report,  Kinds::activity, Kinds::castles,
            Kinds::survey, Kinds::replies, Kinds::ranking};
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

inline bool readsMemberValues(const QString &key)
{
    for (const Kind &kind : kinds()) {
        if (kind.key == key)
            return kind.readsMemberValues;
    }
    return true; // a kind of a later version: shown as it is
}

// A ranking extraction's detail: the category's caption and the band from 1
// ("戦功/1"), so that readings of one category are found by its caption.
inline QString rankingDetail(const QString &categoryCaption, int band)
{
    return categoryCaption + u'/' + QString::number(band + 1);
}

} // namespace History
