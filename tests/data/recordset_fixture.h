#pragma once
// A real address book per test, filled with the rows a test names, and a
// recordset opened on it the way the program opens one.

#include "data/connection.h"
#include "data/recordset.h"
#include "records/schema.h"
#include "support/test_helpers.h"

#include "data/database_io.h"
#include <QTemporaryDir>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <memory>

class RecordsetTest : public ::testing::Test {
protected:
    RecordsetTest()
    {
        records::createDatabase(m_path);
        m_connection = data::Connection::open(connectionString());
    }

    QString connectionString() const { return QStringLiteral("Data Source=") + m_path; }

    // Inserts a contact with the given columns; returns its key.
    qint64 insert(const QVariantMap& columns)
    {
        m_connection->io().execute(
            QStringLiteral("INSERT INTO Address (%1) VALUES (%2)")
                .arg(columns.keys().join(','), QStringList(columns.size(), "?").join(',')),
            columns.values());
        return m_connection->io()
            .execute(QStringLiteral("SELECT max(AddressId) FROM Address"))[0][0]
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

    // `expression` over the stored addresses in key order, joined by bars.
    QString stored(const QString& expression = QStringLiteral("Name"))
    {
        QStringList values;
        for (const QVariantList& row : m_connection->io().execute(
                 "SELECT " + expression + " FROM Address ORDER BY AddressId"))
            values << row[0].toString();
        return values.join(u'|');
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("TND.dbx"));
    std::shared_ptr<data::Connection> m_connection;
};

using testing_support::raised;
