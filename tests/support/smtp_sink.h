#pragma once
// A real SMTP server on a free loopback port for the life of the object
// (Debian's python3-aiosmtpd), and a real sendmail (Debian's msmtp-mta)
// configured to deliver to it. A test reads back what arrived.

#include "test_helpers.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace testing_support {

class SmtpSink {
public:
    struct Message {
        QString helo;
        QString from;
        QStringList to;
        QByteArray content; // headers and body as received, CR LF line ends
    };

    // Keeps what arrives in `folder`; error() says why when it cannot start.
    explicit SmtpSink(const QString& folder) : m_folder(folder)
    {
        QDir().mkpath(folder);
        m_server.start(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral(TOVREN_SOURCE_DIR "/tests/support/smtp_sink.py"), folder});
        if (m_server.waitForReadyRead(10000))
            m_port = quint16(m_server.readLine().trimmed().toUInt());
        if (m_port == 0)
            m_error = QStringLiteral("The test SMTP server did not start (scripts/setup.sh "
                                     "installs python3-aiosmtpd): ")
                      + QString::fromLocal8Bit(m_server.readAllStandardError());
    }
    ~SmtpSink()
    {
        m_server.kill();
        m_server.waitForFinished();
    }

    quint16 port() const { return m_port; }
    QString error() const { return m_error; }

    std::vector<Message> messages() const
    {
        std::vector<Message> received;
        for (int n = 1; QFile::exists(file(n, ".eml")); ++n) {
            const QJsonObject envelope =
                QJsonDocument::fromJson(readBytes(file(n, ".json"))).object();
            QStringList to;
            for (const QJsonValue& address : envelope[QStringLiteral("to")].toArray())
                to << address.toString();
            received.push_back({envelope[QStringLiteral("helo")].toString(),
                                envelope[QStringLiteral("from")].toString(), to,
                                readBytes(file(n, ".eml"))});
        }
        return received;
    }

    // A sendmail program that runs the system's msmtp with a configuration
    // that delivers here; it keeps its arguments in `argumentsFile`.
    QString sendmail(const QString& argumentsFile) const
    {
        const QString config = m_folder + QStringLiteral("/msmtprc");
        const QString script = m_folder + QStringLiteral("/sendmail");
        EXPECT_TRUE(writeBytes(config, QStringLiteral("account default\nhost 127.0.0.1\nport %1\n"
                                                      "from tovren-test@localhost\n")
                                           .arg(m_port)
                                           .toUtf8()));
        QFile::setPermissions(config, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_TRUE(writeBytes(script, QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\n"
                                                      "exec /usr/sbin/sendmail -C '%2' \"$@\"\n")
                                           .arg(argumentsFile, config)
                                           .toUtf8()));
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
        return script;
    }

private:
    QString file(int n, const char* extension) const
    {
        return m_folder + QLatin1Char('/') + QString::number(n) + QLatin1String(extension);
    }

    QString m_folder;
    QProcess m_server;
    quint16 m_port = 0;
    QString m_error;
};

} // namespace testing_support
