#include "interchange_helpers.h"

#include "interchange/contacts_file.h"
#include "interchange/vcard_reader.h"

#include <gtest/gtest.h>

using namespace interchange;
using interchange_tests::fields;
using interchange_tests::sample;
using C = interchange::Column;

namespace {

QString lines(std::initializer_list<const char*> each)
{
    QString text;
    for (const char* line : each)
        text += QString::fromUtf8(line) + QLatin1String("\r\n");
    return text;
}

bool noted(const Contact& contact, const char* words)
{
    return contact.notes.join(QLatin1Char('\n')).contains(QLatin1String(words));
}

} // namespace

TEST(VCardReader, Version21QuotedPrintableCharsetsGroupsAndBareTypes)
{
    const ContactsRead read = readContacts(sample("vcard21.vcf"));
    ASSERT_EQ(read.contacts.size(), 2u) << qPrintable(read.problems.join(QLatin1Char('\n')));
    EXPECT_TRUE(read.problems.isEmpty());
    const Contact& rahul = read.contacts[0];
    EXPECT_EQ(fields(rahul, {C::Name, C::SalutationId, C::Company, C::PhOff1, C::PhOff2, C::PhRes1,
                             C::PhCell, C::PhFax, C::PhPager}),
              "Rähul Kumar Shärma|Shri|Vastu Traders, Accounts|022 2345 6789|022 2345 6790|"
              "022 2456 1111|98200 12345|022 2345 6799|960 111 2222");
    // The preferred address and e-mail win; the others are noted.
    EXPECT_EQ(fields(rahul, {C::Address1, C::Address2, C::City, C::PinCode, C::State, C::Country,
                             C::EmlAddr, C::DtBirth}),
              "12 Marine Drive|Nariman Point|Mumbai|400021|Maharashtra|India|rahul@vastu.example|"
              "1947-08-15");
    for (const char* words :
         {"7 Juhu Lane", "rahul.home@example.org", "PHOTO", "TITLE", "closes early on Saturdays"})
        EXPECT_TRUE(noted(rahul, words)) << words;
    EXPECT_FALSE(noted(rahul, "/9j/")) << "a photo is never kept as text";

    EXPECT_EQ(fields(read.contacts[1], {C::Name, C::PhRes1, C::EmlAddr, C::Address1, C::City}),
              "Jürgen Müller|+49 30 1234567|juergen@example.de|Straße 5|Köln");
}

TEST(VCardReader, Version40UriPhonesQuotedTypesAndYearlessBirthday)
{
    const ContactsRead read = readContacts(sample("vcard40.vcf"));
    ASSERT_EQ(read.contacts.size(), 2u) << qPrintable(read.problems.join(QLatin1Char('\n')));
    const Contact& meera = read.contacts[0];
    EXPECT_EQ(fields(meera, {C::Name, C::SalutationId, C::PhOff1, C::PhExt, C::PhRes1, C::PhCell,
                             C::Address1, C::City, C::DtMarriage}),
              "Meera Iyer|Dr.|+91-44-28112233|412|+91-44-24991000|+91 94440 12345|"
              "45 Anna Salai, Block C|Chennai|1996-09-04");
    EXPECT_EQ(meera[Column::DtBirth], QString()) << "a year is never invented";
    for (const char* words : {"--0415", "PHOTO", "Met at the design fair, 2019. Prefers e-mail."})
        EXPECT_TRUE(noted(meera, words)) << words;

    // A company's card names no person.
    EXPECT_EQ(fields(read.contacts[1], {C::Name, C::Company, C::PhFax}),
              "|Sundaram Textiles|+91 422 1234567");
}

TEST(VCardReader, Version30EscapesAndTypeLists)
{
    const ContactsRead read = readVCards(lines({
        "BEGIN:VCARD",
        "VERSION:3.0",
        "FN:O\\,Brien\\; Pat \\\\ Co",
        "N:O'Brien;Pat;;;",
        "ADR;TYPE=dom,work,postal:;;1 Main St\\nSuite 2\\nBlock 3\\nTower 4;Pune;;411001;",
        "TEL;TYPE=work;TYPE=fax:020 1234",
        "TEL:020 9999",
        "EMAIL;TYPE=internet,pref:pat@example.com",
        "FN:Patrick O'Brien",
        "END:VCARD",
    }));
    ASSERT_EQ(read.contacts.size(), 1u);
    const Contact& pat = read.contacts[0];
    EXPECT_EQ(fields(pat, {C::Name, C::Address1, C::Address2, C::Address3, C::PhFax, C::PhRes1,
                           C::EmlAddr}),
              "O,Brien; Pat \\ Co|1 Main St|Suite 2|Block 3, Tower 4|020 1234|020 9999|"
              "pat@example.com");
    EXPECT_EQ(pat.notes, QStringList{QStringLiteral("FN (line 9) is left out: Tovren keeps one, "
                                                    "the first.")});
}

TEST(VCardReader, UnwelcomeCardsAreReportedAndWhatTheyHoldIsKept)
{
    const QString longLine = QLatin1String("NOTE:") + QString(kLongestLine + 10, QLatin1Char('x'));
    const QString text = lines({
                             "stray text before any card",
                             "BEGIN:VCARD",
                             "VERSION:3.0",
                             "ORG:Nobody Ltd",
                             "END:VCARD",
                             "BEGIN:VCARD",
                             "VERSION:3.0",
                             "NOTE:a card with no name and no e-mail",
                             "END:VCARD",
                             "BEGIN:VCARD",
                             "VERSION:3.0",
                             "EMAIL:only@example.com",
                             "END:VCARD",
                             "BEGIN:VCARD",
                             "FN:Long Line",
                         })
                         + longLine
                         + lines({"", "BEGIN:VCARD", "FN:Cut Short", "EMAIL:cut@example.com"});
    const ContactsRead read = readVCards(text);
    ASSERT_EQ(read.contacts.size(), 3u);
    EXPECT_EQ(read.contacts[0][Column::Company], QLatin1String("Nobody Ltd"));
    EXPECT_EQ(read.contacts[1][Column::Name], QLatin1String("Long Line"));
    EXPECT_TRUE(noted(read.contacts[1], "longer than 100000"));
    EXPECT_EQ(read.contacts[2][Column::EmlAddr], QLatin1String("cut@example.com"));
    EXPECT_TRUE(noted(read.contacts[2], "END:VCARD"));
    const QString problems = read.problems.join(QLatin1Char('\n'));
    for (const char* problem :
         {"Card 2 (line 6, (no name)) is left out", "Card 3 (line 10, only@example.com)",
          "Card 4 (line 14) has no END:VCARD", "Card 5 (line 17) has no END:VCARD",
          "1 line(s) outside any card"})
        EXPECT_TRUE(problems.contains(QLatin1String(problem))) << problem;
}

// A card refused for want of a name whose line was too long to read says so,
// and who it is, rather than that it has no name.
TEST(VCardReader, ANameTooLongToReadIsToldAsSuch)
{
    const QString name = QLatin1String("Asha ") + QString(200000, QLatin1Char('r'));
    const QString card = lines({"BEGIN:VCARD", "VERSION:3.0"}) + QLatin1String("FN:") + name
                         + QLatin1String("\r\nN:") + name + QLatin1String(";;;;\r\n")
                         + lines({"EMAIL:asha@example.in", "END:VCARD"});
    const ContactsRead read = readVCards(card);
    EXPECT_TRUE(read.contacts.empty());
    EXPECT_EQ(read.problems,
              QStringList{QLatin1String("Card 1 (line 1, Asha ") + QString(52, QLatin1Char('r'))
                          + QLatin1String("...) is left out: its FN line (line 3) is longer than "
                                          "100000 characters.")});
}

TEST(VCardReader, ValuesTheRecordRefusesOrCannotHoldAreNoted)
{
    const ContactsRead read = readVCards(lines({
        "BEGIN:VCARD",
        "VERSION:3.0",
        "FN:A Name Far Longer Than The Forty Characters Of The Card",
        "ADR:;;;London;;SW1A 1AA;UK",
        "EMAIL:no-at-sign.example.com",
        "END:VCARD",
    }));
    ASSERT_EQ(read.contacts.size(), 1u);
    const Contact& c = read.contacts[0];
    EXPECT_EQ(c[Column::Name], QLatin1String("A Name Far Longer Than The Forty Charact"));
    EXPECT_TRUE(noted(c, "'ers Of The Card' is lost"));
    EXPECT_EQ(c[Column::PinCode], QString());
    EXPECT_TRUE(noted(c, "invalid pincode"));
    EXPECT_EQ(c[Column::EmlAddr], QString());
    EXPECT_TRUE(noted(c, "'@' sign"));
}
