// Contacts exported as CSV by other address books: Google Contacts (the
// header it writes today and its older one) and Outlook, with their
// numbered phones and labels and their several addresses.

#include "interchange_helpers.h"

#include "interchange/contacts_file.h"
#include "interchange/csv_reader.h"

#include <gtest/gtest.h>

using namespace interchange;
using interchange_tests::filledColumns;

namespace {

QStringList notesOf(const std::vector<Contact>& contacts)
{
    QStringList notes;
    for (const Contact& contact : contacts) {
        for (const QString& note : contact.notes)
            notes << contact.label() + QStringLiteral(": ") + note;
    }
    return notes;
}

struct ExportCase {
    const char* file;
    std::vector<const char*> contacts; // each one's filled columns, in the file's order
    std::vector<const char*> notes;    // among the notes, each after its contact's label
};

class CsvExports : public testing::TestWithParam<ExportCase> {};

TEST_P(CsvExports, PhonesGoByLabelAndOneAddressIsKept)
{
    const ContactsRead read = readContacts(interchange_tests::sample(GetParam().file));
    EXPECT_EQ(read.problems, QStringList());
    QStringList rows, expected;
    for (const Contact& contact : read.contacts)
        rows << filledColumns(contact);
    for (const char* row : GetParam().contacts)
        expected << QString::fromUtf8(row);
    EXPECT_EQ(rows, expected);
    const QStringList notes = notesOf(read.contacts);
    for (const char* note : GetParam().notes)
        EXPECT_TRUE(notes.contains(QString::fromUtf8(note)))
            << note << "\namong\n"
            << qPrintable(notes.join(QLatin1Char('\n')));
}

INSTANTIATE_TEST_SUITE_P(
    Interchange, CsvExports,
    testing::Values(
        ExportCase{
            "google.csv",
            {"Salutation=Mr.|Name=Rahul Mehta|Company=Mehta Exports|Address1=12 MG Road|"
             "Address2=Block C|City=Bengaluru|PinCode=560001|State=Karnataka|Country=India|"
             "PhOff1=080 4110 2200|PhRes1=080 2555 0101|PhCell=+91 98450 12345|"
             "DtBirth=1985-03-14|EmlAddr=rahul@mehta-exports.example",
             "Company=Sundaram Textiles|Address1=45 Anna Salai|Address2=Second Floor|"
             "City=Chennai|PinCode=600002|Country=India|PhFax=044 2811 0099|"
             "PhRes1=044 2811 0000|EmlAddr=orders@sundaram.example",
             "Name=Meera Iyer|Address1=Nariman Point|Address2=PO Box 1204|City=Mumbai|"
             "PinCode=400021|State=Maharashtra|Country=India|PhOff1=022 6600 2200|"
             "PhFax=022 2640 0099|PhCell=98200 11111|PhPager=960 111 2222|"
             "EmlAddr=meera@iyer.example",
             "Name=Arjun K. Rao|Address1=1600 Villa St|Address2=Apt 5|"
             "Address3=Mountain View CA 94043|PhOff1=+1 650 555 0100|PhOff2=+1 650 555 0101|"
             "PhRes1=+1 650 555 0134",
             "Name=Zoë Ångström|EmlAddr=zoe@example.se"},
            {"Sundaram Textiles: The label 'Main' of the phone 044 2811 0000 is left out: "
             "Tovren keeps the number in PhRes1.",
             "Meera Iyer: Address 1 (Home) '7 Carter Road, Mumbai, 400050' is left out: Tovren "
             "keeps one, Address 2 (Work).",
             "Meera Iyer: The e-mail address meera.iyer@work.example is left out: Tovren keeps "
             "one.",
             "Arjun K. Rao: The label 'Google Voice' of the phone +1 650 555 0134 is left out: "
             "Tovren keeps the number in PhRes1."}},
        ExportCase{"google_old.csv",
                   {"Name=Kavita Shah|Company=Shah & Sons|Address1=3 Law Garden|City=Ahmedabad|"
                    "PinCode=380006|Country=India|PhOff1=079 2656 1000|PhCell=98201 33333|"
                    "EmlAddr=kavita@shah.example",
                    "Salutation=Dr.|Name=Dev Patel|PhFax=0265 235 0099|PhRes1=0265 235 0011|"
                    "PhPager=960 222 3333|DtBirth=1970-01-26"},
                   {"Kavita Shah: The phone 98201 44444 has no free place: its columns are "
                    "taken."}},
        ExportCase{"outlook.csv",
                   {"Name=Anita Desai|Company=Desai, Rao & Co.|Address1=Flat 4, Sea View|"
                    "Address2=Carter Road|City=Mumbai|PinCode=400050|State=Maharashtra|"
                    "Country=India|PhOff1=022 2600 1234|PhRes1=022 2640 0001|"
                    "PhCell=98201 55555|EmlAddr=anita@desairao.example",
                    "Name=Vikram Seth|Address1=9 Prithviraj Road|City=New Delhi|PinCode=110011|"
                    "State=Delhi|Country=India|PhRes1=011 2301 4567|PhRes2=011 2301 4568|"
                    "EmlAddr=vikram@example.in",
                    "Salutation=Ms.|Name=Priya Nair|Address1=Marine Drive|Address2=PO Box 77|"
                    "City=Kochi|PinCode=682031|State=Kerala|PhFax=0484 237 0099|"
                    "PhCell=94470 12345|PhPager=960 333 4444",
                    "Company=Kaveri Traders|Address1=Unit 12|Address2=Industrial Estate|"
                    "Address3=Hosur Road|City=Bengaluru|PinCode=560068|Country=India|"
                    "PhOff1=080 2573 0001|PhOff2=080 2573 0002"},
                   {"Anita Desai: The home address '22 Pali Hill, Mumbai, 400052, India' is left "
                    "out: Tovren keeps one, the business address.",
                    "Kaveri Traders: The home address 'Mysuru' is left out: Tovren keeps one, the "
                    "business address."}}),
    [](const testing::TestParamInfo<ExportCase>& info) {
        return QString::fromLatin1(info.param.file).section(QLatin1Char('.'), 0, 0).toStdString();
    });

// Odd cells and headers: labels after their numbers, more labels than
// numbers, empty joins, numbers past what Google writes, long labels.
struct CellCase {
    const char* header;
    const char* cells;
    const char* filled;
    const char* notes; // all of them, one a line
};

class CsvLabelledCells : public testing::TestWithParam<CellCase> {};

TEST_P(CsvLabelledCells, AreReadAsTheirGroupsSay)
{
    const ContactsRead read =
        readCsv(QStringLiteral("Name,%1\nX,%2\n")
                    .arg(QLatin1String(GetParam().header), QString::fromUtf8(GetParam().cells)));
    ASSERT_EQ(read.contacts.size(), 1u) << qPrintable(read.problems.join(QLatin1Char('\n')));
    EXPECT_EQ(filledColumns(read.contacts[0]), QLatin1String(GetParam().filled));
    EXPECT_EQ(read.contacts[0].notes.join(QLatin1Char('\n')), QString::fromUtf8(GetParam().notes));
}

INSTANTIATE_TEST_SUITE_P(
    Interchange, CsvLabelledCells,
    testing::Values(
        CellCase{"Phone 1 - Value,Phone 1 - Label", "123,Work Fax", "Name=X|PhFax=123", ""},
        CellCase{"Phone 1 - Label,Phone 1 - Value", "* Mobile ::: Home ::: Work,1 ::: 2",
                 "Name=X|PhCell=1", "The phone 2 has no free place: its columns are taken."},
        CellCase{"Phone 1 - Label,Phone 1 - Value", " ::: , :::  ::: 7 ", "Name=X|PhRes1=7", ""},
        CellCase{"Phone 1 - Label,Phone 1 - Value,Phone 2 - Value", "Pager,1,2",
                 "Name=X|PhRes1=2|PhPager=1", ""},
        CellCase{"Phone 1 - Label,Phone 1 - Value,Phone 1 - Label", "Work,1,Home",
                 "Name=X|PhOff1=1",
                 "Phone 1 - Label 'Home' is left out: Tovren has no place for it."},
        CellCase{"Phone 10000 - Value", "1", "Name=X",
                 "Phone 10000 - Value '1' is left out: Tovren has no place for it."},
        CellCase{"Address 2 - Label,Address 2 - City,Address 1 - City", "* Work,Pune,Goa",
                 "Name=X|City=Pune",
                 "Address 1 'Goa' is left out: Tovren keeps one, Address 2 (Work)."},
        CellCase{"Address 1 - Label,Address 1 - Street", "* Home,", "Name=X", ""},
        CellCase{"Home Address,Home City,Work City", "1 Lake Rd,Nagpur,Pune", "Name=X|City=Pune",
                 "The home address '1 Lake Rd, Nagpur' is left out: Tovren keeps one, the work "
                 "address."},
        CellCase{"Home City,HOME CITY", "Pune,Goa", "Name=X|City=Pune",
                 "HOME CITY 'Goa' is left out: Tovren has no place for it."}));

TEST(CsvLabelledCells, ALongLabelIsNotedWholeWithItsNumber)
{
    const QString label(50000, QLatin1Char('x'));
    const ContactsRead read =
        readCsv(QStringLiteral("Name,Phone 1 - Label,Phone 1 - Value\nX,%1,555\n").arg(label));
    ASSERT_EQ(read.contacts.size(), 1u);
    EXPECT_EQ(filledColumns(read.contacts[0]), QLatin1String("Name=X|PhRes1=555"));
    EXPECT_EQ(read.contacts[0].notes,
              QStringList{QStringLiteral("The label '%1' of the phone 555 is left out: Tovren "
                                         "keeps the number in PhRes1.")
                              .arg(label)});
}

} // namespace
