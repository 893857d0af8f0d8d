#pragma once
// One sync of the book with its address book on a CardDAV server: the
// book's changes go up first, then the server's come down.
//
// Up: a new contact is sent as a new card named by a UID the book keeps
// before sending, so that a resend after a lost answer finds the card the
// server already stored instead of making a second; an edit patches the
// server's text of the card, sent only if the server's ETag is still the
// one last seen; a delete likewise. A card changed on the server meanwhile
// (412) is a conflict: the server's version goes into the book and the
// person's is kept for them to choose (conflicts.h); a contact deleted here
// and changed there is kept with the server's version.
//
// Down: what changed since the sync token (or, without one, since the
// ctag, by comparing ETags), fetched a hundred cards to a request, each
// hundred stored in one transaction with their states; the cards gone
// from the server, and the new token and ctag, go last. A server that
// forgot the token gives a full listing, compared with the states, so
// nothing is doubled or lost.
//
// A server that stops answering (no answer, 5xx) stops the sync: what was
// done is stored, what is left goes at the next sync, exactly once. A card
// the server refuses (400, 409, 413...) is reported and the rest go on.

#include "carddav_collection.h"
#include "sync_summary.h"
#include "synced_book.h"

#include "interchange/progress.h"

namespace tovren::sync {

class Synchronizer {
public:
    Synchronizer(SyncedBook& book, CardDavCollection& server) : m_book(book), m_server(server) {}

    // Syncs both ways. `progress` is told the contacts and cards handled of
    // all there are, and may cancel between them. Raises the data layer's
    // errors (the book busy, a row changed by another program): the batch
    // at hand is then undone and the rest waits.
    SyncSummary run(const interchange::Progress& progress = {});

    // What a sync would do now, found without sending or storing anything:
    // the changes each side would receive.
    SyncSummary preview();

private:
    struct Remote;
    // The contacts changed in the book since the last sync, and how.
    std::vector<std::pair<qint64, LocalChange>> localChanges();
    void up();
    void sendNew(qint64 id, SyncedBook::Batch& batch);
    void sendEdit(qint64 id, SyncedBook::Batch& batch);
    void sendDelete(qint64 id, SyncedBook::Batch& batch);
    void settleConflict(qint64 id, const CardState& state, const QByteArray& mine,
                        SyncedBook::Batch& batch);
    void refused(qint64 id, const Failure& failure);
    void down();
    Remote remoteChanges();
    void take(const Card& card, SyncedBook::Batch& batch);
    void drop(const QString& href, SyncedBook::Batch& batch);
    std::optional<Card> fetch(const QString& href);
    QString hrefOf(const QString& name) const;
    QString label(qint64 id);
    void stepped();

    SyncedBook& m_book;
    CardDavCollection& m_server;
    SyncSummary m_summary;
    interchange::Progress m_progress;
    qint64 m_done = 0;
    qint64 m_total = 0;
};

} // namespace tovren::sync
