#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>
#include <stdexcept>

// How a failed WebDriver answer is to be taken, decided by its `error` field.
enum class WebDriverFailureKind {
    BrowserGone,     // the window or the whole browser is gone
    StillNavigating, // a script was held while a navigation was pending
    SessionNotCreated,
    Other,
};

WebDriverFailureKind classifyWebDriverError(const QString &errorCode);

// A WebDriver command that chromedriver answered with an error.
class WebDriverFailure : public std::runtime_error
{
public:
    WebDriverFailure(const QString &errorCode, const QString &message)
        : std::runtime_error(errorCode.toStdString()), m_errorCode(errorCode), m_message(message)
    {
    }
    QString errorCode() const { return m_errorCode; }
    QString message() const { return m_message; }
    WebDriverFailureKind kind() const { return classifyWebDriverError(m_errorCode); }

private:
    QString m_errorCode;
    QString m_message;
};

// JSON over HTTP to one chromedriver. Every request is sent asynchronously
// and the calling thread runs a nested event loop until the answer comes, so
// the windows keep painting while chromedriver holds a call.
//
// Throws WebDriverFailure for an error answer, BrowserGone when chromedriver
// does not answer at all (refused or dropped connection), BrowserError when
// the answer does not come in time or is not WebDriver JSON.
//
// Once the program is closing, Qt refuses to run nested event loops. A
// request marked Abandon then throws Quitting at once (also one already on
// its way); a request marked Finish is still waited for, without a nested
// loop, for at most its time-out, so the browser can be closed politely.
class WebDriverClient
{
public:
    enum class WhileClosing { Abandon, Finish };

    explicit WebDriverClient(int port);

    QJsonValue get(const QString &path, int timeoutMs, WhileClosing closing = WhileClosing::Abandon);
    QJsonValue post(const QString &path, const QJsonObject &body, int timeoutMs,
                    WhileClosing closing = WhileClosing::Abandon);
    QJsonValue remove(const QString &path, int timeoutMs, WhileClosing closing = WhileClosing::Abandon);

private:
    QJsonValue send(const QByteArray &verb, const QString &path, const QByteArray &body, int timeoutMs,
                    WhileClosing closing);

    QUrl m_base;
    QNetworkAccessManager m_network;
};
