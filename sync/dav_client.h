#pragma once
// HTTP as a CardDAV client speaks it: one request at a time, each waited for
// with a timeout; Basic or Digest sign-in with the account's credentials, a
// refused password coming back as 401 instead of being tried again and
// again; HTTPS certificates verified, never skipped; redirects followed only
// to the same scheme.

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

    bool ok() const { return status >= 200 && status < 300; }
};

class DavClient {
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    DavClient(const QString& user, const QString& password);

    DavResponse send(const QByteArray& method, const QUrl& url, const QByteArray& body = {},
                     const Headers& headers = {});
    // A PROPFIND or REPORT with an XML body.
    DavResponse sendXml(const QByteArray& method, const QUrl& url, const QByteArray& body,
                        const QByteArray& depth);

    // How long a request may go without a byte from the server.
    void setTimeout(int milliseconds) { m_timeout = milliseconds; }

private:
    DavResponse sendOnce(const QByteArray& method, const QUrl& url, const QByteArray& body,
                         const Headers& headers);

    QNetworkAccessManager m_network;
    QString m_user;
    QString m_password;
    int m_timeout = 30000;
};

} // namespace tovren::sync
