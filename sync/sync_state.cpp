#include "sync_state.h"

#include "data/connection.h"
#include "data/connection_string.h"
#include "data/database_io.h"

namespace tovren::sync {
namespace {

const QString kCards = QStringLiteral("SyncCard");

QByteArray bytes(const QVariant& value)
{
    return value.toString().toUtf8();
}

} // namespace

SyncState::SyncState(data::Connection& connection)
    : m_io(connection.io()),
      m_server(data::isPostgresProvider(
          data::parseConnectionString(connection.ConnectionString()).provider))
{}

bool SyncState::exists()
{
    // A query of a missing table would be an error the connection records
    // for reports; the catalogue is asked instead.
    const QString sql = m_server ? QStringLiteral("SELECT 1 FROM information_schema.tables WHERE"
                                                  " table_schema = current_schema() AND"
                                                  " table_name = ?")
                                 : QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?");
    return !m_io.execute(sql, {kCards}).empty();
}

void SyncState::create()
{
    m_io.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS \"SyncCard\" (\"AddressId\" BIGINT"
                                " PRIMARY KEY, \"Href\" TEXT, \"ETag\" TEXT, \"VCard\" TEXT,"
                                " \"Uid\" TEXT, \"Mine\" TEXT)"));
    m_io.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS \"SyncAccount\" (\"Url\" TEXT,"
                                " \"Token\" TEXT, \"CTag\" TEXT)"));
}

std::vector<CardState> SyncState::cards()
{
    std::vector<CardState> cards;
    for (const QVariantList& row :
         m_io.execute(QStringLiteral("SELECT \"AddressId\", \"Href\", \"ETag\", \"VCard\", \"Uid\","
                                     " \"Mine\" FROM \"SyncCard\" ORDER BY \"AddressId\"")))
        cards.push_back({row[0].toLongLong(), row[1].toString(), row[2].toString(), bytes(row[3]),
                         row[4].toString(), bytes(row[5])});
    return cards;
}

AccountState SyncState::account()
{
    const auto rows =
        m_io.execute(QStringLiteral("SELECT \"Url\", \"Token\", \"CTag\" FROM \"SyncAccount\""));
    if (rows.empty())
        return {};
    return {rows[0][0].toString(), rows[0][1].toString(), rows[0][2].toString()};
}

void SyncState::put(const CardState& card)
{
    const auto text = [](const QByteArray& b) {
        return b.isEmpty() ? QVariant() : QVariant(QString::fromUtf8(b));
    };
    // One statement whether or not the contact has a state yet: a sync
    // stores one for every card it sends or takes.
    m_io.execute(
        QStringLiteral("INSERT INTO \"SyncCard\" (\"AddressId\", \"Href\", \"ETag\", \"VCard\","
                       " \"Uid\", \"Mine\") VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (\"AddressId\")"
                       " DO UPDATE SET \"Href\" = excluded.\"Href\", \"ETag\" = excluded.\"ETag\","
                       " \"VCard\" = excluded.\"VCard\", \"Uid\" = excluded.\"Uid\","
                       " \"Mine\" = excluded.\"Mine\""),
        {card.addressId, card.href, card.etag, text(card.vcard), card.uid, text(card.mine)});
}

void SyncState::remove(qint64 addressId)
{
    m_io.execute(QStringLiteral("DELETE FROM \"SyncCard\" WHERE \"AddressId\" = ?"), {addressId});
}

void SyncState::setAccount(const AccountState& account)
{
    m_io.execute(QStringLiteral("DELETE FROM \"SyncAccount\""));
    m_io.execute(QStringLiteral(
                     "INSERT INTO \"SyncAccount\" (\"Url\", \"Token\", \"CTag\") VALUES (?, ?, ?)"),
                 {account.url, account.token, account.ctag});
}

void SyncState::forget()
{
    m_io.execute(QStringLiteral("DELETE FROM \"SyncCard\""));
    m_io.execute(QStringLiteral("DELETE FROM \"SyncAccount\""));
}

} // namespace tovren::sync
