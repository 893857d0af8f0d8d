#include "synced_book.h"

#include "stored_card.h"

#include "data/transaction.h"
#include "transfer/book_rows.h"
#include "transfer/pick_list.h"

#include <QUrl>

#include <set>

namespace tovren::sync {

QString hrefKey(const QString& href)
{
    return QUrl(href).path(QUrl::FullyDecoded);
}

SyncedBook::SyncedBook(std::shared_ptr<data::Connection> connection, bool reading)
    : m_book(connection), m_state(*connection)
{
    const bool made = m_state.exists();
    if (!made && !reading) {
        data::Transaction work(connection);
        m_state.create();
        work.commit();
    }
    m_tables = made || !reading;
    for (CardState& card : m_tables ? m_state.cards() : std::vector<CardState>{})
        remember(card);
    data::Recordset& rows = m_book.addresses;
    if (rows.RecordCount() > 0) {
        const int key = rows.fieldIndex(u"AddressId");
        for (rows.MoveFirst(); !rows.isEOF(); rows.MoveNext())
            m_rows.insert(rows.value(key).toLongLong(), rows.bookmark());
    }
}

std::vector<qint64> SyncedBook::ids() const
{
    std::set<qint64> ids(m_rows.keyBegin(), m_rows.keyEnd());
    for (const auto& [id, state] : m_states)
        ids.insert(id);
    return {ids.begin(), ids.end()};
}

std::optional<interchange::Contact> SyncedBook::contact(qint64 id)
{
    const auto row = m_rows.constFind(id);
    if (row == m_rows.cend())
        return std::nullopt;
    m_book.addresses.setBookmark(*row);
    if (!m_lists)
        m_lists = transfer::pickListsOf(m_book);
    return transfer::contactOfRow(m_book.addresses, *m_lists);
}

const CardState* SyncedBook::stateOf(qint64 id) const
{
    const auto found = m_states.find(id);
    return found == m_states.end() ? nullptr : &found->second;
}

const CardState* SyncedBook::stateOfHref(const QString& href, const QString& uid) const
{
    if (const auto id = m_hrefs.constFind(hrefKey(href)); id != m_hrefs.cend())
        return stateOf(*id);
    // Only a card the book sent goes by its UID: the book named it after it.
    const auto id = uid.isEmpty() ? m_uids.cend() : m_uids.constFind(uid);
    const CardState* state = id == m_uids.cend() ? nullptr : stateOf(*id);
    const bool sent = state
                      && (state->href.isEmpty()
                          || hrefKey(state->href).endsWith(QLatin1Char('/') + uid + u".vcf"));
    return sent ? state : nullptr;
}

LocalChange SyncedBook::localChange(qint64 id)
{
    const CardState* state = stateOf(id);
    const std::optional<interchange::Contact> row = contact(id);
    if (!state)
        return row ? LocalChange::New : LocalChange::None;
    // A contact deleted after its card went up unanswered may be on the
    // server: the delete goes too, lest the card come back down.
    if (!row)
        return LocalChange::Deleted;
    if (state->etag.isEmpty())
        return LocalChange::New;
    const std::optional<interchange::Contact> synced = storedForm(state->vcard);
    return synced && sameContact(*row, *synced) ? LocalChange::None : LocalChange::Edited;
}

void SyncedBook::Batch::add(const interchange::Contact& contact, CardState state)
{
    m_adds.emplace_back(contact, std::move(state));
}

void SyncedBook::Batch::update(qint64 id, const interchange::Contact& contact)
{
    m_updates.emplace_back(id, contact);
}

void SyncedBook::Batch::remove(qint64 id)
{
    m_removes.push_back(id);
}

void SyncedBook::Batch::putState(const CardState& state)
{
    m_states.push_back(state);
}

void SyncedBook::Batch::removeState(qint64 id)
{
    m_dropped.push_back(id);
}

void SyncedBook::Batch::forgetAll()
{
    m_forgetAll = true;
}

void SyncedBook::Batch::setAccount(const AccountState& account)
{
    m_account = account;
}

bool SyncedBook::Batch::isEmpty() const
{
    return m_adds.empty() && m_updates.empty() && m_removes.empty() && m_states.empty()
           && m_dropped.empty() && !m_forgetAll && !m_account;
}

std::vector<qint64> SyncedBook::Batch::commit()
{
    if (isEmpty())
        return {};
    transfer::AddressBook& book = m_book.m_book;
    m_book.m_lists.reset();
    // A contact updated after the book lost it comes back as a new one,
    // and the state meant for it goes with it.
    std::vector<CardState> states;
    for (const auto& [id, contact] : m_updates) {
        if (!m_book.m_rows.contains(id)) {
            const CardState* was = m_book.stateOf(id);
            m_adds.emplace_back(contact, was ? *was : CardState{});
            m_dropped.push_back(id);
        }
    }
    for (const CardState& state : m_states) {
        const auto back = std::find_if(m_adds.begin(), m_adds.end(), [&](const auto& add) {
            return add.second.addressId == state.addressId && state.addressId != 0;
        });
        if (back != m_adds.end())
            back->second = state;
        else
            states.push_back(state);
    }
    std::vector<qint64> added;
    std::vector<QVariant> bookmarks;
    transfer::closedOnFailure(book, [&] {
        data::Transaction work(book.connection);
        // The pick lists' new entries are stored first: the rows name them by id.
        QStringList salutations, religions;
        transfer::PickListMatching salutation(book.salutations, QStringLiteral("Salutation"),
                                              interchange::Column::SalutationId, salutations);
        transfer::PickListMatching religion(book.religions, QStringLiteral("Religion"),
                                            interchange::Column::ReligionId, religions);
        const auto match = [&](interchange::Contact& contact) {
            salutation.match(contact);
            religion.match(contact);
        };
        for (auto& add : m_adds)
            match(add.first);
        for (auto& update : m_updates)
            match(update.second);
        transfer::addPickListEntries(book.salutations, QStringLiteral("Salutation"), salutations);
        transfer::addPickListEntries(book.religions, QStringLiteral("Religion"), religions);
        const transfer::PickLists lists = transfer::pickListsOf(book);

        data::Recordset& rows = book.addresses;
        for (const auto& [id, contact] : m_updates) {
            if (const auto row = m_book.m_rows.constFind(id); row != m_book.m_rows.cend()) {
                rows.setBookmark(*row);
                transfer::fillRow(rows, contact, lists);
                rows.Update();
            }
        }
        for (const qint64 id : m_removes) {
            if (const auto row = m_book.m_rows.constFind(id); row != m_book.m_rows.cend()) {
                rows.setBookmark(*row);
                rows.Delete();
            }
        }
        for (const auto& add : m_adds) {
            rows.AddNew();
            transfer::fillRow(rows, add.first, lists);
            rows.Update();
            bookmarks.push_back(rows.bookmark());
        }
        rows.UpdateBatch();
        for (size_t i = 0; i < m_adds.size(); ++i) {
            rows.setBookmark(bookmarks[i]);
            added.push_back(rows.value(u"AddressId").toLongLong());
            CardState state = m_adds[i].second;
            state.addressId = added.back();
            if (!state.href.isEmpty() || !state.uid.isEmpty())
                states.push_back(state);
        }
        if (m_forgetAll)
            m_book.m_state.forget();
        for (const qint64 id : m_dropped)
            m_book.m_state.remove(id);
        for (const CardState& state : states)
            m_book.m_state.put(state);
        if (m_account)
            m_book.m_state.setAccount(*m_account);
        work.commit();
    });
    for (size_t i = 0; i < added.size(); ++i)
        m_book.m_rows.insert(added[i], bookmarks[i]);
    for (const qint64 id : m_removes)
        m_book.m_rows.remove(id);
    if (m_forgetAll) {
        m_book.m_states.clear();
        m_book.m_hrefs.clear();
        m_book.m_uids.clear();
    }
    for (const qint64 id : m_dropped)
        m_book.forget(id);
    for (const CardState& state : states)
        m_book.remember(state);
    m_adds.clear();
    m_updates.clear();
    m_removes.clear();
    m_states.clear();
    m_dropped.clear();
    m_forgetAll = false;
    m_account.reset();
    return added;
}

void SyncedBook::forget(qint64 id)
{
    if (const CardState* state = stateOf(id)) {
        m_hrefs.remove(hrefKey(state->href));
        m_uids.remove(state->uid);
    }
    m_states.erase(id);
}

void SyncedBook::remember(const CardState& state)
{
    forget(state.addressId);
    m_states[state.addressId] = state;
    if (!state.href.isEmpty())
        m_hrefs.insert(hrefKey(state.href), state.addressId);
    if (!state.uid.isEmpty())
        m_uids.insert(state.uid, state.addressId);
}

} // namespace tovren::sync
