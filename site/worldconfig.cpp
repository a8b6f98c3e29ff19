#include "site/worldconfig.h"

#include <QUrl>

QString WorldConfig::worldLinkKey() const
{
    return QStringLiteral("w") + (QStringLiteral("00") + worldNumber).right(3);
}

QString WorldConfig::folderName() const
{
    const QUrl server(worldBaseUrl);
    QString name = worldLinkKey() + u'_' + server.host().toLower();
    if (server.port() != -1)
        name += u'_' + QString::number(server.port());
    return name;
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

QString WorldConfig::userPageUrl() const
{
    return worldBaseUrl + QStringLiteral("/user/");
}

QString WorldConfig::allianceInfoUrl(const QString &allianceId) const
{
    return worldBaseUrl + QStringLiteral("/alliance/info.php?id=") + allianceId;
}

QString WorldConfig::profileUrl(const QString &userId) const
{
    return worldBaseUrl + QStringLiteral("/user/?user_id=") + userId;
}

QString WorldConfig::warRankingUrl(int category, qint64 page) const
{
    // The merit ranking has no category parameter; the other three name
    // their mode and carry the ranking key.
    static const char16_t *const modes[] = {nullptr, u"attack", u"defense", u"total"};
    const QString pageText = QString::number(page);
    if (category <= 0 || category > 3)
        return worldBaseUrl + QStringLiteral("/war/war_ranking.php?p=") + pageText;
    return worldBaseUrl + QStringLiteral("/war/war_ranking.php?m=") + QString::fromUtf16(modes[category]) +
           QStringLiteral("&c=") + warRankingKey + QStringLiteral("&p=") + pageText;
}

QString WorldConfig::inboxUrl(qint64 page) const
{
    return worldBaseUrl + QStringLiteral("/message/inbox.php?p=") + QString::number(page);
}

QString WorldConfig::newLetterUrl() const
{
    return worldBaseUrl + QStringLiteral("/message/new.php");
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
