// What the roster walk costs the tool itself, member by member, on the
// largest alliance of the demo world, with the pacing pause taken out; and
// the same walk by a short Selenium script for comparison.
//
//   roster_bench [--no-peer]
#include "alliance/pacer.h"
#include "alliance/rostercommand.h"
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

namespace {

// The walk's own work is what happens between page loads: the snapshot
// (one WebDriver call, parse, serialization) and the reading.
class TimingBrowser : public WebDriverBrowser
{
public:
    using WebDriverBrowser::WebDriverBrowser;
    Document document() override
    {
        QElapsedTimer timer;
        timer.start();
        Document page = WebDriverBrowser::document();
        snapshotMs.push_back(timer.nsecsElapsed() / 1e6);
        return page;
    }
    std::vector<double> snapshotMs;
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

void printFigures(const char *what, std::vector<double> values)
{
    if (values.empty())
        return;
    std::sort(values.begin(), values.end());
    std::printf("%-28s median %7.1f ms   max %7.1f ms   (n=%zu)\n", what, values[values.size() / 2],
                values.back(), values.size());
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

    Session session;
    session.world = {site.topUrl(), site.worldUrl(), QStringLiteral("3"), QStringLiteral("5")};
    session.appDir = appDir.path() + QStringLiteral("/");
    TimingBrowser *timing = nullptr;
    BrowserSlot browsers([&] {
        WebDriverOptions options;
        options.profileDir = profile.path();
        options.headless = true;
        options.noSandbox = true;
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
    const QJsonArray alliances = QJsonDocument::fromJson(site.control(QStringLiteral("dump")))
                                     .object()[QStringLiteral("alliances")]
                                     .toArray();
    for (const QJsonValue alliance : alliances) {
        const qsizetype members = alliance[QStringLiteral("member_ids")].toArray().size();
        if (members > most) {
            most = members;
            session.allianceId = QString::number(alliance[QStringLiteral("id")].toInteger());
        }
    }

    timing->snapshotMs.clear();
    MarkingPacer pacer;
    pacer.clock.start();
    RecordingToolPort port;
    const long rssBefore = kilobytesOf("VmRSS:");
    CommandContext context{session, navigator, browsers, pacer, port};
    RosterCommand(context).run();
    const double walkMs = pacer.clock.nsecsElapsed() / 1e6;
    const long rssAfter = kilobytesOf("VmRSS:");

    std::vector<double> perMember;
    for (size_t i = 1; i < pacer.marks.size(); ++i)
        perMember.push_back(pacer.marks[i] - pacer.marks[i - 1]);
    std::vector<double> own(timing->snapshotMs.begin() + 1,
                            timing->snapshotMs.end()); // [0] is the alliance page

    std::printf("roster walk of alliance %s: %lld members, %zu lines written\n",
                qPrintable(session.allianceId), static_cast<long long>(most),
                size_t(port.text.count(QStringLiteral("\r\n"))));
    printFigures("whole member (load + own)", perMember);
    printFigures("own cost (snapshot + read)", own);
    std::printf("walk %.2f s   memory: rss %ld kB before, %ld kB after, peak %ld kB\n", walkMs / 1000,
                rssBefore, rssAfter, kilobytesOf("VmHWM:"));
    browsers.quit();

    if (!peer)
        return 0;
    // The same walk by a short Selenium script, for a sense of scale.
    QProcess python;
    python.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(PEER_SCRIPT), site.topUrl(), site.worldUrl(), session.allianceId});
    if (!python.waitForFinished(15 * 60 * 1000) || python.exitCode() != 0) {
        std::printf("peer: the Selenium script did not run (is python3-selenium installed?)\n");
        return 0;
    }
    const QString line = QString::fromUtf8(python.readAllStandardOutput()).trimmed();
    std::printf("%s\n", qPrintable(line));
    const int at = line.indexOf(QStringLiteral("seconds="));
    const double peerSeconds = at < 0 ? 0 : QStringView(line).mid(at + 8).split(u' ').first().toDouble();
    if (peerSeconds > 0)
        std::printf("ratio ovekwarden / peer: %.2f\n", walkMs / 1000 / peerSeconds);
    return 0;
}
