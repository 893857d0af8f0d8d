#include "synchronizer.h"

#include "stored_card.h"
#include "vcard_patch.h"

#include <QDateTime>
#include <QUuid>

#include <set>

namespace tovren::sync {
namespace {

// Cards fetched to a request, and stored to a transaction.
constexpr size_t kCardsABatch = 100;

// The server stopped answering: the sync ends where it is.
struct Stopped {
    Failure failure;
};

bool serverDown(const Failure& failure)
{
    return failure.status == 0 || failure.status >= 500;
}

[[noreturn]] void stop(const Failure& failure)
{
    throw Stopped{failure};
}

QString why(const Failure& failure)
{
    return failure.status ? QStringLiteral("%1 (%2)").arg(failure.message).arg(failure.status)
                          : failure.message;
}

} // namespace

struct Synchronizer::Remote {
    std::vector<CardRef> changed;
    std::vector<QString> removed;
    AccountState account;
};

SyncSummary Synchronizer::run(const interchange::Progress& progress)
{
    m_summary = {};
    m_progress = progress;
    try {
        // States of another address book mean nothing to this one: every
        // contact is new to it.
        const AccountState account = m_book.account();
        if (!account.url.isEmpty() && account.url != m_server.url().toString()) {
            SyncedBook::Batch forget(m_book);
            forget.forgetAll();
            forget.setAccount({m_server.url().toString(), QString(), QString()});
            forget.commit();
        }
        up();
        down();
    } catch (const Stopped& stopped) {
        m_summary.stopped = stopped.failure;
    } catch (const interchange::Cancelled&) {
        m_summary.cancelled = true;
    }
    return m_summary;
}

void Synchronizer::stepped()
{
    ++m_done;
    interchange::report(m_progress, m_done, std::max(m_done, m_total));
}

QString Synchronizer::label(qint64 id)
{
    if (const auto contact = m_book.contact(id))
        return contact->label();
    const CardState* state = m_book.stateOf(id);
    const auto card = state ? storedForm(state->vcard) : std::nullopt;
    return card ? card->label() : QStringLiteral("(no name)");
}

QString Synchronizer::hrefOf(const QString& name) const
{
    return m_server.url().resolved(QUrl(name)).path();
}

std::optional<Card> Synchronizer::fetch(const QString& href)
{
    const auto cards = m_server.multiget({href});
    if (!cards)
        stop(m_server.lastFailure());
    if (cards->empty())
        return std::nullopt;
    return cards->front();
}

std::vector<std::pair<qint64, LocalChange>> Synchronizer::localChanges()
{
    std::vector<std::pair<qint64, LocalChange>> changes;
    for (const qint64 id : m_book.ids()) {
        if (const LocalChange change = m_book.localChange(id); change != LocalChange::None)
            changes.emplace_back(id, change);
    }
    return changes;
}

void Synchronizer::up()
{
    const std::vector<std::pair<qint64, LocalChange>> changes = localChanges();
    // A new card's UID is stored before the card leaves: should the answer
    // be lost, the next sync sends it under the same name again.
    SyncedBook::Batch uids(m_book);
    for (const auto& [id, change] : changes) {
        if (change == LocalChange::New && !m_book.stateOf(id))
            uids.putState({id, QString(), QString(), QByteArray(),
                           QUuid::createUuid().toString(QUuid::WithoutBraces), QByteArray()});
    }
    uids.commit();
    m_total = qint64(changes.size());
    // What the server answered is stored a hundred cards at a time, and
    // before the sync stops for any reason. An answer not stored is found
    // again: a new card by its name, an edit as the server's own version.
    SyncedBook::Batch batch(m_book);
    try {
        for (const auto& [id, change] : changes) {
            if (change == LocalChange::New)
                sendNew(id, batch);
            else if (change == LocalChange::Edited)
                sendEdit(id, batch);
            else
                sendDelete(id, batch);
            stepped();
            if (m_done % qint64(kCardsABatch) == 0)
                batch.commit();
        }
    } catch (...) {
        batch.commit();
        throw;
    }
    batch.commit();
}

// Stops the sync when the server is down; else names the contact the server refused.
void Synchronizer::refused(qint64 id, const Failure& failure)
{
    if (serverDown(failure))
        stop(failure);
    m_summary.refused << label(id) + QLatin1String(": ") + why(failure);
}

void Synchronizer::sendNew(qint64 id, SyncedBook::Batch& batch)
{
    CardState state = *m_book.stateOf(id);
    const QString name = state.uid + QLatin1String(".vcf");
    const QByteArray body = newVCard(*m_book.contact(id), state.uid,
                                     m_server.takesVCard4() ? interchange::VCardVersion::V4
                                                            : interchange::VCardVersion::V3);
    const PutResult put = m_server.putNew(name, body);
    if (put.outcome == Put::Rejected) {
        refused(id, put.failure);
        batch.removeState(id);
        return;
    }
    state.href = put.href.isEmpty() ? hrefOf(name) : put.href;
    state.etag = put.etag;
    state.vcard = body;
    // No ETag in the answer, or the name already taken (the card a lost
    // answer left stored): the server's card is the one to keep.
    if (put.outcome == Put::Changed || state.etag.isEmpty()) {
        const std::optional<Card> stored = fetch(state.href);
        if (!stored) {
            refused(id, put.failure);
            batch.removeState(id);
            return;
        }
        state.etag = stored->etag;
        state.vcard = stored->vcard;
    }
    batch.putState(state);
    ++m_summary.server.added;
}

void Synchronizer::sendEdit(qint64 id, SyncedBook::Batch& batch)
{
    CardState state = *m_book.stateOf(id);
    const QByteArray body =
        patchedVCard(state.vcard, *m_book.contact(id), QDateTime::currentDateTimeUtc());
    const PutResult put = m_server.putChanged(state.href, body, state.etag);
    if (put.outcome == Put::Rejected)
        return refused(id, put.failure);
    if (put.outcome == Put::Changed)
        return settleConflict(id, state, body, batch);
    state.etag = put.etag;
    state.vcard = body;
    if (state.etag.isEmpty()) {
        if (const std::optional<Card> stored = fetch(state.href)) {
            state.etag = stored->etag;
            state.vcard = stored->vcard;
        }
    }
    batch.putState(state);
    ++m_summary.server.changed;
}

// The server's card changed since the book last saw it, while the book
// changed it too (`mine`, or deleted it when `mine` is empty). The server's
// version goes into the book; the person's edit is kept beside it.
void Synchronizer::settleConflict(qint64 id, const CardState& state, const QByteArray& mine,
                                  SyncedBook::Batch& batch)
{
    const std::optional<interchange::Contact> row = m_book.contact(id);
    const QString who = row ? row->label() : label(id);
    const std::optional<Card> theirs = fetch(state.href);
    if (!theirs) {
        // Deleted there and changed here: kept, and sent as new next time.
        batch.removeState(id);
        m_summary.kept << who;
        return;
    }
    const std::optional<interchange::Contact> contact = storedForm(theirs->vcard);
    if (!contact) {
        m_summary.unreadable << who;
        return;
    }
    CardState settled{id, state.href, theirs->etag, theirs->vcard, state.uid, QByteArray()};
    // The server holds what the book sent (an answer lost before it was
    // stored): no conflict at all.
    if (row && !mine.isEmpty() && sameContact(*row, *contact)) {
        batch.putState(settled);
        ++m_summary.server.changed;
        return;
    }
    settled.mine = mine;
    batch.update(id, *contact);
    batch.putState(settled);
    (mine.isEmpty() ? m_summary.kept : m_summary.conflicts) << who;
}

void Synchronizer::sendDelete(qint64 id, SyncedBook::Batch& batch)
{
    CardState state = *m_book.stateOf(id);
    // A new card whose answer was lost may or may not be on the server.
    if (state.etag.isEmpty()) {
        state.href = hrefOf(state.uid + QLatin1String(".vcf"));
        if (const std::optional<Card> stored = fetch(state.href))
            state.etag = stored->etag;
    }
    if (!state.etag.isEmpty()) {
        if (const std::optional<Failure> failure = m_server.remove(state.href, state.etag)) {
            if (failure->status == 412)
                return settleConflict(id, state, QByteArray(), batch);
            return refused(id, *failure);
        }
        ++m_summary.server.deleted;
    }
    batch.removeState(id);
}

Synchronizer::Remote Synchronizer::remoteChanges()
{
    Remote remote;
    const AccountState stored = m_book.account();
    remote.account = {m_server.url().toString(), stored.token, stored.ctag};
    bool full = false;
    if (m_server.offersSyncCollection()) {
        bool invalid = false;
        std::optional<Changes> changes = m_server.changesSince(stored.token, &invalid);
        // A token the server forgot: everything, under a new token.
        if (!changes && invalid && !stored.token.isEmpty())
            changes = m_server.changesSince(QString(), &invalid);
        if (!changes)
            stop(m_server.lastFailure());
        full = stored.token.isEmpty() || invalid;
        remote.changed = std::move(changes->changed);
        remote.removed = std::move(changes->removed);
        remote.account.token = changes->token;
    } else {
        const std::optional<QString> ctag = m_server.ctag();
        if (ctag && !ctag->isEmpty() && *ctag == stored.ctag)
            return remote;
        std::optional<std::vector<CardRef>> listed = m_server.listEtags();
        if (!listed)
            stop(m_server.lastFailure());
        full = true;
        remote.changed = std::move(*listed);
        remote.account.ctag = ctag.value_or(QString());
    }
    if (full) {
        // A card the listing lacks was deleted on the server.
        std::set<QString> listed;
        for (const CardRef& ref : remote.changed)
            listed.insert(hrefKey(ref.href));
        for (const auto& [id, state] : m_book.states()) {
            if (!state.etag.isEmpty() && !listed.count(hrefKey(state.href)))
                remote.removed.push_back(state.href);
        }
    }
    // What the book already has needs no fetching.
    std::erase_if(remote.changed, [&](const CardRef& ref) {
        const CardState* state = m_book.stateOfHref(ref.href);
        return state && state->etag == ref.etag;
    });
    return remote;
}

void Synchronizer::down()
{
    const Remote remote = remoteChanges();
    m_total = m_done + qint64(remote.changed.size() + remote.removed.size());
    SyncedBook::Batch batch(m_book);
    for (size_t first = 0; first < remote.changed.size(); first += kCardsABatch) {
        std::vector<QString> hrefs;
        for (size_t i = first; i < std::min(first + kCardsABatch, remote.changed.size()); ++i)
            hrefs.push_back(remote.changed[i].href);
        const std::optional<std::vector<Card>> cards = m_server.multiget(hrefs);
        if (!cards)
            stop(m_server.lastFailure());
        for (const Card& card : *cards) {
            take(card, batch);
            stepped();
        }
        batch.commit();
    }
    // The cards gone go after the changed ones are stored: a card the book
    // sent that another client filed anew under another name has moved, and
    // is found by its UID where it is now rather than deleted.
    for (const QString& href : remote.removed) {
        drop(href, batch);
        stepped();
    }
    batch.setAccount(remote.account);
    batch.commit();
}

void Synchronizer::take(const Card& card, SyncedBook::Batch& batch)
{
    const std::optional<interchange::Contact> contact = storedForm(card.vcard);
    if (!contact) {
        m_summary.unreadable << card.href;
        return;
    }
    const QString uid = uidOf(card.vcard);
    // A card the book sent may come back under another spelling of its path.
    const CardState* state = m_book.stateOfHref(card.href, uid);
    if (!state) {
        batch.add(*contact, {0, card.href, card.etag, card.vcard, uid, QByteArray()});
        ++m_summary.book.added;
        return;
    }
    const qint64 id = state->addressId;
    CardState now{
        id, card.href, card.etag, card.vcard, state->uid.isEmpty() ? uid : state->uid, state->mine};
    switch (m_book.localChange(id)) {
    case LocalChange::Edited:
        // Changed here too, and not sent (the server refused it): both kept.
        now.mine = patchedVCard(state->vcard, *m_book.contact(id), QDateTime::currentDateTimeUtc());
        m_summary.conflicts << contact->label();
        break;
    case LocalChange::Deleted:
        m_summary.kept << contact->label();
        break;
    default:
        ++m_summary.book.changed;
    }
    batch.update(id, *contact);
    batch.putState(now);
}

void Synchronizer::drop(const QString& href, SyncedBook::Batch& batch)
{
    const CardState* state = m_book.stateOfHref(href);
    if (!state)
        return;
    const qint64 id = state->addressId;
    const LocalChange change = m_book.localChange(id);
    batch.removeState(id);
    if (change == LocalChange::Edited || !state->mine.isEmpty()) {
        // Changed here and deleted there: kept, and sent as new next time.
        m_summary.kept << label(id);
    } else if (change != LocalChange::Deleted) {
        batch.remove(id);
        ++m_summary.book.deleted;
    }
}

SyncSummary Synchronizer::preview()
{
    SyncSummary summary;
    try {
        for (const auto& [id, change] : localChanges()) {
            if (change == LocalChange::New)
                ++summary.server.added;
            else if (change == LocalChange::Edited)
                ++summary.server.changed;
            else
                ++summary.server.deleted;
        }
        const Remote remote = remoteChanges();
        for (const CardRef& ref : remote.changed)
            ++(m_book.stateOfHref(ref.href) ? summary.book.changed : summary.book.added);
        summary.book.deleted = int(remote.removed.size());
    } catch (const Stopped& stopped) {
        summary.stopped = stopped.failure;
    }
    return summary;
}

} // namespace tovren::sync
