// The sync state kept in the book, on a book file and on a PostgreSQL book
// alike: made on first use only, stored with the rows it describes, and the
// book's own changes found from it.

#include "sync/stored_card.h"
#include "sync/synced_book.h"
#include "sync/vcard_patch.h"

#include "data/connection.h"
#include "data/database_io.h"
#include "platform/runtime_error.h"
#include "records/schema.h"
#include "records/server_book.h"
#include "support/pg_cluster.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using interchange::Column;
using namespace tovren::sync;

interchange::Contact person(const QString& name, const QString& city)
{
    interchange::Contact contact;
    contact[Column::Name] = name;
    contact[Column::City] = city;
    return contact;
}

// A card on the server for `contact`, as if synced.
CardState synced(const interchange::Contact& contact, const QString& href)
{
    return {0,
            href,
            QStringLiteral("\"e1\""),
            newVCard(contact, href, interchange::VCardVersion::V3),
            href,
            QByteArray()};
}

// The book: a file, or a database on the test cluster.
class StateTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam()) {
            m_pg = testing_support::PgCluster::shared();
            if (!m_pg)
                GTEST_SKIP() << testing_support::PgCluster::missingServerMessage;
            m_database = m_pg->createDatabase();
            m_string = m_pg->connectionString(m_database);
            records::createServerBook(m_string);
        } else {
            records::createDatabase(m_dir.filePath(QStringLiteral("TND.dbx")));
            m_string = QStringLiteral("Data Source=") + m_dir.filePath(QStringLiteral("TND.dbx"));
        }
    }
    void TearDown() override
    {
        if (m_pg && !m_database.isEmpty())
            m_pg->dropDatabase(m_database);
    }

    std::shared_ptr<data::Connection> open() const { return data::Connection::open(m_string); }
    std::vector<QVariantList> sql(const QString& statement) const
    {
        return open()->io().execute(statement);
    }

    QTemporaryDir m_dir;
    testing_support::PgCluster* m_pg = nullptr;
    QString m_database;
    QString m_string;
};

TEST_P(StateTest, TablesAreMadeOnlyWhenASyncNeedsThem)
{
    {
        SyncedBook reading(open(), true);
        EXPECT_TRUE(reading.ids().empty());
        EXPECT_TRUE(reading.account().url.isEmpty());
    }
    auto connection = open();
    EXPECT_FALSE(SyncState(*connection).exists()) << "a look changes nothing";
    SyncedBook book(connection);
    EXPECT_TRUE(SyncState(*connection).exists());
    SyncedBook again(open()); // made once, found after
    EXPECT_TRUE(again.ids().empty());
}

TEST_P(StateTest, RowsAndStatesAreStoredTogether)
{
    const interchange::Contact asha = person(QStringLiteral("Asha"), QStringLiteral("Pune"));
    {
        SyncedBook book(open());
        SyncedBook::Batch batch(book);
        batch.add(asha, synced(asha, QStringLiteral("/c/asha.vcf")));
        batch.add(person(QStringLiteral("Ravi"), QString()), {});
        batch.setAccount(
            {QStringLiteral("http://h/c/"), QStringLiteral("t1"), QStringLiteral("c1")});
        batch.commit();
    }
    SyncedBook book(open());
    const std::vector<qint64> ids = book.ids();
    ASSERT_EQ(ids.size(), 2u);
    const CardState* state = book.stateOfHref(QStringLiteral("/c/asha.vcf"));
    ASSERT_TRUE(state);
    EXPECT_EQ(book.contact(state->addressId)->values, asha.values);
    EXPECT_EQ(state->vcard, synced(asha, QStringLiteral("/c/asha.vcf")).vcard);
    EXPECT_EQ(book.account().token, QStringLiteral("t1"));
    EXPECT_EQ(book.account().ctag, QStringLiteral("c1"));

    // A batch that fails stores neither rows nor states.
    sql(QStringLiteral("UPDATE \"Address\" SET \"City\" = 'Goa'"));
    SyncedBook::Batch failing(book);
    failing.update(state->addressId, person(QStringLiteral("Asha"), QStringLiteral("Agra")));
    failing.add(person(QStringLiteral("Meera"), QString()), synced(asha, QStringLiteral("/m")));
    EXPECT_THROW(failing.commit(), platform::RunTimeError);
    SyncedBook after(open());
    EXPECT_EQ(after.ids().size(), 2u);
    EXPECT_FALSE(after.stateOfHref(QStringLiteral("/m")));

    // A state stored again takes the place of the one before.
    CardState again = *after.stateOfHref(QStringLiteral("/c/asha.vcf"));
    again.etag = QStringLiteral("\"e2\"");
    SyncedBook::Batch replacing(after);
    replacing.putState(again);
    replacing.commit();
    EXPECT_EQ(SyncedBook(open()).stateOfHref(QStringLiteral("/c/asha.vcf"))->etag, again.etag);
    EXPECT_EQ(sql(QStringLiteral("SELECT 1 FROM \"SyncCard\"")).size(), 1u);
}

TEST_P(StateTest, LocalChangesAreFoundFromTheStoredCards)
{
    // A salutation the card spells in its own case is the list's entry.
    interchange::Contact doctor = person(QStringLiteral("Kiran"), QStringLiteral("Goa"));
    doctor[Column::SalutationId] = QStringLiteral("dr.");
    struct Row {
        const char* name;
        bool withState;
        bool answered;
        const char* edit; // SQL run on the row after the sync
        LocalChange expected;
    };
    const Row rows[] = {
        {"new", false, true, nullptr, LocalChange::New},
        {"sent, unanswered", true, false, nullptr, LocalChange::New},
        {"untouched", true, true, nullptr, LocalChange::None},
        {"edited", true, true, "UPDATE \"Address\" SET \"City\" = 'Agra' WHERE \"AddressId\" = %1",
         LocalChange::Edited},
        {"deleted", true, true, "DELETE FROM \"Address\" WHERE \"AddressId\" = %1",
         LocalChange::Deleted},
        {"sent, unanswered, deleted", true, false,
         "DELETE FROM \"Address\" WHERE \"AddressId\" = %1", LocalChange::Deleted},
    };
    std::vector<qint64> ids;
    {
        SyncedBook book(open());
        SyncedBook::Batch batch(book);
        for (const Row& row : rows) {
            CardState state = synced(doctor, QLatin1String(row.name));
            if (!row.answered)
                state.etag.clear();
            batch.add(doctor, row.withState ? state : CardState{});
        }
        ids = batch.commit();
    }
    for (size_t i = 0; i < std::size(rows); ++i) {
        if (rows[i].edit)
            sql(QString::fromLatin1(rows[i].edit).arg(ids[i]));
    }
    SyncedBook book(open());
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(book.localChange(ids[i]), rows[i].expected) << rows[i].name;
    EXPECT_EQ(book.contact(ids[2])->values[size_t(Column::SalutationId)], QStringLiteral("Dr."));
}

INSTANTIATE_TEST_SUITE_P(Books, StateTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "PostgreSQL" : "File";
                         });

} // namespace
