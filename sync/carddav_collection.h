#pragma once
// One address book on a CardDAV server, as the sync engine sees it: each call
// is one request (or a few, one after another) that blocks until the answer
// or a timeout. What went wrong is a Failure, never an exception.

#include "sync/sync_account.h"

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tovren::sync {

class DavClient;
struct DavResponse;
struct MultistatusReply;

struct CardRef {
    QString href; // the server's path, as it gives it
    QString etag;
};

struct Card {
    QString href;
    QString etag;
    QByteArray vcard;
};

struct Failure {
    int status = 0; // the HTTP status; 0 when no answer came (network, TLS, timeout)
    QString message;
};

struct Changes {
    QString token;
    std::vector<CardRef> changed;
    std::vector<QString> removed;
};

enum class Put {
    Stored,
    Changed,  // 412: the card changed on the server (If-Match or If-None-Match failed), and
              // it is not the very card sent: a resend of one stored is Stored
    Rejected, // the server refused the card (400, 409, 413...), or failed (5xx), or gave no
              // answer (failure.status 0): only a 4xx means the card itself is refused
};

struct PutResult {
    Put outcome = Put::Rejected;
    QString etag; // empty when the server gave none
    QString href;
    Failure failure;
};

// An address book that discovery found.
struct BookChoice {
    QUrl url;
    QString displayName; // may be empty
};

// Picks one of several address books: its index, or nullopt when the person
// declined.
using ChooseBook = std::function<std::optional<int>(const std::vector<BookChoice>&)>;

class CardDavCollection;

// What open() gives: the collection, or why there is none.
struct OpenedCollection {
    std::unique_ptr<CardDavCollection> collection; // null on failure
    Failure failure;
};

class CardDavCollection {
public:
    // Signs in (the password from the account's command, the keyring, or
    // asked once per run) and finds the address book from any URL of the
    // server: the book itself, the server's root, or a host's
    // /.well-known/carddav. Several books: `choose` picks one.
    static OpenedCollection open(const SyncAccount& account, const ChooseBook& choose);
    // The same with the password given.
    static OpenedCollection open(const SyncAccount& account, const QString& password,
                                 const ChooseBook& choose);
    ~CardDavCollection();

    QUrl url() const;
    // The account with what this sign-in learnt: the book and the server's scheme.
    SyncAccount learnt(SyncAccount account) const;
    bool offersSyncCollection() const;
    bool takesVCard4() const;

    // How long a request may wait for the server (30 s unless set).
    void setTimeout(int milliseconds);

    // Each call below that fails gives nullopt (or a failed result) and sets
    // lastFailure(); one that succeeds clears it. The first question about
    // changes is answered from the book's sync token as it was found,
    // without a request, when no other request went in between.

    // The collection's getctag; nullopt with no failure when it keeps none.
    std::optional<QString> ctag();
    // Every card's href and ETag (a Depth: 1 listing).
    std::optional<std::vector<CardRef>> listEtags();
    // What changed since `token` ("" for everything); nullopt with
    // *invalidToken set when the server no longer knows the token.
    std::optional<Changes> changesSince(const QString& token, bool* invalidToken);
    // The cards at `hrefs`, fetched at most 100 to a request.
    std::optional<std::vector<Card>> multiget(const std::vector<QString>& hrefs);
    // A new card named `name` (its UID + ".vcf"), only if none is there yet.
    PutResult putNew(const QString& name, const QByteArray& vcard);
    // A changed card, only if the server still has `etag`.
    PutResult putChanged(const QString& href, const QByteArray& vcard, const QString& etag);
    // Deletes the card if the server still has `etag`; a card already gone is done.
    std::optional<Failure> remove(const QString& href, const QString& etag);
    // Why the last call that failed did.
    Failure lastFailure() const;

private:
    CardDavCollection();
    // Sends an XML request to the book; without a Multi-Status answer,
    // lastFailure() says why.
    MultistatusReply report(const QByteArray& method, const QByteArray& body,
                            const QByteArray& depth);
    void remember(const DavResponse& response);
    PutResult put(const QUrl& url, const QByteArray& vcard,
                  const QPair<QByteArray, QByteArray>& condition);
    bool refusesToken(const DavResponse& answer);

    std::unique_ptr<DavClient> m_client;
    QUrl m_url;
    bool m_syncCollection = false;
    bool m_vcard4 = false;
    // The book's sync token as found, until the next request.
    QString m_foundToken;
    Failure m_lastFailure;
};

} // namespace tovren::sync
