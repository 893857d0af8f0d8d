#pragma once
// HTTP as a CardDAV client speaks it: one request at a time, each waited for
// with a timeout; Basic or Digest sign-in with the account's credentials, a
// refused password coming back as 401 instead of being tried again and
// again; Basic credentials sent with the first request where the server is
// known to ask for them and the link keeps them from the network; HTTPS
// certificates verified, never skipped; redirects followed only to the same
// scheme.

#include "sync/dav_multistatus.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QPair>
#include <QString>
#include <QUrl>

namespace tovren::sync {

struct DavResponse {
    int status = 0;  // 0: no HTTP answer came
    QString message; // why, in plain words, when the request did not succeed (2xx)
    QUrl url;        // where the answer came from, after redirects
    QByteArray body;
    QByteArray etag;
    QByteArray location;
    QByteArray challenge; // what a 401 asks for (WWW-Authenticate)

    bool ok() const { return status >= 200 && status < 300; }
};

struct MultistatusReply {
    DavResponse response; // its message says why when there is no multistatus
    std::optional<Multistatus> multistatus;
};

class DavClient {
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    DavClient(const QString& user, const QString& password);

    DavResponse send(const QByteArray& method, const QUrl& url, const QByteArray& body = {},
                     const Headers& headers = {});
    // A PROPFIND or REPORT with an XML body, and its Multi-Status answer read.
    MultistatusReply requestMultistatus(const QByteArray& method, const QUrl& url,
                                        const QByteArray& body, const QByteArray& depth);

    // How long a request may go without a byte from the server.
    void setTimeout(int milliseconds) { m_timeout = milliseconds; }

    // The sign-in the server asked for ("Basic", "Digest"), or the one it is
    // known to ask for; "" while none. Unknown, the first refusal tells it and
    // the request goes again. Where it is Basic, the credentials go with each
    // request over HTTPS or to this computer, saving the refused round trip,
    // never in clear text across a network.
    QString scheme() const { return m_scheme; }
    void setScheme(const QString& scheme) { m_scheme = scheme; }

private:
    DavResponse sendOnce(const QByteArray& method, const QUrl& url, const QByteArray& body,
                         const Headers& headers);
    bool sendsBasicAtOnce(const QUrl& url) const;

    QNetworkAccessManager m_network;
    QString m_user;
    QString m_password;
    QString m_scheme;
    int m_timeout = 30000;
};

} // namespace tovren::sync
