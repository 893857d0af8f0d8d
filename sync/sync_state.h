#pragma once
// What the book remembers of its address book on a CardDAV server, kept in
// two tables of the book itself (a file or a PostgreSQL book alike), made
// the first time a sync needs them: a book that never synced has neither
// and works as it always did.
//
// SyncCard holds, per contact, the card's path on the server, its ETag and
// the server's text as last synced, the UID it goes by, and the person's
// version set aside by a conflict. SyncAccount holds the address book's URL,
// its sync token and its ctag. A contact without a SyncCard row is new to
// the server; a row whose contact is gone is a delete still to be sent.
// Every call runs in the caller's transaction.

#include <QByteArray>
#include <QString>

#include <vector>

namespace data {
class Connection;
class DatabaseIo;
} // namespace data

namespace tovren::sync {

struct CardState {
    qint64 addressId = 0;
    QString href;     // empty until the server has the card
    QString etag;     // empty while a new card's PUT is unanswered
    QByteArray vcard; // the server's text as last synced; empty for a new card
    QString uid;
    QByteArray mine; // the person's version a conflict set aside, else empty
};

struct AccountState {
    QString url; // the address book the states belong to
    QString token;
    QString ctag;
};

class SyncState {
public:
    explicit SyncState(data::Connection& connection);

    // Whether the book holds the tables; reading a book without them finds
    // no states and changes nothing.
    bool exists();
    // Makes the tables when the book has none.
    void create();

    std::vector<CardState> cards();
    AccountState account();

    // Stores `card` in place of the contact's state, if any.
    void put(const CardState& card);
    void remove(qint64 addressId);
    void setAccount(const AccountState& account);
    // Forgets every card and the account: the book is to sync with another
    // address book, to which every contact is new.
    void forget();

private:
    data::DatabaseIo& m_io;
    bool m_server; // a PostgreSQL book
};

} // namespace tovren::sync
