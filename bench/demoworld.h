#pragma once

#include "site/session.h"
#include "site/webdriverbrowser.h"
#include "testsupport/site/demositeprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <algorithm>

// The session of a benchmark in the demo world: world 3 of the site, AppDir
// in appDir.
inline Session benchSession(const DemoSiteProcess &site, const QString &appDir)
{
    Session session;
    session.world = {site.topUrl(), site.worldUrl(), QStringLiteral("3"), QStringLiteral("5")};
    session.appDir = appDir + QStringLiteral("/");
    return session;
}

// The benchmarks' browser: headless, on a profile of their own, without the
// sandbox (they may run as root).
inline WebDriverOptions benchBrowserOptions(const QString &profileDir)
{
    WebDriverOptions options;
    options.profileDir = profileDir;
    options.headless = true;
    options.noSandbox = true;
    return options;
}

// The id of the demo world's largest alliance (the one of 300+ members the
// benchmarks walk), and its member count.
inline QString largestAlliance(const DemoSiteProcess &site, qsizetype *members)
{
    QString id;
    *members = -1;
    const QJsonArray alliances = QJsonDocument::fromJson(site.control(QStringLiteral("dump")))
                                     .object()[QStringLiteral("alliances")]
                                     .toArray();
    for (const QJsonValue alliance : alliances) {
        const qsizetype size = alliance[QStringLiteral("member_ids")].toArray().size();
        if (size > *members) {
            *members = size;
            id = QString::number(alliance[QStringLiteral("id")].toInteger());
        }
    }
    return id;
}

// A benchmark's count option ("--loads 50"): its value, at least 1; fallback
// when it is not given.
inline int countOption(const QStringList &arguments, const QString &name, int fallback)
{
    const qsizetype at = arguments.indexOf(name);
    if (at > 0 && at + 1 < arguments.size())
        return std::max(1, arguments.at(at + 1).toInt());
    return fallback;
}
