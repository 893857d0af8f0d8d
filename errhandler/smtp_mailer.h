#pragma once
// Mail method 3: the report dialog sends the report itself over one plain
// SMTP connection. Each wait for a reply keeps the window responsive and
// gives up after a time limit (50 seconds, or the seconds in the
// VOSTREL_SMTP_WAIT environment variable), telling the person why and
// going on with the dialogue. On ports 587 and 465, or when asked, the
// dialogue is the submission one instead (platform/smtp_client.h): EHLO,
// encryption and sign-in before the same envelope, headers and body.

#include "smtp_message.h"

#include <QObject>

class QTcpSocket;

namespace Vostrel {

class SmtpMailer final : public QObject {
    Q_OBJECT

public:
    explicit SmtpMailer(QObject* parent = nullptr);

    // Sends one message and tells the person how it went. A connection that
    // fails (unknown host, refused, dropped) ends the dialogue at once with
    // a message that says what failed and where. `secure` asks for the
    // submission dialogue on any port.
    void SendEmail(const QString& MailServerName, const QString& FromName,
                   const QString& FromEmailAddress, const QString& ToName,
                   const QString& ToEMailAddress, const QString& EmailSubject,
                   const QString& EmailBodyofMessage, bool secure = false);

private:
    enum class Wait { Done, ConnectionLost };

    // Waits for a reply that starts with `ResponseCode`. A time-out or a
    // reply with another code is told and counts as done; a lost
    // connection ends the dialogue.
    Wait WaitFor(const QString& ResponseCode);
    // Runs the window's events until something arrives on the socket or
    // `milliseconds` have passed.
    void processEventsFor(qint64 milliseconds);
    bool send(const QString& text);
    void Winsock1_DataArrival();
    void tellConnectionFailure();
    // Encrypted and signed in as the sender; 465 is TLS from the first byte.
    void sendSecurely(const SmtpAddresses& addresses, const QString& body);
    void tellNotSent(const QString& reason) const;

    QTcpSocket* Winsock1;
    QString m_reply; // the latest data received; each arrival replaces it
    MailServerAddress m_server;
    qint64 m_waitLimitMs = 50000;
};

} // namespace Vostrel
