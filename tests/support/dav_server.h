#pragma once
// Real CardDAV servers for the sync tests, each started on a free loopback
// port with a throwaway folder and stopped with the object: Debian's radicale
// (signing in against a plain htpasswd file; over HTTPS when given a
// certificate of the test authority), the same radicale behind an Apache
// that asks for Digest sign-in (digest_front.h), and xandikos
// (no sign-in; quoted SHA-1 ETags, git-tree sync tokens). A PhoneClient is a
// second client of the same address book (vdirsyncer against a folder of
// .vcf files), as a phone would be.

#include "test_ca.h"

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QStringList>
#include <QUrl>

#include <map>
#include <optional>

namespace testing_support {

class DavServer {
public:
    enum class Kind { Radicale, RadicaleDigest, Xandikos };
    static constexpr const char* user = "ilse";
    static constexpr const char* password = "Zw3tschgen-Rost!";

    // Starts the server with one empty address book, book("contacts");
    // error() says why when it could not. A radicale given `tls` answers
    // HTTPS only, with that certificate.
    explicit DavServer(Kind kind, const TestCa::Identity& tls = {});
    ~DavServer();
    DavServer(const DavServer&) = delete;
    DavServer& operator=(const DavServer&) = delete;

    // Why a server of `kind` cannot run here, as a test skipping says it; ""
    // when it can.
    static QString missing(Kind kind);
    // Its name in test names and messages.
    static const char* name(Kind kind);

    Kind kind() const { return m_kind; }
    QString error() const { return m_error; }
    // "" where the server asks for no sign-in.
    QString userName() const;

    QUrl root() const;
    QUrl principal() const;
    QUrl book(const QString& name = "contacts") const;
    // Makes another address book (an extended MKCOL); false with error() on failure.
    bool addBook(const QString& name, const QString& displayName);
    // The folder where the server keeps the book's cards, one file each.
    QString bookFolder(const QString& name = "contacts") const;

    // Kills the server at once, as a crash would, and starts it again on the
    // same port and folder.
    void kill();
    bool start();
    // Stops the server answering while its connections stay open, and lets
    // it go on.
    void freeze();
    void thaw();
    // What the server has logged: each request and each sign-in.
    QByteArray log() const;
    // The sign-ins it refused.
    int refusedSignIns() const;

private:
    bool writeConfiguration();
    // The process that answers at root(): Apache where it stands in front.
    QProcess& front();

    Kind m_kind;
    TestCa::Identity m_tls;
    QTemporaryDir m_folder;
    int m_port = 0;
    int m_backendPort = 0; // radicale's, behind Apache
    QProcess m_server;
    QProcess m_apache;
    QStringList m_apacheArguments;
    QString m_error;
};

// A second client of one address book: vdirsyncer, keeping the cards in a
// folder of its own. Each change syncs before and after, as a phone would.
class PhoneClient {
public:
    PhoneClient(const DavServer& server, const QUrl& book);
    QString error() const { return m_error; }

    bool sync();
    // Adds the card (it names its UID), changes the card with `uid` to
    // `vcard`, deletes it.
    bool add(const QByteArray& vcard);
    bool edit(const QString& uid, const QByteArray& vcard);
    bool remove(const QString& uid);
    // After a sync: every card, by UID.
    std::optional<std::map<QString, QByteArray>> cards();

private:
    bool run(const QStringList& arguments);
    std::map<QString, QString> filesByUid() const;

    QTemporaryDir m_folder;
    QString m_error;
};

} // namespace testing_support
