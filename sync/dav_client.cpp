// The blocking HTTP of the sync. Qt's network access runs in the event loop;
// each request waits in a loop of its own until its reply has finished, the
// transfer timeout aborting a server that stops answering.

#include "sync/dav_client.h"

#include "platform/tls_trust.h"

#include <QAuthenticator>
#include <QEventLoop>
#include <QNetworkReply>

namespace tovren::sync {

namespace {

// A server that sends us round in circles gives up after this many.
constexpr int kMaxRedirects = 5;

QString statusText(QNetworkReply& reply, int status)
{
    const QString reason =
        reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
    return QString("The server answered %1 %2").arg(status).arg(reason).trimmed() + '.';
}

QString failureText(QNetworkReply& reply, int status)
{
    if (status == 401)
        return "The server refused the user name or password.";
    if (status != 0)
        return statusText(reply, status);
    if (reply.error() == QNetworkReply::OperationCanceledError
        || reply.error() == QNetworkReply::TimeoutError)
        return "The server did not answer in time.";
    if (const QString refused = platform::tlsFailure(reply); !refused.isEmpty())
        return refused;
    return "The server could not be reached: " + reply.errorString();
}

} // namespace

DavClient::DavClient(const QString& user, const QString& password)
    : m_user(user), m_password(password)
{
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    // Qt asks again only while the credentials change, so a refused password
    // ends the request with its 401 instead of being tried for ever.
    QObject::connect(&m_network, &QNetworkAccessManager::authenticationRequired,
                     [this](QNetworkReply*, QAuthenticator* authenticator) {
                         if (m_user.isEmpty())
                             return;
                         authenticator->setUser(m_user);
                         authenticator->setPassword(m_password);
                     });
}

DavResponse DavClient::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                            const Headers& headers)
{
    DavResponse response = sendOnce(method, url, body, headers);
    for (int hops = 0; hops < kMaxRedirects && response.status >= 300 && response.status < 400
                       && !response.location.isEmpty();
         ++hops) {
        const QUrl target = response.url.resolved(QUrl::fromEncoded(response.location));
        if (target.scheme() != url.scheme()) {
            response.message = QString("The server sent the request on to %1, another scheme; "
                                       "it was not followed.")
                                   .arg(target.toDisplayString());
            return response;
        }
        response = sendOnce(method, target, body, headers);
    }
    return response;
}

DavResponse DavClient::sendXml(const QByteArray& method, const QUrl& url, const QByteArray& body,
                               const QByteArray& depth)
{
    return send(method, url, body,
                {{"Content-Type", "application/xml; charset=utf-8"}, {"Depth", depth}});
}

DavResponse DavClient::sendOnce(const QByteArray& method, const QUrl& url, const QByteArray& body,
                                const Headers& headers)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeout);
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    QNetworkReply* reply = m_network.sendCustomRequest(request, method, body);
    platform::keepTlsErrors(*reply);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // Input still reaches the modal progress window, so its Cancel works.
    loop.exec();

    DavResponse response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.url = url;
    response.body = reply->isOpen() ? reply->readAll() : QByteArray();
    response.etag = reply->rawHeader("ETag");
    response.location = reply->rawHeader("Location");
    if (!response.ok())
        response.message = failureText(*reply, response.status);
    reply->deleteLater();
    return response;
}

} // namespace tovren::sync
