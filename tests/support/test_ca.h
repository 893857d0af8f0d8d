#pragma once
// A throwaway certificate authority made with the `openssl` command in a
// test's folder, and server certificates it signed: one a client should
// accept for localhost and 127.0.0.1, and the faults a client must refuse.
// bundle() is the file to name in SSL_CERT_FILE.

#include <QString>

namespace testing_support {

class TestCa {
public:
    enum class Server {
        Trusted,         // localhost and 127.0.0.1, signed by this authority
        OtherName,       // other.example.org, signed by this authority
        Expired,         // localhost, expired since yesterday
        UnknownAuthority // localhost, signed by a second authority nobody trusts
    };
    struct Identity {
        QString certificate; // PEM files
        QString key;
    };

    // Makes the authorities and every server's certificate in `folder`;
    // error() says why when the openssl command failed.
    explicit TestCa(const QString& folder);

    QString error() const { return m_error; }
    QString bundle() const { return m_folder + QStringLiteral("/ca.pem"); }
    Identity server(Server which) const;

private:
    void makeAuthority(const QString& name);
    void makeServer(Server which, const QString& authority, const QString& names, int days);
    void openssl(const QStringList& arguments);

    QString m_folder;
    QString m_error;
};

} // namespace testing_support
