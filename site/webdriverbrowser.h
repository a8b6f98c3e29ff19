#pragma once

#include "site/browser.h"
#include "site/chromedriverprocess.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QString>
#include <memory>

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
    Document document() override;
    void setFieldValue(const QString &elementId, const QString &value) override;
    void quit() override;

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
};
