#include "book_fixture.h"

#include "interchange/interchange_helpers.h"
#include "transfer/contacts_export.h"
#include "transfer/import_writer.h"

#include <QBuffer>

namespace transfer_tests {
namespace {

using interchange::Column;
using transfer::ExportFormat;

transfer::PickLists pickLists(transfer::AddressBook& book)
{
    return {transfer::PickList(book.salutations, QStringLiteral("Salutation")),
            transfer::PickList(book.religions, QStringLiteral("Religion"))};
}

std::vector<interchange::Contact> storedContacts(transfer::AddressBook& book)
{
    const transfer::PickLists lists = pickLists(book);
    std::vector<interchange::Contact> contacts;
    for (book.addresses.MoveFirst(); !book.addresses.isEOF(); book.addresses.MoveNext())
        contacts.push_back(transfer::contactOfRow(book.addresses, lists));
    return contacts;
}

QByteArray exported(transfer::AddressBook& book, ExportFormat format)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    transfer::exportContacts(book.addresses, pickLists(book), format, out);
    return out.data();
}

class ExportTest : public BookTest, public testing::WithParamInterface<ExportFormat> {
protected:
    // Two contacts stored through the import: every column filled, and one
    // with little but a name.
    void storeTwo()
    {
        interchange::Contact sparse;
        sparse[Column::Name] = QStringLiteral("Élodie Brun");
        sparse[Column::City] = QStringLiteral("Pune");
        transfer::ImportPlan planned;
        planned.contacts.push_back({interchange_tests::everyColumn(), QStringLiteral("t"),
                                    transfer::PlannedContact::Fate::Add, QString()});
        planned.contacts.push_back(
            {sparse, QStringLiteral("t"), transfer::PlannedContact::Fate::Add, QString()});
        auto book = openBook();
        transfer::writeImport(planned, *book);
    }
};

// Export, then import into an empty book, gives back every column of every row.
TEST_P(ExportTest, RoundTripThroughTheDatabaseKeepsEveryColumn)
{
    storeTwo();
    auto source = openBook();
    const QByteArray bytes = exported(*source, GetParam());

    const QString second = file(QStringLiteral("second.dbx"));
    records::createDatabase(second);
    transfer::AddressBook target(data::Connection::open(QStringLiteral("Data Source=") + second));
    ASSERT_TRUE(testing_support::writeBytes(file(QStringLiteral("out")), bytes));
    const transfer::ImportPlan planned =
        transfer::planImport(transfer::readContactFiles({file(QStringLiteral("out"))}), target);
    EXPECT_TRUE(planned.problems.isEmpty())
        << planned.problems.join(QLatin1Char('\n')).toStdString();
    transfer::writeImport(planned, target);

    auto before = storedContacts(*openBook());
    auto after = storedContacts(*std::make_unique<transfer::AddressBook>(
        data::Connection::open(QStringLiteral("Data Source=") + second)));
    ASSERT_EQ(after.size(), before.size());
    for (size_t row = 0; row < before.size(); ++row) {
        for (int c = 0; c < interchange::kColumnCount; ++c)
            EXPECT_EQ(after[row].values[size_t(c)], before[row].values[size_t(c)])
                << "row " << row << ", " << interchange::columnName(Column(c)).data();
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportTest,
                         testing::Values(ExportFormat::VCard3, ExportFormat::VCard4,
                                         ExportFormat::Csv));

TEST_F(BookTest, ExportFollowsTheRecordsetsFilterAndSort)
{
    interchange::Contact a, b, c;
    a[Column::Name] = QStringLiteral("Zia Pune");
    a[Column::City] = QStringLiteral("Pune");
    b[Column::Name] = QStringLiteral("Bob Delhi");
    b[Column::City] = QStringLiteral("Delhi");
    c[Column::Name] = QStringLiteral("Asha Pune");
    c[Column::City] = QStringLiteral("Pune");
    transfer::ImportPlan planned;
    for (const auto& contact : {a, b, c})
        planned.contacts.push_back(
            {contact, QStringLiteral("t"), transfer::PlannedContact::Fate::Add, QString()});
    auto book = openBook();
    transfer::writeImport(planned, *book);

    book = openBook();
    book->addresses.setFilter(QStringLiteral("City = 'Pune'"));
    book->addresses.setSort(QStringLiteral("Name"));
    const QByteArray csv = exported(*book, ExportFormat::Csv);
    const QList<QByteArray> lines = csv.split('\n');
    ASSERT_EQ(lines.size(), 4); // header, two rows, the empty rest
    EXPECT_TRUE(lines[1].contains("Asha Pune"));
    EXPECT_TRUE(lines[2].contains("Zia Pune"));
}

} // namespace
} // namespace transfer_tests
