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
    // The world's own folder under the data folder: the link key and the
    // world server's host, and its port when it has one ("w012_w12.example.jp",
    // "w003_127.0.0.1_18083"). Two worlds share a folder only when they are
    // the same world; "_" is in no host name, and every part is a valid file
    // name on every desktop.
    QString folderName() const;
    // The page the game shows in place of any world page once the login is lost.
    QString sessionOutUrl() const;
    QString topPageUrl() const;    // gameSiteTopUrl + "/"
    QString loginEntryUrl() const; // gameSiteTopUrl + "/index.php?event=OAuth"

    // The world pages the commands load, one builder for each page family.
    QString userPageUrl() const;                              // /user/
    QString allianceInfoUrl(const QString &allianceId) const; // /alliance/info.php?id=
    QString profileUrl(const QString &userId) const;          // /user/?user_id=
    // category 0 戦功, 1 攻撃, 2 防御, 3 総合; page from 1.
    QString warRankingUrl(int category, qint64 page) const;
    QString inboxUrl(qint64 page) const; // /message/inbox.php?p=
    QString newLetterUrl() const;        // /message/new.php

    // The world this build was made for.
    static WorldConfig compiledIn();
};
