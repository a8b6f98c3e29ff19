#pragma once

#include <QString>

class Document;

// When a page does not hold what a reader looks for: which page family it
// was, which mark was missing, and what the page looked like instead, so
// that a slow server is told apart from a page whose making has changed.
namespace PageMark {

// The page families the tool reads, as the user knows them from the
// game's own menu.
enum class Family { Profile, Alliance, Ranking, Inbox, NewLetter };

// 「プロフィール」, 「同盟情報」, 「合戦格付」, 「受信箱」, 「書状作成」.
QString familyName(Family family);
// An ASCII word for file names: profile, alliance, ranking, inbox, letter.
QString familyKey(Family family);

// What one reading of a page gave: read, or the mark it lacked, named in
// the user's words with the text looked for ("本拠地のリンク「(本拠地)」").
struct Read
{
    QString missing; // empty: the page was read

    static Read done() { return {}; }
    static Read lacking(const QString &mark) { return {mark}; }
    static Read of(bool read, const QString &markIfNot) { return read ? done() : lacking(markIfNot); }
    bool ok() const { return missing.isEmpty(); }
};

// What a page that lacked a mark looked like.
enum class Kind {
    Game,        // the game's menu line was there: the page's making may have changed
    Maintenance, // a maintenance notice
    Login,       // a login or session-out page
    Other,       // an error page, an empty or half-made page
};
Kind kindOf(const Document &page);

// The message on a page that never showed a mark: the family, the mark,
// what the page looked like and what to do; keptFile (when not empty) is
// where the page was saved for a report.
QString explanation(Family family, const QString &mark, Kind kind, const QString &keptFile);

// The page as it is kept for a report: its address, then its markup with
// the values of password and hidden input fields taken out (a session
// token or a password never leaves the program this way).
QString keptText(const QString &address, const QString &markup);

} // namespace PageMark
