#include "interchange_helpers.h"

#include "interchange/contacts_file.h"
#include "interchange/csv_reader.h"
#include "interchange/csv_writer.h"

#include <gtest/gtest.h>

using namespace interchange;
using interchange_tests::everyColumn;
using interchange_tests::fields;
using interchange_tests::sample;
using C = interchange::Column;

TEST(Csv, WrittenThenReadGivesEveryColumnBack)
{
    Contact company;
    company[Column::Company] = QStringLiteral("Line\nbreak, \"quoted\"; Ltd");
    company[Column::Address1] = QStringLiteral(" leading and trailing ");
    const std::vector<Contact> contacts{everyColumn(), company};
    QByteArray csv = csvHeader();
    for (const Contact& contact : contacts)
        csv += csvRow(contact);
    const ContactsRead read = readContacts(csv);
    ASSERT_EQ(read.contacts.size(), contacts.size())
        << qPrintable(read.problems.join(QLatin1Char('\n')));
    for (size_t n = 0; n < contacts.size(); ++n) {
        for (int i = 0; i < kColumnCount; ++i)
            EXPECT_EQ(read.contacts[n].values[size_t(i)], contacts[n].values[size_t(i)])
                << qPrintable(columnName(Column(i)));
        EXPECT_TRUE(read.contacts[n].notes.isEmpty());
    }
    EXPECT_TRUE(csv.startsWith("Salutation,Name,Company,Religion,Address1,"));
}

TEST(Csv, SpreadsheetExportWithQuotedCommaQuoteAndLineBreak)
{
    const ContactsRead read = readContacts(sample("spreadsheet.csv"));
    ASSERT_EQ(read.contacts.size(), 2u) << qPrintable(read.problems.join(QLatin1Char('\n')));
    const Contact& anita = read.contacts[0];
    EXPECT_EQ(fields(anita, {C::Name, C::Company, C::Address1, C::Address2, C::PinCode, C::PhOff1,
                             C::PhCell, C::DtBirth}),
              "Anita Desai|Desai, Rao & Co.|Flat 4, \"Sea View\"|Carter Road|400050|022 2600 1234|"
              "98201 55555|1972-08-15");
    EXPECT_TRUE(anita.notes.isEmpty()) << qPrintable(anita.notes.join(QLatin1Char('\n')));
    const Contact& vikram = read.contacts[1];
    EXPECT_EQ(fields(vikram, {C::PhRes1, C::DtBirth}), "011 2301 4567|1952-06-20");
    EXPECT_EQ(vikram.notes, QStringList{QStringLiteral("Notes 'Likes \"tea\"' is left out: Tovren "
                                                       "has no place for it.")});
}

struct HeaderCase {
    const char* header;
    const char* cell;
    Column column;
};

class CsvHeaders : public testing::TestWithParam<HeaderCase> {};

TEST_P(CsvHeaders, UsualNamesFindTheirColumnWithoutRegardToCase)
{
    const QString text = QLatin1String("Company,") + QLatin1String(GetParam().header)
                         + QLatin1String("\nSomeone Ltd,") + QString::fromUtf8(GetParam().cell)
                         + QLatin1Char('\n');
    const ContactsRead read = readCsv(text);
    ASSERT_EQ(read.contacts.size(), 1u);
    EXPECT_EQ(read.contacts[0][GetParam().column], QString::fromUtf8(GetParam().cell));
}

INSTANTIATE_TEST_SUITE_P(
    Interchange, CsvHeaders,
    testing::Values(HeaderCase{"full name", "Asha Rao", Column::Name},
                    HeaderCase{"Display Name", "Asha Rao", Column::Name},
                    HeaderCase{"Given Name", "Asha", Column::Name},
                    HeaderCase{"Family Name", "Rao", Column::Name},
                    HeaderCase{"Street", "1 MG Road", Column::Address1},
                    HeaderCase{"ZIP", "560001", Column::PinCode},
                    HeaderCase{"Postcode", "560001", Column::PinCode},
                    HeaderCase{"Region", "Karnataka", Column::State},
                    HeaderCase{"Other City", "Pune", Column::City},
                    HeaderCase{"Address 1 - Extended Address", "Block C", Column::Address1},
                    HeaderCase{"Address 2 - Postal Code", "560001", Column::PinCode},
                    HeaderCase{"Country/Region", "India", Column::Country},
                    HeaderCase{"Phone", "080 1234", Column::PhRes1},
                    HeaderCase{"Home Phone", "080 1234", Column::PhRes1},
                    HeaderCase{"Work Phone", "080 1234", Column::PhOff1},
                    HeaderCase{"Mobile Phone", "98450 1234", Column::PhCell},
                    HeaderCase{"Fax", "080 1299", Column::PhFax},
                    HeaderCase{"Pager", "960 1234", Column::PhPager},
                    HeaderCase{"E-mail 1 - Value", "asha@example.in", Column::EmlAddr},
                    HeaderCase{"EMAIL", "asha@example.in", Column::EmlAddr},
                    HeaderCase{"Anniversary", "1999-12-01", Column::DtMarriage},
                    HeaderCase{"pincode", "560001", Column::PinCode},
                    HeaderCase{"DtJoining", "2001-04-01", Column::DtJoining}));

TEST(Csv, DelimiterIsTheOneTheHeaderUses)
{
    for (const char* text : {"Name;Email;City\nAsha Rao;asha@example.in;Pune, West\n",
                             "Name\tEmail\tCity\nAsha Rao\tasha@example.in\tPune, West\n",
                             "Name,Email,City\nAsha Rao,asha@example.in,\"Pune, West\"\n"}) {
        const ContactsRead read = readCsv(QString::fromLatin1(text));
        ASSERT_EQ(read.contacts.size(), 1u) << text;
        EXPECT_EQ(read.contacts[0][Column::City], QLatin1String("Pune, West")) << text;
    }
}

TEST(Csv, RowsOfTheWrongWidthAreReadAsFarAsTheyGoAndNoted)
{
    const ContactsRead read = readCsv(QStringLiteral("Name,Email,City\r\n"
                                                     "Short Row,short@example.in\r\n"
                                                     "\r\n"
                                                     "Long Row,long@example.in,Pune,extra,more\r\n"
                                                     ",,Nowhere\r\n"));
    ASSERT_EQ(read.contacts.size(), 2u);
    EXPECT_EQ(read.contacts[0][Column::EmlAddr], QLatin1String("short@example.in"));
    EXPECT_EQ(read.contacts[0].notes,
              QStringList{QStringLiteral("Row 2 has 2 cells where the header has 3.")});
    EXPECT_EQ(read.contacts[1][Column::City], QLatin1String("Pune"));
    EXPECT_EQ(read.contacts[1].notes,
              QStringList{QStringLiteral(
                  "Row 4 has 5 cells where the header has 3; 'extra', 'more' is left out.")});
    ASSERT_EQ(read.problems.size(), 1);
    EXPECT_TRUE(read.problems[0].startsWith(QLatin1String("Row 5 ((no name)) is left out")));
}

TEST(Csv, Windows1252AndUtf16FilesReadAsTheyWereWritten)
{
    const ContactsRead latin = readContacts(sample("windows1252.csv"));
    ASSERT_EQ(latin.contacts.size(), 1u);
    EXPECT_EQ(fields(latin.contacts[0], {C::Name, C::Company, C::City}),
              "José Núñez|Café € Olé|São Paulo");
    EXPECT_EQ(latin.encoding, QLatin1String("Windows-1252"));

    const ContactsRead wide = readContacts(sample("utf16.vcf"));
    ASSERT_EQ(wide.contacts.size(), 1u);
    EXPECT_EQ(wide.contacts[0][Column::Name], QStringLiteral("Zoë Ångström"));
    EXPECT_EQ(wide.encoding, QLatin1String("UTF-16LE"));

    QByteArray bigEndian("\xFE\xFF", 2);
    for (QChar c : QStringLiteral("Name,Email\nÅsa Berg,asa@example.se\n")) {
        bigEndian += char(c.unicode() >> 8);
        bigEndian += char(c.unicode() & 0xFF);
    }
    const ContactsRead big = readContacts(bigEndian);
    ASSERT_EQ(big.contacts.size(), 1u);
    EXPECT_EQ(big.contacts[0][Column::Name], QStringLiteral("Åsa Berg"));
    EXPECT_EQ(big.encoding, QLatin1String("UTF-16BE"));
}

TEST(Csv, ARowLongerThanTheLongestLineIsLeftOutAndTheNextIsRead)
{
    const QString text = QLatin1String("Name,Email\r\n\"") + QString(kLongestLine, QLatin1Char('x'))
                         + QLatin1String("\",x@example.in\r\nAsha Rao,asha@example.in\r\n");
    const ContactsRead read = readCsv(text);
    ASSERT_EQ(read.contacts.size(), 1u);
    EXPECT_EQ(read.contacts[0][Column::Name], QLatin1String("Asha Rao"));
    EXPECT_EQ(read.problems, QStringList{QStringLiteral(
                                 "Row 2 is left out: it is longer than 100000 characters.")});
}
