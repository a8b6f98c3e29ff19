#pragma once

#include "alliance/rules/rankingarchive.h"

#include <QList>
#include <QString>
#include <QStringList>

class Document;

// One row of the war ranking that belongs to the own alliance.
struct RankingRow
{
    QString rank;  // what stands on the lord's line of the page text before the name
    QString name;  // the text of the lord link, as the page markup holds it
    QString score; // the text of the category's score cell up to its first tag
};

struct RankingPageRead
{
    // The page showed the game's menu line: it is a ranking page, with rows
    // or without (past the last ranked lord). A page without it is not (yet)
    // a ranking page and is loaded again.
    bool complete = false;
    QList<RankingRow> rows; // page order
    // The mark the page lacked: the menu line (not complete), or the table's
    // start (complete, no rows: past the last ranked lord, or a page made
    // otherwise); empty when the table was there.
    QString missing;
};
inline const QString kRankingTableMark = QStringLiteral("格付の表の始まり「alt=攻撃国」");

// Reads the own alliance's rows of a ranking page. category: 0 戦功, 1 攻撃,
// 2 防御, 3 総合 (the score is the category+1-th cell after the alliance link).
RankingPageRead readRankingPage(const Document &page, const QString &allianceId, int category);

// The line of a row in the output box, without line end:
// rank + "位" + rank mark + " " + name + " " + score + score mark. Marks only
// when saved has rows: ↑ → ↓ for a better, equal, worse rank and a higher,
// equal, lower score; a lord the saved rows lack gets "　" and no score mark.
QString rankingLine(const RankingRow &row, const SavedRanking &saved);

// The lines of a page's rows as Text1 takes them, each followed by CR LF.
QString rankingLines(const QList<RankingRow> &rows, const SavedRanking &saved);

// "★第101～200位━━━" for band 1.
QString bandHeader(int band);

// The messages of an extraction that could not read every page of its band
// (the walk's list follows), or found no table on any page of the first
// band, whose pageCount pages always hold ranked lords.
QString pagesLeftOutIntro();
QString noTableIntro(int pageCount);

// Text1 with a band header appended on a line of its own (after a text that
// does not end with a line end, one is put first).
QString withBandHeader(const QString &text, const QString &header);
// Text1 with the count put on the header a run appended: the last line that
// is the bare header, since that run's rows follow it. An earlier block of
// the same band, or one of a stopped run, keeps what it says; a text that no
// longer holds the bare header (cleared meanwhile) is given back as it is.
QString withBandCount(const QString &text, const QString &header, qsizetype count);

// The lines of the own alliance's rows of one ranking page, compared with the
// saved rows; their count is the page's share of the band's row count.
QStringList ScrapeRankingPage(const Document &page, const QString &allianceId, int category,
                              const SavedRanking &saved);
