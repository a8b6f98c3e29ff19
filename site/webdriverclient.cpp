#include "site/webdriverclient.h"

#include "common/pump.h"
#include "site/browser.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopeGuard>

WebDriverFailureKind classifyWebDriverError(const QString &errorCode)
{
    if (errorCode == QStringLiteral("invalid session id") || errorCode == QStringLiteral("no such window") ||
        errorCode == QStringLiteral("disconnected"))
        return WebDriverFailureKind::BrowserGone;
    // chromedriver holds a script until a pending navigation commits; when the
    // server takes longer than the script time-out, the script fails with one
    // of these, and the page is simply still loading.
    if (errorCode == QStringLiteral("script timeout") || errorCode == QStringLiteral("javascript error"))
        return WebDriverFailureKind::StillNavigating;
    if (errorCode == QStringLiteral("session not created"))
        return WebDriverFailureKind::SessionNotCreated;
    return WebDriverFailureKind::Other;
}

WebDriverClient::WebDriverClient(int port)
{
    m_base.setScheme(QStringLiteral("http"));
    m_base.setHost(QStringLiteral("127.0.0.1"));
    m_base.setPort(port);
    // chromedriver is on loopback: a system proxy must never see these calls.
    m_network.setProxy(QNetworkProxy::NoProxy);
}

QJsonValue WebDriverClient::get(const QString &path, int timeoutMs, WhileClosing closing)
{
    return send("GET", path, {}, timeoutMs, closing);
}

QJsonValue WebDriverClient::post(const QString &path, const QJsonObject &body, int timeoutMs,
                                 WhileClosing closing)
{
    return send("POST", path, QJsonDocument(body).toJson(QJsonDocument::Compact), timeoutMs, closing);
}

QJsonValue WebDriverClient::remove(const QString &path, int timeoutMs, WhileClosing closing)
{
    return send("DELETE", path, {}, timeoutMs, closing);
}

QJsonValue WebDriverClient::send(const QByteArray &verb, const QString &path, const QByteArray &body,
                                 int timeoutMs, WhileClosing closing)
{
    if (closing == WhileClosing::Abandon)
        AppQuit::throwIfRequested();

    QUrl url = m_base;
    url.setPath(path);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/json; charset=utf-8"));
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);

    QNetworkReply *reply = m_network.sendCustomRequest(request, verb, body);
    const auto release = qScopeGuard([reply] { reply->deleteLater(); });
    // Qt refuses nested loops once it has been told to quit, also when the
    // quit did not come through AppQuit; a refused loop counts as closing.
    bool loopRefused = false;
    while (!reply->isFinished()) {
        if (AppQuit::requested() || loopRefused) {
            if (closing == WhileClosing::Abandon) {
                reply->abort();
                throw Quitting();
            }
            // No nested loop here: it would return at once and this would
            // spin. Waiting for more events sleeps until the answer comes or
            // the request's own time-out ends it. The closing windows' input
            // is left alone.
            PumpWait::forMoreEventsWithoutInput();
            continue;
        }
        if (!PumpWait::untilSignal(reply, SIGNAL(finished())))
            loopRefused = true;
    }
    const QByteArray answer = reply->readAll();
    const QNetworkReply::NetworkError networkError = reply->error();
    const QString networkErrorText = reply->errorString();
    const bool hasHttpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();

    if (!hasHttpStatus) {
        if (networkError == QNetworkReply::OperationCanceledError ||
            networkError == QNetworkReply::TimeoutError)
            throw BrowserError(QStringLiteral("ブラウザが応答しません。"));
        // No HTTP answer at all: chromedriver has ended or was never there.
        throw BrowserGone(QStringLiteral("ブラウザとの接続が切れました。（") + networkErrorText +
                          QStringLiteral("）"));
    }

    const QJsonDocument json = QJsonDocument::fromJson(answer);
    const QJsonValue value = json.object().value(QStringLiteral("value"));
    if (value.isObject() && value.toObject().contains(QStringLiteral("error"))) {
        const QJsonObject error = value.toObject();
        throw WebDriverFailure(error.value(QStringLiteral("error")).toString(),
                               error.value(QStringLiteral("message")).toString());
    }
    if (!json.isObject())
        throw BrowserError(QStringLiteral("ブラウザから読めない応答が返りました。"));
    return value;
}
