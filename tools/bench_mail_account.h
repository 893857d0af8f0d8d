#pragma once
// The mail_1k_account bench: the mail_1k messages sent through a mail
// account over one connection to a local aiosmtpd (the tests' server) with
// STARTTLS and sign-in, its certificate made for the run and trusted by it.

#include <QProcess>
#include <QString>

class AccountMailBench {
public:
    // Makes the certificate in `folder` and starts the server; error() says
    // why when either failed.
    explicit AccountMailBench(const QString& folder);
    ~AccountMailBench();

    QString error() const { return m_error; }
    // Signs in and sends the messages; how many the server took.
    qsizetype operator()() const;

private:
    QProcess m_server;
    quint16 m_port = 0;
    QString m_password;
    QString m_error;
};
