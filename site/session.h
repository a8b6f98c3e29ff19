#pragma once

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
};
