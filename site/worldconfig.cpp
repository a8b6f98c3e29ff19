#include "site/worldconfig.h"

QString WorldConfig::worldLinkKey() const
{
    return QStringLiteral("w") + (QStringLiteral("00") + worldNumber).right(3);
}

QString WorldConfig::sessionOutUrl() const
{
    return worldBaseUrl + QStringLiteral("/false/login_sessionout.php");
}

QString WorldConfig::topPageUrl() const
{
    return gameSiteTopUrl + QStringLiteral("/");
}

QString WorldConfig::loginEntryUrl() const
{
    return gameSiteTopUrl + QStringLiteral("/index.php?event=OAuth");
}

WorldConfig WorldConfig::compiledIn()
{
    WorldConfig config;
    config.gameSiteTopUrl = QStringLiteral(OVEK_GAME_SITE_TOP_URL);
    config.worldBaseUrl = QStringLiteral(OVEK_WORLD_BASE_URL);
    config.worldNumber = QStringLiteral("3");
    config.warRankingKey = QStringLiteral("5");
    return config;
}
