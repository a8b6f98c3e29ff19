#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Document;

// The branch-castle list: a member's branch castle read from the profile,
// the forts of the map, and the list of castles grouped by the fort they
// stand near. Pure: no browser, no window, no clock.
namespace BranchCastles {

// What a profile page says about the member's branch castle.
struct ProfileCastle
{
    enum class Kind {
        NotLoaded,  // the fief section has not come yet: load the page again
        None,       // the member holds no branch castle
        Unreadable, // a castle cell whose links or coordinates cannot be read
        Castle,
    };
    Kind kind = Kind::NotLoaded;
    QString name;           // the castle link's text, blanks removed
    QString coordinateText; // "-45,120", blanks removed
    int x = 0;
    int y = 0;
};
ProfileCastle readBranchCastle(const Document &profilePage);
// What a profile read as NotLoaded lacked: the end of its fief section.
inline const QString kFiefSectionMark = QStringLiteral("領地情報の終わり「<!-- /領地情報 -->」");

// One line of the list.
struct BranchCastle
{
    QString owner;
    QString name;
    QString coordinateText;
    int x = 0;
    int y = 0;
};

// One fort of the north-east quarter; the other quarters mirror it.
struct Fort
{
    int number = 0; // 1 to 48
    QString text;   // "12,28"
    int x = 0;
    int y = 0;
};
const QList<Fort> &fortTable();

// Strictly closer than 10 map units.
bool withinRange(int fortX, int fortY, int castleX, int castleY);

// An empty line, the creation line, then one block per fort with castles in
// range, quarter by quarter (北東, 南東, 北西, 南西) and fort by fort, blocks
// separated by one empty line; then the notes, one line each; lines
// separated by CR LF, none after the last.
QString castleListText(const QList<BranchCastle> &castles, const QString &creationLine,
                       const QStringList &notes = {});

} // namespace BranchCastles
