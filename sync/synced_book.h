#pragma once
// The address book as a sync sees it: each contact with what the book
// remembers of its card on the server, what changed on either side since,
// and the writes a sync makes. The writes go in batches, each one
// transaction with the states it settles, so that a sync stopped at any
// point leaves every contact and its state in step.

#include "sync_state.h"

#include "interchange/contact.h"
#include "transfer/address_book.h"
#include "transfer/book_rows.h"

#include <QHash>

#include <map>
#include <memory>
#include <optional>

namespace tovren::sync {

enum class LocalChange { None, New, Edited, Deleted };

// A card's path as compared: servers give it as a path or a whole URL,
// escaped or not.
QString hrefKey(const QString& href);

class SyncedBook {
public:
    // Reads the book and its states. Unless only `reading`, makes the state
    // tables when the book has none (in a transaction of their own); a book
    // without them has no states. Raises the data layer's errors.
    explicit SyncedBook(std::shared_ptr<data::Connection> connection, bool reading = false);

    AccountState account() { return m_tables ? m_state.account() : AccountState{}; }

    // Every contact's id and every state's, each once.
    std::vector<qint64> ids() const;
    std::optional<interchange::Contact> contact(qint64 id);
    const CardState* stateOf(qint64 id) const;
    // Every stored state, by contact id.
    const std::map<qint64, CardState>& states() const { return m_states; }
    // The state of the card at `href` (a path, or a URL of it, escaped or
    // not), else of the card the book sent with `uid`.
    const CardState* stateOfHref(const QString& href, const QString& uid = QString()) const;
    // How the contact changed in the book since its last sync: new to the
    // server (or sent without an answer), edited, or deleted.
    LocalChange localChange(qint64 id);

    class Batch;

private:
    // The state in memory, taken in and dropped.
    void remember(const CardState& state);
    void forget(qint64 id);

    transfer::AddressBook m_book;
    SyncState m_state;
    bool m_tables = true;
    QHash<qint64, QVariant> m_rows; // id -> bookmark
    std::map<qint64, CardState> m_states;
    QHash<QString, qint64> m_hrefs; // by hrefKey()
    QHash<QString, qint64> m_uids;
    // The pick lists a contact's ids are read through: read on first use,
    // again after a batch, which may add entries.
    std::optional<transfer::PickLists> m_lists;
    friend class Batch;
};

// Writes to the book and its states, stored together by commit().
class SyncedBook::Batch {
public:
    explicit Batch(SyncedBook& book) : m_book(book) {}

    // A new contact, its state given its id when stored.
    void add(const interchange::Contact& contact, CardState state);
    // The contact's row takes `contact`'s values; the contact comes back
    // when the book no longer has it.
    void update(qint64 id, const interchange::Contact& contact);
    void remove(qint64 id);
    void putState(const CardState& state);
    void removeState(qint64 id);
    // Every state and the account forgotten before the rest is stored: the
    // book is to sync with another address book, to which every contact is new.
    void forgetAll();
    void setAccount(const AccountState& account);
    bool isEmpty() const;

    // Stores everything in one transaction, or nothing (and raises).
    // Returns the ids the added contacts were given, in order.
    std::vector<qint64> commit();

private:
    SyncedBook& m_book;
    std::vector<std::pair<interchange::Contact, CardState>> m_adds;
    std::vector<std::pair<qint64, interchange::Contact>> m_updates;
    std::vector<qint64> m_removes;
    std::vector<CardState> m_states;
    std::vector<qint64> m_dropped;
    bool m_forgetAll = false;
    std::optional<AccountState> m_account;
};

} // namespace tovren::sync
