#pragma once

#include <QString>
#include <optional>

class Document;

// The readers of a lord's profile page ("/user/?user_id=N").

// The coordinate text of the home-castle link on a member's profile page,
// such as "-12,34". std::nullopt when the page shows no "(本拠地)" at all
// (not loaded yet: the caller tries again); ReadFailure when it does but the
// link after it is incomplete.
std::optional<QString> homeCastleCoordinates(const Document &profilePage);

// The seven values of a lord's profile as the page shows them: population,
// total merit, alliance name, alliance size with its rank ("24(7位)"), role
// (ASCII blanks removed) and the home castle's x and y. A page that is no
// lord profile empties population and leaves the other outputs as they were;
// the caller loads it again. A home castle whose link cannot be found gives
// empty x and y.
void ReadLordProfile(const Document &profilePage, QString &population, QString &merit, QString &allianceName,
                     QString &allianceSize, QString &role, QString &x, QString &y);
