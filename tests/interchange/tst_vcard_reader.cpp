#include "interchange_helpers.h"

#include "interchange/contacts_file.h"
#include "interchange/vcard_reader.h"

#include <gtest/gtest.h>

using namespace interchange;
using interchange_tests::sample;

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
    EXPECT_EQ(rahul[Column::Name], QStringLiteral("Rähul Kumar Shärma"));
    EXPECT_EQ(rahul[Column::SalutationId], QLatin1String("Shri"));
    EXPECT_EQ(rahul[Column::Company], QLatin1String("Vastu Traders, Accounts"));
    EXPECT_EQ(rahul[Column::PhOff1], QLatin1String("022 2345 6789"));
    EXPECT_EQ(rahul[Column::PhOff2], QLatin1String("022 2345 6790"));
    EXPECT_EQ(rahul[Column::PhRes1], QLatin1String("022 2456 1111"));
    EXPECT_EQ(rahul[Column::PhCell], QLatin1String("98200 12345"));
    EXPECT_EQ(rahul[Column::PhFax], QLatin1String("022 2345 6799"));
    EXPECT_EQ(rahul[Column::PhPager], QLatin1String("960 111 2222"));
    // The preferred address and e-mail win; the others are noted.
    EXPECT_EQ(rahul[Column::Address1], QLatin1String("12 Marine Drive"));
    EXPECT_EQ(rahul[Column::Address2], QLatin1String("Nariman Point"));
    EXPECT_EQ(rahul[Column::City], QLatin1String("Mumbai"));
    EXPECT_EQ(rahul[Column::PinCode], QLatin1String("400021"));
    EXPECT_EQ(rahul[Column::State], QLatin1String("Maharashtra"));
    EXPECT_EQ(rahul[Column::Country], QLatin1String("India"));
    EXPECT_EQ(rahul[Column::EmlAddr], QLatin1String("rahul@vastu.example"));
    EXPECT_EQ(rahul[Column::DtBirth], QLatin1String("1947-08-15"));
    EXPECT_TRUE(noted(rahul, "7 Juhu Lane"));
    EXPECT_TRUE(noted(rahul, "rahul.home@example.org"));
    EXPECT_TRUE(noted(rahul, "PHOTO"));
    EXPECT_TRUE(noted(rahul, "TITLE"));
    EXPECT_TRUE(noted(rahul, "closes early on Saturdays"));
    EXPECT_FALSE(noted(rahul, "/9j/")) << "a photo is never kept as text";

    const Contact& juergen = read.contacts[1];
    EXPECT_EQ(juergen[Column::Name], QStringLiteral("Jürgen Müller"));
    EXPECT_EQ(juergen[Column::PhRes1], QLatin1String("+49 30 1234567"));
    EXPECT_EQ(juergen[Column::EmlAddr], QLatin1String("juergen@example.de"));
    EXPECT_EQ(juergen[Column::Address1], QStringLiteral("Straße 5"));
    EXPECT_EQ(juergen[Column::City], QStringLiteral("Köln"));
}

TEST(VCardReader, Version40UriPhonesQuotedTypesAndYearlessBirthday)
{
    const ContactsRead read = readContacts(sample("vcard40.vcf"));
    ASSERT_EQ(read.contacts.size(), 2u) << qPrintable(read.problems.join(QLatin1Char('\n')));
    const Contact& meera = read.contacts[0];
    EXPECT_EQ(meera[Column::Name], QLatin1String("Meera Iyer"));
    EXPECT_EQ(meera[Column::SalutationId], QLatin1String("Dr."));
    EXPECT_EQ(meera[Column::PhOff1], QLatin1String("+91-44-28112233"));
    EXPECT_EQ(meera[Column::PhExt], QLatin1String("412"));
    EXPECT_EQ(meera[Column::PhRes1], QLatin1String("+91-44-24991000"));
    EXPECT_EQ(meera[Column::PhCell], QLatin1String("+91 94440 12345"));
    EXPECT_EQ(meera[Column::Address1], QLatin1String("45 Anna Salai, Block C"));
    EXPECT_EQ(meera[Column::City], QLatin1String("Chennai"));
    EXPECT_EQ(meera[Column::DtMarriage], QLatin1String("1996-09-04"));
    EXPECT_EQ(meera[Column::DtBirth], QString()) << "a year is never invented";
    EXPECT_TRUE(noted(meera, "--0415"));
    EXPECT_TRUE(noted(meera, "PHOTO"));
    EXPECT_TRUE(noted(meera, "Met at the design fair, 2019. Prefers e-mail."));

    const Contact& company = read.contacts[1];
    EXPECT_EQ(company[Column::Name], QString()) << "a company's card names no person";
    EXPECT_EQ(company[Column::Company], QLatin1String("Sundaram Textiles"));
    EXPECT_EQ(company[Column::PhFax], QLatin1String("+91 422 1234567"));
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
    EXPECT_EQ(pat[Column::Name], QLatin1String("O,Brien; Pat \\ Co"));
    EXPECT_EQ(pat[Column::Address1], QLatin1String("1 Main St"));
    EXPECT_EQ(pat[Column::Address2], QLatin1String("Suite 2"));
    EXPECT_EQ(pat[Column::Address3], QLatin1String("Block 3, Tower 4"));
    EXPECT_EQ(pat[Column::PhFax], QLatin1String("020 1234"));
    EXPECT_EQ(pat[Column::PhRes1], QLatin1String("020 9999"));
    EXPECT_EQ(pat[Column::EmlAddr], QLatin1String("pat@example.com"));
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
    EXPECT_TRUE(problems.contains(QLatin1String("Card 2 (line 6, (no name)) is left out")));
    EXPECT_TRUE(problems.contains(QLatin1String("Card 3 (line 10, only@example.com)")));
    EXPECT_TRUE(problems.contains(QLatin1String("Card 4 (line 14) has no END:VCARD")));
    EXPECT_TRUE(problems.contains(QLatin1String("Card 5 (line 17) has no END:VCARD")));
    EXPECT_TRUE(problems.contains(QLatin1String("1 line(s) outside any card")));
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
