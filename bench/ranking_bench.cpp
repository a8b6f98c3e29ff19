// What a war-ranking page costs the tool itself: the snapshot of a demosite
// ranking page (WebDriver call, JSON, parse, serialization) and the reading
// of the own alliance's rows, per page over many pages.
//
//   ranking_bench [--pages N] [--headed]
#include "alliance/rules/rankingpage.h"
#include "bench/demoworld.h"
#include "common/clock.h"
#include "common/pump.h"
#include "site/navigator.h"
#include "site/webdriverbrowser.h"
#include "testsupport/site/demositeprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

// Snapshot and reading of pages ranking pages, the categories in turn.
void measurePages(Navigator &navigator, Browser &browser, const WorldConfig &world, const QString &ownId,
                  int pages)
{
    QList<double> total;
    QList<double> reading;
    qsizetype rows = 0;
    qsizetype markupLength = 0;
    for (int page = 1; page <= pages; ++page) {
        const int category = page % 4;
        navigator.waitForPage(world.warRankingUrl(category, page));
        // The wait hands its page to the first document() call; the second
        // one reads the page from the browser, as a snapshot costs.
        browser.document();
        QElapsedTimer timer;
        timer.start();
        const Document document = browser.document();
        QElapsedTimer readTimer;
        readTimer.start();
        rows += ScrapeRankingPage(document, ownId, category, {}).size();
        reading.append(readTimer.nsecsElapsed() / 1e6);
        total.append(timer.nsecsElapsed() / 1e6);
        markupLength = std::max(markupLength, document.markup().size());
    }
    std::sort(total.begin(), total.end());
    std::sort(reading.begin(), reading.end());
    std::printf("%d ranking pages (up to %lld characters of markup), %lld own rows:\n", pages,
                static_cast<long long>(markupLength), static_cast<long long>(rows));
    std::printf("  snapshot + reading: median %.1f ms, max %.1f ms\n", total.at(total.size() / 2),
                total.last());
    std::printf("  reading alone:      median %.2f ms, max %.2f ms\n", reading.at(reading.size() / 2),
                reading.last());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int pages = countOption(arguments, QStringLiteral("--pages"), 40);

    DemoSiteProcess site(QStringLiteral(OVEK_DEMOSITE_PROGRAM));
    site.start({QStringLiteral("--auto-login")});
    const QString ownId =
        QString::number(QJsonDocument::fromJson(site.control(QStringLiteral("dump")))
                            .object()[QStringLiteral("player")][QStringLiteral("alliance_id")]
                            .toInt());
    QTemporaryDir profile;
    WebDriverOptions options = benchBrowserOptions(profile.path());
    options.headless = !arguments.contains(QStringLiteral("--headed"));
    const WorldConfig world = benchSession(site, profile.path()).world;
    BrowserSlot slot([&options] { return std::make_unique<WebDriverBrowser>(options); });
    Browser &browser = slot.replaceWithNew();
    SystemClock clock;
    EventLoopPump pump;
    Navigator navigator(slot, world, clock, pump);
    navigator.waitForPage(world.loginEntryUrl());
    navigator.followWorldEntryLinks();

    measurePages(navigator, browser, world, ownId, pages);
    slot.quit();
    return 0;
}
