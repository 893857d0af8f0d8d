#include "book_fixture.h"

#include "interchange/interchange_helpers.h"
#include "transfer/contacts_export.h"
#include "transfer/import_writer.h"

#include <QBuffer>

namespace transfer_tests {
namespace {

using interchange::Column;
using transfer::ExportFormat;

std::vector<interchange::Contact> storedContacts(transfer::AddressBook& book)
{
    const transfer::PickLists lists = transfer::pickListsOf(book);
    std::vector<interchange::Contact> contacts;
    for (book.addresses.MoveFirst(); !book.addresses.isEOF(); book.addresses.MoveNext())
        contacts.push_back(transfer::contactOfRow(book.addresses, lists));
    return contacts;
}

QByteArray exported(transfer::AddressBook& book, ExportFormat format)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    transfer::exportContacts(book.addresses, transfer::pickListsOf(book), format, out);
    return out.data();
}

// Texts that a file format may bend, each put in every text column of a
// contact: line breaks of every kind, TABs, and spaces or breaks at the ends,
// none longer than the office extension's five characters.
struct Shape {
    const char* lead;
    const char* middle;
    const char* trail;
};
const Shape kShapes[] = {
    {"", "\n", ""},  {"", "\r\n", ""},   {"\r", "\r", ""},  {"\t", "\t", "\t"},
    {" ", " ", " "}, {"\n", "", "\r\n"}, {"", "\n\r", " "},
};

// Every text column as `shape` makes it (the pick lists are ids in the row,
// the dates no texts). A pin code is a number, so only its ends take the shape.
interchange::Contact shaped(const Shape& shape)
{
    interchange::Contact contact;
    for (int i = 0; i < interchange::kColumnCount; ++i) {
        const Column column = Column(i);
        if (interchange::isDate(column) || column == Column::SalutationId
            || column == Column::ReligionId)
            continue;
        const QString middle = QString::fromLatin1(shape.middle);
        const QString core = column == Column::PinCode   ? QStringLiteral("4")
                             : column == Column::EmlAddr ? QString(u"a@" + middle + u"b.in")
                                                         : QString(u'x' + middle + u'y');
        contact[column] = QLatin1String(shape.lead) + core + QLatin1String(shape.trail);
    }
    return contact;
}

class ExportTest : public BookTest, public testing::WithParamInterface<ExportFormat> {
protected:
    // Contacts stored through the import: every column filled; one with
    // little but a name, a city and a first street line of two; and one
    // for each shape of text.
    void storeContacts()
    {
        interchange::Contact sparse;
        sparse[Column::Name] = QStringLiteral("Élodie Brun");
        sparse[Column::City] = QStringLiteral("Pune");
        sparse[Column::Address1] = QStringLiteral("Flat 4\nBlock B");
        std::vector<interchange::Contact> contacts{interchange_tests::everyColumn(), sparse};
        for (const Shape& shape : kShapes)
            contacts.push_back(shaped(shape));
        transfer::ImportPlan planned;
        for (const interchange::Contact& contact : contacts)
            planned.contacts.push_back(
                {contact, QStringLiteral("t"), transfer::PlannedContact::Fate::Add, QString()});
        auto book = openBook();
        transfer::writeImport(planned, *book);
    }
};

// Export, then import into an empty book, gives back every column of every
// row, character for character.
TEST_P(ExportTest, RoundTripThroughTheDatabaseKeepsEveryColumn)
{
    storeContacts();
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
    for (const transfer::PlannedContact& contact : planned.contacts)
        EXPECT_TRUE(contact.contact.notes.isEmpty())
            << contact.contact.notes.join(u'\n').toStdString();
    transfer::writeImport(planned, target);

    auto before = storedContacts(*openBook());
    auto after = storedContacts(*std::make_unique<transfer::AddressBook>(
        data::Connection::open(QStringLiteral("Data Source=") + second)));
    EXPECT_EQ(after.size(), before.size()) << "a text bent on the way makes a row a duplicate";
    for (size_t row = 0; row < std::min(before.size(), after.size()); ++row) {
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
