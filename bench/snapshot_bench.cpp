// Measures what a page costs the tool itself: the snapshot of a large
// demosite page (WebDriver call, JSON, parse, serialization), and the CPU a
// wait uses while the server hangs.
//
//   snapshot_bench [--loads N] [--headed]
#include "bench/demoworld.h"
#include "common/clock.h"
#include "common/pump.h"
#include "site/navigator.h"
#include "site/webdriverbrowser.h"
#include "testsupport/site/demositeprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

double processCpuSeconds()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU seconds of another process so far, from /proc (Linux).
double otherProcessCpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    return (fields[11].toDouble() + fields[12].toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

QString largestAllianceId(const DemoSiteProcess &site)
{
    qsizetype most = -1;
    const QString id = largestAlliance(site, &most);
    std::printf("largest alliance: id %s, %lld members\n", qPrintable(id), static_cast<long long>(most));
    return id;
}

// The snapshot of the largest alliance's page, loads times: the whole call
// and the program's own parse of it.
void measureSnapshots(Navigator &navigator, WebDriverBrowser &browser, const QString &alliancePage, int loads)
{
    QList<double> millis;
    QList<double> parseMillis;
    qsizetype markupLength = 0;
    qsizetype markupBytes = 0;
    for (int load = 0; load < loads; ++load) {
        navigator.waitForPage(alliancePage);
        // The wait hands its page to the first document() call; the second
        // one reads the page from the browser, as a snapshot costs.
        browser.document();
        QElapsedTimer timer;
        timer.start();
        const Document page = browser.document();
        millis.append(timer.nsecsElapsed() / 1e6);
        markupLength = page.markup().size();
        markupBytes = page.markup().toUtf8().size();
        // The part that is this program's own work, apart from the round trip.
        timer.start();
        const Document reparsed = Document::fromHtml(page.address(), page.markup());
        parseMillis.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(parseMillis.begin(), parseMillis.end());
    std::sort(millis.begin(), millis.end());
    std::printf("snapshot of %s (%lld characters, %lld bytes UTF-8 of markup), %d loads:\n",
                qPrintable(alliancePage), static_cast<long long>(markupLength),
                static_cast<long long>(markupBytes), loads);
    QFile loadAverage(QStringLiteral("/proc/loadavg"));
    if (loadAverage.open(QIODevice::ReadOnly)) // other work on the machine skews the figures
        std::printf("  load average: %s", loadAverage.readAll().constData());
    std::printf("  document(): median %.1f ms, max %.1f ms, min %.1f ms\n", millis.at(millis.size() / 2),
                millis.last(), millis.first());
    std::printf("  of which parse and serialization alone: median %.1f ms\n",
                parseMillis.at(parseMillis.size() / 2));
}

// What a wait on a page that hangs for ten seconds costs this program and
// chromedriver in CPU.
void measureHungWait(DemoSiteProcess &site, Navigator &navigator, WebDriverBrowser &browser,
                     const WorldConfig &world)
{
    const QString hungPath = QStringLiteral("/message/inbox.php");
    site.control(QStringLiteral("hang?path=") + hungPath);
    QTimer::singleShot(10000,
                       [&site, &hungPath] { site.control(QStringLiteral("release?path=") + hungPath); });
    const double cpuBefore = processCpuSeconds();
    const double driverBefore = otherProcessCpuSeconds(browser.driverProcessId());
    QElapsedTimer wall;
    wall.start();
    navigator.waitForPage(world.worldBaseUrl + hungPath + QStringLiteral("?p=1"));
    const double seconds = wall.elapsed() / 1000.0;
    const double cpu = processCpuSeconds() - cpuBefore;
    const double driverCpu = otherProcessCpuSeconds(browser.driverProcessId()) - driverBefore;
    std::printf("wait on a hung page: %.1f s, CPU of this program %.3f s = %.2f %% of one core"
                " (chromedriver %.2f %%)\n",
                seconds, cpu, 100 * cpu / seconds, 100 * driverCpu / seconds);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int loads = countOption(arguments, QStringLiteral("--loads"), 50);
    const bool headed = arguments.contains(QStringLiteral("--headed"));

    DemoSiteProcess site(QStringLiteral(OVEK_DEMOSITE_PROGRAM));
    site.start({QStringLiteral("--auto-login")});
    QTemporaryDir profile;
    WebDriverOptions options = benchBrowserOptions(profile.path());
    options.headless = !headed;
    const WorldConfig world = benchSession(site, profile.path()).world;
    BrowserSlot slot([&options] { return std::make_unique<WebDriverBrowser>(options); });
    WebDriverBrowser &browser = static_cast<WebDriverBrowser &>(slot.replaceWithNew());
    SystemClock clock;
    EventLoopPump pump;
    Navigator navigator(slot, world, clock, pump);

    navigator.waitForPage(world.loginEntryUrl());
    navigator.followWorldEntryLinks();
    const QString alliancePage =
        world.worldBaseUrl + QStringLiteral("/alliance/info.php?id=") + largestAllianceId(site);

    measureSnapshots(navigator, browser, alliancePage, loads);
    measureHungWait(site, navigator, browser, world);
    slot.quit();
    return 0;
}
