#pragma once
// A fresh address book file per test, opened as the import and the export
// open it or as tovren-book finds it, and the contacts written into files
// to import.

#include "transfer/address_book.h"
#include "transfer/import_plan.h"

#include "data/connection.h"
#include "data/database_io.h"
#include "records/schema.h"
#include "support/run_program.h"
#include "support/test_helpers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace transfer_tests {

class BookTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        records::createDatabase(bookPath());
    }

    QString bookPath() const { return m_dir.filePath(QStringLiteral("TND.dbx")); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    // The book as stored now, read through a connection of its own.
    std::unique_ptr<transfer::AddressBook> openBook() const
    {
        return std::make_unique<transfer::AddressBook>(
            data::Connection::open(QStringLiteral("Data Source=") + bookPath()));
    }

    // `bytes` written as the file `name`, planned against the stored book.
    transfer::ImportPlan plan(const QString& name, const QByteArray& bytes,
                              transfer::AddressBook& book) const
    {
        EXPECT_TRUE(testing_support::writeBytes(file(name), bytes));
        return transfer::planImport(transfer::readContactFiles({file(name)}), book);
    }

    // Runs `sql` on the book through a connection of its own; the rows it gives.
    std::vector<QVariantList> execute(const QString& sql) const
    {
        return data::Connection::open(QStringLiteral("Data Source=") + bookPath())
            ->io()
            .execute(sql);
    }

    // tovren-book run on this test's book folder, as a script runs it.
    testing_support::Ran tool(const QStringList& args) const
    {
        return testing_support::runProgram(
            QStringLiteral("tovren-book"),
            QStringList{QStringLiteral("--home"), QFileInfo(bookPath()).path()} + args);
    }

    int storedCount(const char* table) const
    {
        auto book = openBook();
        data::Recordset& rows = QLatin1String(table) == QLatin1String("Address") ? book->addresses
                                : QLatin1String(table) == QLatin1String("Salutation")
                                    ? book->salutations
                                    : book->religions;
        return rows.RecordCount();
    }

private:
    QTemporaryDir m_dir;
};

} // namespace transfer_tests
