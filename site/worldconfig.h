#pragma once

#include <QString>

// The game world the run walks into. Fixed for the run; the compiled-in
// values come from the build (see README), tests build their own.
struct WorldConfig
{
    QString gameSiteTopUrl; // scheme and host of the public top site, no trailing "/"
    QString worldBaseUrl;   // scheme and host of the world server, no trailing "/"
    QString worldNumber;    // "3"
    QString warRankingKey;  // "5"

    // "w" + the last three characters of "00" + worldNumber: "w003".
    QString worldLinkKey() const;
    // The page the game shows in place of any world page once the login is lost.
    QString sessionOutUrl() const;
    QString topPageUrl() const;    // gameSiteTopUrl + "/"
    QString loginEntryUrl() const; // gameSiteTopUrl + "/index.php?event=OAuth"

    // The world this build was made for.
    static WorldConfig compiledIn();
};
