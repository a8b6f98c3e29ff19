#pragma once

#include "site/browser.h"
#include "site/chromedriverprocess.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QString>
#include <memory>
#include <optional>

class WebDriverClient;
class WebDriverFailure;

struct WebDriverOptions
{
    // A directory only this program opens; the login lives there between runs.
    QString profileDir;
    // Without a window, and without Chromium's sandbox (needed as root):
    // for tests only.
    bool headless = false;
    bool noSandbox = false;
    QString chromedriverProgram = QStringLiteral("/usr/bin/chromedriver");
    QString chromiumProgram = QStringLiteral("/usr/bin/chromium");

    // The program's own browser: the profile under AppDir, and no sandbox
    // where Chromium refuses it (running as root).
    static WebDriverOptions forProgram(const QString &appDir);
    // The profile's folder in a world's folder ("browser-profile").
    static QString profileFolderName();
};

// The browser as a Chromium window driven through chromedriver.
class WebDriverBrowser : public Browser
{
public:
    // Starts chromedriver and Chromium; throws BrowserError (in plain words)
    // when they cannot be started.
    explicit WebDriverBrowser(const WebDriverOptions &options);
    ~WebDriverBrowser() override;

    void navigate(const QString &address) override;
    void refresh() override;
    void back() override;
    void forward() override;
    int readyState() override;
    bool busy() override;
    QString locationUrl() override;
    std::optional<Document> awaitComplete(int maxMs) override;
    Document document() override;
    void setFieldValue(const QString &elementId, const QString &value) override;
    // Closes the session politely (so the profile is written out) even when
    // the program is closing.
    void quit() override;

    // The browser's own time from the start of the shown page's navigation
    // to the end of its load event (Navigation Timing), in milliseconds;
    // nullopt when the page has no such record. For figures only.
    std::optional<double> navigationLoadMs();

    // The process group of chromedriver and its Chromium (tests look for it).
    qint64 driverProcessId() const { return m_driver.processId(); }

private:
    enum class Command { None, Navigate, Refresh, Back, Forward };
    struct PageState
    {
        bool stillPrevious = true; // the document that was there when the last command was given
        int readyState = Loading;
    };

    void openSession(const WebDriverOptions &options);
    void issue(Command command, const QString &address);
    void sendCommand(Command command, const QString &address);
    PageState pageState();
    QJsonValue executeScript(const QString &script, const QJsonArray &arguments);
    QJsonValue tokenArgument() const;
    [[noreturn]] void rethrow(const WebDriverFailure &failure);
    QString sessionPath(const QString &tail) const;
    void keepPollInterval();

    ChromedriverProcess m_driver;
    std::unique_ptr<WebDriverClient> m_client;
    QString m_sessionId;
    QString m_profileDir;
    // The token put on the window before the last command; the document that
    // still carries it is the one the command is replacing.
    QString m_token;
    Command m_lastCommand = Command::None;
    QString m_lastAddress;
    QElapsedTimer m_sinceLastPoll;
    // The last look of awaitComplete found the previous document, which
    // answers at once: the next look keeps the poll interval.
    bool m_previousStillShown = false;
    // The page awaitComplete returned, for the document() that follows it.
    std::optional<Document> m_snapshot;
    QElapsedTimer m_snapshotTaken;
};
