#pragma once
// A real address book per test, filled with the rows a test names, and a
// recordset opened on it the way the program opens one. The book is the
// embedded file, or a fresh database on the test cluster made into a book
// as tovren-mkdb makes one: what concerns the database is tested on both.

#include "data/connection.h"
#include "data/database_io.h"
#include "data/recordset.h"
#include "records/schema.h"
#include "records/server_book.h"
#include "support/pg_cluster.h"
#include "support/test_helpers.h"

#include <QTemporaryDir>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <memory>

enum class Backend { Sqlite, Postgres };

class RecordsetTest : public ::testing::Test {
protected:
    // The book is made here, so that the constructors of derived fixtures
    // may use it; SetUp skips the test when there is no server to make it on.
    explicit RecordsetTest(Backend backend = Backend::Sqlite) : m_backend(backend)
    {
        if (backend == Backend::Sqlite) {
            records::createDatabase(m_path);
            m_connectionString = QStringLiteral("Data Source=") + m_path;
        } else {
            testing_support::PgCluster* pg = testing_support::PgCluster::shared();
            if (!pg)
                return;
            const QString database = pg->createDatabase();
            EXPECT_FALSE(database.isEmpty()) << pg->error().toStdString();
            m_connectionString = pg->connectionString(database);
            records::createServerBook(m_connectionString);
        }
        m_connection = data::Connection::open(m_connectionString);
    }
    void SetUp() override
    {
        if (!m_connection)
            GTEST_SKIP() << testing_support::PgCluster::missingServerMessage;
    }

    const QString& connectionString() const { return m_connectionString; }

    // Inserts a contact with the given columns; returns its key.
    qint64 insert(const QVariantMap& columns)
    {
        QStringList names;
        for (const QString& name : columns.keys())
            names << data::quotedName(name);
        m_connection->io().execute(
            QStringLiteral("INSERT INTO \"Address\" (%1) VALUES (%2)")
                .arg(names.join(','), QStringList(columns.size(), "?").join(',')),
            columns.values());
        return m_connection->io()
            .execute(QStringLiteral("SELECT max(\"AddressId\") FROM \"Address\""))[0][0]
            .toLongLong();
    }
    // Inserts contacts with just these names; returns the last one's key.
    qint64 insertNames(const QStringList& names)
    {
        qint64 key = 0;
        for (const QString& name : names)
            key = insert({{QStringLiteral("Name"), name}});
        return key;
    }

    // A disconnected recordset over `source`, as the record classes open one.
    std::unique_ptr<data::Recordset> open(const QString& source = QStringLiteral("Address"))
    {
        auto rs = std::make_unique<data::Recordset>();
        rs->setActiveConnection(connectionString());
        rs->Open(source);
        rs->disconnect();
        return rs;
    }

    // The values of `column`, the names unless told, in the recordset's order.
    static QStringList names(data::Recordset& rs, QStringView column = u"Name")
    {
        QStringList out;
        if (rs.RecordCount() == 0)
            return out;
        for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
            out << rs.value(column).toString();
        return out;
    }
    static QString current(data::Recordset& rs) { return rs.value(u"Name").toString(); }

    // Connects `rs` just to send its pending rows or to read its rows again.
    void connected(data::Recordset& rs, void (data::Recordset::*call)())
    {
        rs.setActiveConnection(connectionString());
        (rs.*call)();
        rs.disconnect();
    }

    // Runs `sql` on the book behind the recordsets' backs.
    void exec(const QString& sql) { m_connection->io().execute(sql); }

    // The stored addresses in key order, joined by bars, each as its
    // `columns` joined by slashes, Null as "-".
    QString stored(const QStringList& columns = {QStringLiteral("Name")})
    {
        QStringList quoted;
        for (const QString& column : columns)
            quoted << data::quotedName(column);
        QStringList rows;
        for (const QVariantList& row : m_connection->io().execute(
                 QStringLiteral("SELECT %1 FROM \"Address\" ORDER BY \"AddressId\"")
                     .arg(quoted.join(',')))) {
            QStringList values;
            for (const QVariant& value : row)
                values << (value.isValid() ? value.toString() : QStringLiteral("-"));
            rows << values.join(u'/');
        }
        return rows.join(u'|');
    }

    const Backend m_backend;
    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("TND.dbx"));
    QString m_connectionString;
    std::shared_ptr<data::Connection> m_connection;
};

// The same cases on each backend, named after it ("Backends/Suite.Case/Postgres").
class BackendTest : public RecordsetTest, public ::testing::WithParamInterface<Backend> {
protected:
    BackendTest() : RecordsetTest(GetParam()) {}
};

inline auto bothBackends()
{
    return ::testing::Values(Backend::Sqlite, Backend::Postgres);
}

inline void PrintTo(Backend backend, std::ostream* out)
{
    *out << (backend == Backend::Sqlite ? "Sqlite" : "Postgres");
}

inline std::string backendName(const ::testing::TestParamInfo<Backend>& info)
{
    return ::testing::PrintToString(info.param);
}

using testing_support::raised;
