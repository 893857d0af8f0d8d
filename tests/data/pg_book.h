#pragma once
// A shared address book on the test cluster for the tests of several
// clients at once: made in a fresh database, its contacts numbered, and all
// of its rows read back whole to compare before and after.

#include "support/pg_cluster.h"

#include "data/connection.h"
#include "data/database_io.h"
#include "records/server_book.h"

#include <QStringList>

class PgBookTest : public testing_support::PgDatabaseTest {
protected:
    // The book with `contacts` contacts named C1, C2, ...; each counter
    // (Address3) at 0.
    void makeBook(int contacts)
    {
        m_book = m_pg->connectionString(m_database);
        records::createServerBook(m_book);
        sql("INSERT INTO \"Address\" (\"Name\", \"Address3\", \"SalutationId\", \"ReligionId\")"
            " SELECT 'C' || n, '0', 1, 1 FROM generate_series(1, ?::int) n",
            {contacts});
    }
    std::vector<QVariantList> sql(const QString& statement, const QVariantList& values = {})
    {
        return data::Connection::open(m_book)->io().execute(statement, values);
    }
    // Every row of Address, every column, in the order of the keys.
    QStringList allRows()
    {
        QStringList rows;
        for (const QVariantList& row :
             sql("SELECT a::text FROM \"Address\" a ORDER BY \"AddressId\""))
            rows << row[0].toString();
        return rows;
    }

    QString m_book;
};
