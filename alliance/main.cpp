#include "alliance/toolwindow.h"
#include "common/appdir.h"
#include "common/clock.h"
#include "common/pump.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/startupwindow.h"
#include "site/webdriverbrowser.h"

#include <QApplication>
#include <QMessageBox>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

WebDriverOptions browserOptions(const QString &appDir)
{
    WebDriverOptions options;
    // A profile of our own under AppDir: the login survives restarts, and no
    // other browser shares (and spoils) its cookies.
    options.profileDir = appDir + QStringLiteral("browser-profile");
#ifdef Q_OS_UNIX
    // Chromium refuses to run its sandbox as root.
    options.noSandbox = ::geteuid() == 0;
#endif
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false); // the start-up window closes before the tool window opens

    Session session;
    session.world = WorldConfig::compiledIn();
    session.appDir = AppDir::path();

    EventLoopPump pump;
    SystemClock clock;
    const WebDriverOptions options = browserOptions(session.appDir);
    BrowserSlot browsers([options] { return std::make_unique<WebDriverBrowser>(options); });
    Navigator navigator(browsers, session.world, clock, pump);
    StartupSequence startup(session, browsers, navigator, pump);

    auto *startWindow = new OvekWarden;
    startWindow->setRestartHandler([&startup] { startup.restart(); });
    startWindow->showForStartup();
    pump.yieldOnce();
    try {
        startup.run();
    } catch (const Quitting &) {
        // Ended from outside during start-up: nothing to tell.
        browsers.quit();
        delete startWindow;
        return 0;
    } catch (const StartupFailure &failure) {
        // A start-up that cannot finish says why before the program ends,
        // rather than vanishing: the user has to act (log in, install
        // Chromium, join an alliance) before the next try can work.
        browsers.quit();
        startWindow->hide();
        QMessageBox box(QMessageBox::Warning, QStringLiteral("注意"), failure.message(), QMessageBox::Ok);
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        box.exec();
        delete startWindow;
        return 1;
    }
    startWindow->close();
    startWindow->deleteLater();

    OVEKMark tool(session, browsers, navigator, pump);
    tool.setBrowserReopener([&startup] { startup.reopenBrowser(); });
    tool.Form_Load();
    const int code = app.exec();
    browsers.quit();
    return code;
}
