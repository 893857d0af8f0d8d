#pragma once
// What a secure connection (HTTPS, SMTP over TLS) trusts, and how its
// failure is told. Certificates are checked against the system's
// authorities and the server's name, and a failure is never ignored: the
// person is told why in a sentence.

#include <QList>
#include <QSslError>
#include <QString>

class QNetworkReply;
class QSslSocket;

namespace platform {

// Adds the certificates of the file that SSL_CERT_FILE names (a private
// authority's) to the system's authorities, for every connection made after
// the call. Called at start; calling it again adds nothing twice.
void trustCertificateFile();

// Why the certificate of `host` was refused, in a sentence for the person:
// "The certificate of dav.example.org has expired."
QString tlsFailure(const QString& host, const QList<QSslError>& errors);
// Why the secure connection of `socket` to `host` failed; "" when the failure
// was not its security's (a refused connection, a name not found).
QString tlsFailure(const QSslSocket& socket, const QString& host);
// Keeps the certificate errors `reply` meets, for tlsFailure(reply): call it
// before the reply's connection is made.
void keepTlsErrors(QNetworkReply& reply);
QString tlsFailure(const QNetworkReply& reply);

} // namespace platform
