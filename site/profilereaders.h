#pragma once

#include <QString>
#include <optional>

class Document;

// The readers of a lord's profile page ("/user/?user_id=N").

// The coordinate text of the home-castle link on a member's profile page,
// such as "-12,34". std::nullopt when the page shows no "(本拠地)" at all
// (kHomeCastleMark is missing: not loaded yet, or a page made otherwise);
// ReadFailure when it does but the link after it is incomplete.
std::optional<QString> homeCastleCoordinates(const Document &profilePage);
inline const QString kHomeCastleMark = QStringLiteral("本拠地のリンク「(本拠地)」");

// What a lord's profile shows, every value as the page has it.
struct LordProfile
{
    QString population; // empty: the page is no lord profile (yet)
    QString merit;
    QString allianceName;
    QString allianceSize; // "24(7位)"
    QString role;         // without ASCII blanks
    QString x;            // the home castle's; empty when its link cannot be found
    QString y;

    bool operator==(const LordProfile &) const = default;
};

// What an empty population means the page lacked.
inline const QString kPopulationMark = QStringLiteral("人口の欄「人口数」");

// Reads the profile of the lord the page shows. A page that is no lord
// profile gives every value empty; the caller loads it again.
LordProfile ReadLordProfile(const Document &profilePage);
