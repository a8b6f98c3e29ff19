#pragma once

#include <QString>
#include <array>

class Document;

// The session's record of the player, read once at start-up from the user
// page and kept for the run. Index 0 of the village tables is the home
// village, 1 to 10 the fiefs in page order.
struct OwnLord
{
    static constexpr int villageSlots = 11;

    QString allianceId;
    QString lordName;
    std::array<QString, villageSlots> villageLink;   // the village-change path
    std::array<QString, villageSlots> villageId;     // the text after its last "="
    std::array<QString, villageSlots> villageName;   // without ASCII spaces
    std::array<QString, villageSlots> villageMapUrl; // the village's map page
};

// One reading of the user page. Returns the record with every slot that was
// found replaced; slots beyond the last fief keep what previous held. Any
// missing marker, or more fiefs than there are slots, throws ReadFailure and
// previous is not touched (the start-up sequence refreshes and tries again).
OwnLord ReadOwnLord(const Document &userPage, const QString &worldBaseUrl, const OwnLord &previous);
