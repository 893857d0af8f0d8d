#include "tls_trust.h"

#include <QNetworkReply>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QUrl>

namespace platform {
namespace {

const char* const kErrorsProperty = "tovrenTlsErrors";

// The names a certificate is for: its alternative names, else its common name.
QString namesOf(const QSslCertificate& certificate)
{
    QStringList names = certificate.subjectAlternativeNames().values(QSsl::DnsEntry);
    names += certificate.subjectAlternativeNames().values(QSsl::IpAddressEntry);
    if (names.isEmpty())
        names = certificate.subjectInfo(QSslCertificate::CommonName);
    return names.join(QStringLiteral(", "));
}

QString sentence(const QString& host, const QSslError& error)
{
    const QString of = QStringLiteral("The certificate of %1 ").arg(host);
    switch (error.error()) {
    case QSslError::HostNameMismatch:
        return of + QStringLiteral("is for another name (%1).").arg(namesOf(error.certificate()));
    case QSslError::CertificateExpired:
        return of + QStringLiteral("has expired.");
    case QSslError::CertificateNotYetValid:
        return of + QStringLiteral("is not valid yet.");
    case QSslError::CertificateRevoked:
        return of + QStringLiteral("has been revoked.");
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
    case QSslError::CertificateRejected:
        return of + QStringLiteral("comes from an authority this computer does not trust.");
    default:
        break;
    }
    return of + QStringLiteral("cannot be trusted: %1.").arg(error.errorString());
}

QString notSetUp(const QString& host, const QString& reason)
{
    return QStringLiteral("The secure connection to %1 could not be set up: %2.").arg(host, reason);
}

} // namespace

void trustCertificateFile()
{
    const QString path = qEnvironmentVariable("SSL_CERT_FILE");
    if (path.isEmpty())
        return;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    QList<QSslCertificate> trusted = config.caCertificates();
    // Qt reads the system's authorities on demand only while it has no list
    // of its own, so the list it is given must hold them too.
    if (trusted.isEmpty())
        trusted = QSslConfiguration::systemCaCertificates();
    const qsizetype before = trusted.size();
    for (const QSslCertificate& certificate : QSslCertificate::fromPath(path, QSsl::Pem)) {
        if (!trusted.contains(certificate))
            trusted.append(certificate);
    }
    if (trusted.size() == before)
        return;
    config.setCaCertificates(trusted);
    QSslConfiguration::setDefaultConfiguration(config);
}

QString tlsFailure(const QString& host, const QList<QSslError>& errors)
{
    QStringList sentences;
    for (const QSslError& error : errors) {
        const QString told = sentence(host, error);
        if (!sentences.contains(told))
            sentences.append(told);
    }
    return sentences.join(QLatin1Char(' '));
}

QString tlsFailure(const QSslSocket& socket, const QString& host)
{
    if (!socket.sslHandshakeErrors().isEmpty())
        return tlsFailure(host, socket.sslHandshakeErrors());
    if (socket.error() == QAbstractSocket::SslHandshakeFailedError
        || socket.error() == QAbstractSocket::SslInternalError
        || socket.error() == QAbstractSocket::SslInvalidUserDataError)
        return notSetUp(host, socket.errorString());
    return QString();
}

void keepTlsErrors(QNetworkReply& reply)
{
    QObject::connect(&reply, &QNetworkReply::sslErrors, &reply,
                     [&reply](const QList<QSslError>& errors) {
                         reply.setProperty(kErrorsProperty, QVariant::fromValue(errors));
                     });
}

QString tlsFailure(const QNetworkReply& reply)
{
    const auto errors = reply.property(kErrorsProperty).value<QList<QSslError>>();
    if (!errors.isEmpty())
        return tlsFailure(reply.url().host(), errors);
    if (reply.error() == QNetworkReply::SslHandshakeFailedError)
        return notSetUp(reply.url().host(), reply.errorString());
    return QString();
}

} // namespace platform
