// What the roster walk costs the tool itself, member by member, on the
// largest alliance of the demo world, with the pacing pause taken out; and
// the same walk by a short Selenium script for comparison.
//
//   roster_bench [--no-peer]
#include "alliance/commands/rostercommand.h"
#include "alliance/walk/commandcontext.h"
#include "alliance/walk/pacer.h"
#include "bench/demoworld.h"
#include "common/clock.h"
#include "common/pump.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/site/demositeprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// Each page from the request to the document in hand, beside the browser's
// own load time of that page (Navigation Timing: navigation start to the end
// of the load event). The difference is what waiting and reading the page
// add to the browser's own work. The load time is read by a script of its
// own after the page; that time is the bench's, not the walk's.
class TimingBrowser : public WebDriverBrowser
{
public:
    using WebDriverBrowser::WebDriverBrowser;
    void navigate(const QString &address) override
    {
        m_pageStart.start();
        WebDriverBrowser::navigate(address);
    }
    Document document() override
    {
        Document page = WebDriverBrowser::document();
        if (m_pageStart.isValid()) {
            pageMs.push_back(m_pageStart.nsecsElapsed() / 1e6);
            m_pageStart.invalidate();
            QElapsedTimer own;
            own.start();
            const std::optional<double> load = navigationLoadMs();
            loadMs.push_back(load.value_or(0));
            benchOnlyMs += own.nsecsElapsed() / 1e6;
        }
        return page;
    }
    void clear()
    {
        pageMs.clear();
        loadMs.clear();
        benchOnlyMs = 0;
    }
    std::vector<double> pageMs;
    std::vector<double> loadMs;
    double benchOnlyMs = 0;

private:
    QElapsedTimer m_pageStart;
};

// No pause, but a record of when each member's turn began.
class MarkingPacer : public Pacer
{
public:
    void startTicks() override { marks.push_back(clock.nsecsElapsed() / 1e6); }
    void waitForTicks() override {}
    QElapsedTimer clock;
    std::vector<double> marks;
};

long kilobytesOf(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    }
    return 0;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The time from one pause to the next: a member's page and its reading.
std::vector<double> gaps(const std::vector<double> &marks)
{
    std::vector<double> between;
    for (size_t i = 1; i < marks.size(); ++i)
        between.push_back(marks[i] - marks[i - 1]);
    return between;
}

std::vector<double> differences(const std::vector<double> &from, const std::vector<double> &less)
{
    std::vector<double> left;
    for (size_t i = 0; i < from.size() && i < less.size(); ++i)
        left.push_back(from[i] - less[i]);
    return left;
}

void printFigures(const char *what, std::vector<double> values)
{
    if (values.empty())
        return;
    std::sort(values.begin(), values.end());
    std::printf("%-34s median %7.1f ms   max %7.1f ms   (n=%zu)\n", what, values[values.size() / 2],
                values.back(), values.size());
}

// The same walk by a short Selenium script, for a sense of scale.
void comparePeer(DemoSiteProcess &site, const QString &allianceId, double walkMs, double overheadMedianMs)
{
    QProcess python;
    python.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(PEER_SCRIPT), site.topUrl(), site.worldUrl(), allianceId});
    if (!python.waitForFinished(15 * 60 * 1000) || python.exitCode() != 0) {
        std::printf("peer: the Selenium script did not run (is python3-selenium installed?)\n");
        return;
    }
    const QString line = QString::fromUtf8(python.readAllStandardOutput()).trimmed();
    std::printf("%s\n", qPrintable(line));
    const int at = line.indexOf(QStringLiteral("seconds="));
    const double peerSeconds = at < 0 ? 0 : QStringView(line).mid(at + 8).split(u' ').first().toDouble();
    if (peerSeconds > 0)
        std::printf("ratio ovekwarden / peer: %.2f   (median overhead above the browser's load: %.1f ms)\n",
                    walkMs / 1000 / peerSeconds, overheadMedianMs);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const bool peer = !app.arguments().contains(QStringLiteral("--no-peer"));

    DemoSiteProcess site(QStringLiteral(OVEK_DEMOSITE_PROGRAM));
    site.start({QStringLiteral("--auto-login")});
    QTemporaryDir appDir;
    QTemporaryDir profile;

    Session session = benchSession(site, appDir.path());
    TimingBrowser *timing = nullptr;
    BrowserSlot browsers([&] {
        const WebDriverOptions options = benchBrowserOptions(profile.path());
        auto browser = std::make_unique<TimingBrowser>(options);
        timing = browser.get();
        return browser;
    });
    SystemClock clock;
    EventLoopPump pump;
    Navigator navigator(browsers, session.world, clock, pump);
    StartupSequence(session, browsers, navigator, pump).run();

    // The largest alliance of the world.
    qsizetype most = -1;
    session.allianceId = largestAlliance(site, &most);

    timing->clear();
    MarkingPacer pacer;
    pacer.clock.start();
    RecordingToolPort port;
    const long rssBefore = kilobytesOf("VmRSS:");
    CommandContext context{session, navigator, browsers, pacer, port};
    RosterCommand(context).run();
    const double walkMs = pacer.clock.nsecsElapsed() / 1e6 - timing->benchOnlyMs;
    const long rssAfter = kilobytesOf("VmRSS:");

    const std::vector<double> perMember = gaps(pacer.marks);
    // [0] is the alliance page.
    const std::vector<double> pages(timing->pageMs.begin() + 1, timing->pageMs.end());
    const std::vector<double> loads(timing->loadMs.begin() + 1, timing->loadMs.end());
    const std::vector<double> overhead = differences(pages, loads);

    std::printf("roster walk of alliance %s: %lld members, %zu lines written\n",
                qPrintable(session.allianceId), static_cast<long long>(most),
                size_t(port.text.count(QStringLiteral("\r\n"))));
    printFigures("whole member (page + reading)", perMember);
    printFigures("page (request to document)", pages);
    printFigures("browser's own load (loadEventEnd)", loads);
    printFigures("overhead above the browser's load", overhead);
    std::printf("walk %.2f s   memory: rss %ld kB before, %ld kB after, peak %ld kB\n", walkMs / 1000,
                rssBefore, rssAfter, kilobytesOf("VmHWM:"));
    browsers.quit();

    if (!peer)
        return 0;
    comparePeer(site, session.allianceId, walkMs, median(overhead));
    return 0;
}
