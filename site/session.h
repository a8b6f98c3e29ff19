#pragma once

#include "common/textsearch.h"
#include "site/ownlord.h"
#include "site/worldconfig.h"

#include <QString>

// What start-up learns and every command of the run reads.
struct Session
{
    WorldConfig world;
    QString appDir;     // ends with "/"
    QString allianceId; // commands remove every "/" from it and store it back
    OwnLord ownLord;

    // Removes every "/" from the alliance id, stores the cleaned id back and
    // returns it: the commands that use the own alliance start with this.
    const QString &cleanAllianceId()
    {
        allianceId = TextSearch::removeAll(allianceId, QStringLiteral("/"));
        return allianceId;
    }
};
