#pragma once
// A real SMTP server on a free loopback port for the life of the object
// (Debian's python3-aiosmtpd), and a real sendmail (Debian's msmtp-mta)
// configured to deliver to it. A test reads back what arrived.

#include "test_helpers.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>

// Failures show JSON as JSON.
inline void PrintTo(const QJsonValue& value, std::ostream* out)
{
    *out << QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}

namespace testing_support {

// A loopback port nobody listens on: connections to it are refused.
inline quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

class SmtpSink {
public:
    struct Message {
        QString from;
        QStringList to;
        QByteArray content; // headers and body as received, CR LF line ends
        QJsonObject read;   // as a mail program reads it: see smtp_sink.py
    };

    // Keeps what arrives in `folder`; error() says why when it cannot start.
    // `options` are smtp_sink.py's (TLS, sign-in); `password` is the one it
    // accepts, handed over in its environment.
    explicit SmtpSink(const QString& folder, const QStringList& options = {},
                      const QString& password = {})
        : m_folder(folder)
    {
        QDir().mkpath(folder);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("SMTP_SINK_PASSWORD", password);
        m_server.setProcessEnvironment(environment);
        m_server.start("/usr/bin/python3",
                       QStringList{TOVREN_SOURCE_DIR "/tests/support/smtp_sink.py", folder}
                           + options);
        if (m_server.waitForReadyRead(10000))
            m_port = quint16(m_server.readLine().trimmed().toUInt());
        if (m_port == 0)
            m_error = "The test SMTP server did not start (scripts/setup.sh installs "
                      "python3-aiosmtpd): "
                      + QString::fromLocal8Bit(m_server.readAllStandardError());
    }
    ~SmtpSink()
    {
        m_server.kill();
        m_server.waitForFinished();
    }

    quint16 port() const { return m_port; }
    QString error() const { return m_error; }
    QString file(const QString& name) const { return m_folder + '/' + name; }
    // Every byte the clients sent, decrypted; how many connections were made.
    QByteArray dialogue() const { return readBytes(file("dialogue")); }
    // The same as the server read it, piece by piece.
    QByteArrayList reads() const
    {
        QByteArrayList pieces = readBytes(file("reads")).split('\n');
        pieces.removeLast();
        for (QByteArray& piece : pieces)
            piece = QByteArray::fromBase64(piece);
        return pieces;
    }
    qsizetype connections() const { return readBytes(file("connections")).count('\n'); }

    std::vector<Message> messages() const
    {
        std::vector<Message> received;
        for (int n = 1; QFile::exists(file(QString("%1.eml").arg(n))); ++n) {
            const QJsonObject envelope =
                QJsonDocument::fromJson(readBytes(file(QString("%1.json").arg(n)))).object();
            QStringList to;
            for (const QJsonValue& address : envelope["to"].toArray())
                to << address.toString();
            received.push_back({envelope["from"].toString(), to,
                                readBytes(file(QString("%1.eml").arg(n))),
                                envelope["read"].toObject()});
        }
        return received;
    }

    // A sendmail program that runs the system's msmtp with a configuration
    // that delivers here; it keeps its arguments in file("args").
    QString sendmail() const
    {
        const QString config = file("msmtprc"), script = file("sendmail");
        EXPECT_TRUE(writeBytes(config, QString("account default\nhost 127.0.0.1\nport %1\n"
                                               "from tovren-test@localhost\n")
                                           .arg(m_port)
                                           .toUtf8()));
        QFile::setPermissions(config, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_TRUE(writeBytes(script, QString("#!/bin/sh\necho \"$@\" > '%1'\n"
                                               "exec /usr/sbin/sendmail -C '%2' \"$@\"\n")
                                           .arg(file("args"), config)
                                           .toUtf8()));
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
        return script;
    }

private:
    QString m_folder;
    QProcess m_server;
    quint16 m_port = 0;
    QString m_error;
};

} // namespace testing_support
