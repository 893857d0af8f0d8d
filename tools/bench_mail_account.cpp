#include "bench_mail_account.h"

#include "bench_mail.h"

#include "output/mail_account.h"
#include "output/mail_merge.h"

#include <QRandomGenerator>
#include <QSslConfiguration>
#include <QSslSocket>

AccountMailBench::AccountMailBench(const QString& folder)
    : m_password(QString::number(QRandomGenerator::system()->generate64(), 36))
{
    const QString certificate = folder + QStringLiteral("/smtp-cert.pem"),
                  key = folder + QStringLiteral("/smtp-key.pem");
    const int made =
        QProcess::execute(QStringLiteral("openssl"),
                          {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                           "/CN=localhost", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1",
                           "-keyout", key, "-out", certificate});
    QSslConfiguration trust = QSslConfiguration::defaultConfiguration();
    if (made != 0 || !trust.addCaCertificates(certificate)) {
        m_error = QStringLiteral("openssl could not make a certificate");
        return;
    }
    QSslConfiguration::setDefaultConfiguration(trust);

    // The password travels in the server's environment only.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SMTP_SINK_PASSWORD"), m_password);
    m_server.setProcessEnvironment(environment);
    m_server.start(QStringLiteral("/usr/bin/python3"),
                   {TOVREN_SOURCE_DIR "/tests/support/smtp_sink.py", folder, "--discard",
                    "--starttls", certificate, key, "--user", "bench"});
    if (m_server.waitForReadyRead(10000))
        m_port = quint16(m_server.readLine().trimmed().toUInt());
    if (m_port == 0)
        m_error = QStringLiteral("aiosmtpd did not start (python3-aiosmtpd): ")
                  + QString::fromLocal8Bit(m_server.readAllStandardError());
}

AccountMailBench::~AccountMailBench()
{
    m_server.kill();
    m_server.waitForFinished();
}

qsizetype AccountMailBench::operator()() const
{
    const tovren::MailAccount account{{QStringLiteral("localhost"), m_port,
                                       platform::MailSecurity::StartTls, QStringLiteral("bench")},
                                      QStringLiteral("Zoë Sender"),
                                      QStringLiteral("sender@example.org")};
    platform::SmtpSession session;
    if (session.open(account.server, m_password).number != 0)
        return 0;
    return tovren::sendAll(
               benchMessages(),
               [&](const platform::MailMessage& message) {
                   return session.send(tovren::fromAccount(account, message));
               },
               [](qsizetype) { return true; })
        .sent;
}
