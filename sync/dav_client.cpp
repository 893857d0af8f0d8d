// The blocking HTTP of the sync. Qt's network access runs in the event loop;
// each request waits in a loop of its own until its reply has finished, the
// transfer timeout aborting a server that stops answering.

#include "sync/dav_client.h"

#include "platform/tls_trust.h"

#include <QAuthenticator>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkReply>
#include <QRegularExpression>

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

// Qt answers the strongest scheme a server offers: of those CardDAV servers
// offer, Digest before Basic. Never "" for a challenge.
QString schemeOf(const QByteArray& challenge)
{
    static const QRegularExpression digest("(^|[\\s,])digest(\\s|$)",
                                           QRegularExpression::CaseInsensitiveOption);
    if (digest.match(QString::fromLatin1(challenge)).hasMatch())
        return "Digest";
    return QString::fromLatin1(challenge.left(challenge.indexOf(' '))).trimmed();
}

bool isLoopback(const QString& host)
{
    return host.compare("localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

} // namespace

DavClient::DavClient(const QString& user, const QString& password)
    : m_user(user), m_password(password)
{
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    // Qt asks again only while the credentials change, so a refused password
    // ends the request with its 401 instead of being tried for ever. Qt does
    // not say which scheme it answers: while that is unknown, the 401 comes
    // back to sendOnce to be read. Basic credentials sent with the request
    // and refused are not sent again either: the server counts one failure.
    QObject::connect(&m_network, &QNetworkAccessManager::authenticationRequired,
                     [this](QNetworkReply* reply, QAuthenticator* authenticator) {
                         if (m_user.isEmpty() || m_scheme.isEmpty()
                             || reply->request().hasRawHeader("Authorization"))
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

MultistatusReply DavClient::requestMultistatus(const QByteArray& method, const QUrl& url,
                                               const QByteArray& body, const QByteArray& depth)
{
    MultistatusReply reply{
        send(method, url, body,
             {{"Content-Type", "application/xml; charset=utf-8"}, {"Depth", depth}}),
        std::nullopt};
    if (!reply.response.ok())
        return reply;
    reply.multistatus = parseMultistatus(reply.response.body, reply.response.url);
    if (!reply.multistatus)
        reply.response.message =
            "The server's answer at " + url.toDisplayString() + " is not a WebDAV answer.";
    return reply;
}

DavResponse DavClient::sendOnce(const QByteArray& method, const QUrl& url, const QByteArray& body,
                                const Headers& headers)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeout);
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    if (sendsBasicAtOnce(url))
        request.setRawHeader("Authorization",
                             "Basic " + (m_user + ':' + m_password).toUtf8().toBase64());
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
    if (response.status == 401)
        response.challenge = reply->rawHeader("WWW-Authenticate");
    if (!response.ok())
        response.message = failureText(*reply, response.status);
    reply->deleteLater();
    if (response.challenge.isEmpty())
        return response;
    const bool known = !m_scheme.isEmpty();
    m_scheme = schemeOf(response.challenge);
    return known || m_user.isEmpty() ? response : sendOnce(method, url, body, headers);
}

bool DavClient::sendsBasicAtOnce(const QUrl& url) const
{
    return m_scheme == "Basic" && !m_user.isEmpty()
           && (url.scheme() == "https" || isLoopback(url.host()));
}

} // namespace tovren::sync
