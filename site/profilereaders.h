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
