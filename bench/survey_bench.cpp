// The survey's one walk beside the three walks it replaces (roster, report,
// castle list), on the largest alliance of the demo world, with the pacing
// pause taken out: the time the tool and the browser spend. Prints figures
// and the ratio measured in this one run; not a test.
#include "alliance/commands/alliancereportcommand.h"
#include "alliance/commands/branchcastlecommand.h"
#include "alliance/commands/rostercommand.h"
#include "alliance/commands/surveycommand.h"
#include "alliance/walk/commandcontext.h"
#include "bench/demoworld.h"
#include "common/clock.h"
#include "common/pump.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"
#include "testsupport/alliance/countingpacer.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/site/demositeprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    DemoSiteProcess site(QStringLiteral(OVEK_DEMOSITE_PROGRAM));
    site.start({QStringLiteral("--auto-login")});
    QTemporaryDir appDir;
    QTemporaryDir profile;

    Session session = benchSession(site, appDir.path());
    BrowserSlot browsers([&] {
        const WebDriverOptions options = benchBrowserOptions(profile.path());
        return std::make_unique<WebDriverBrowser>(options);
    });
    SystemClock clock;
    EventLoopPump pump;
    Navigator navigator(browsers, session.world, clock, pump);
    StartupSequence(session, browsers, navigator, pump).run();

    // The largest alliance stands for the own one.
    qsizetype members = -1;
    session.allianceId = largestAlliance(site, &members);

    CountingPacer pacer;
    RecordingToolPort port;
    CommandContext context{session, navigator, browsers, pacer, port};
    const auto seconds = [](const std::function<void()> &walk) {
        QElapsedTimer timer;
        timer.start();
        walk();
        return timer.nsecsElapsed() / 1e9;
    };
    const QString allianceId = session.allianceId;
    // Each walk of one browser session takes a little longer than the one
    // before (Chromium's own work grows): the survey walks first and last,
    // and the mean of the two is set against the three, so the order
    // favours neither side.
    const auto survey = [&] {
        SurveyCommand(context, clock, QStringLiteral("300"), QStringLiteral("10000")).run();
    };
    const double surveyFirst = seconds(survey);
    const double roster = seconds([&] { RosterCommand(context).run(); });
    const double report = seconds([&] {
        AllianceReportCommand(context, clock, allianceId, QStringLiteral("300"), QStringLiteral("10000"))
            .run();
    });
    const double castles = seconds([&] { ListBranchCastles(context, clock); });
    const double surveyLast = seconds(survey);
    const double surveyMean = (surveyFirst + surveyLast) / 2;
    const double three = roster + report + castles;
    std::printf("alliance of %lld members, no pause\n", static_cast<long long>(members));
    std::printf("roster %.1f s + report %.1f s + castle list %.1f s = %.1f s\n", roster, report, castles,
                three);
    std::printf("survey %.1f s first, %.1f s last\n", surveyFirst, surveyLast);
    std::printf("survey / (roster + report + castles) = %.2f (goal <= 0.40)\n", surveyMean / three);
    browsers.quit();
    return surveyMean / three <= 0.40 ? 0 : 1;
}
