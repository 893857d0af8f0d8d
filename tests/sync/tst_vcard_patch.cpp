// An edit patches the server's text of a card: cards as phones and webmail
// write them, one column edited, come back with only the lines that carry
// that column (and REV) changed, every other line byte for byte.

#include "sync/stored_card.h"
#include "sync/vcard_patch.h"

#include "support/test_helpers.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using interchange::Column;
using namespace tovren::sync;

// An iPhone's card: grouped lines, Apple's labels, a folded photo.
const char* kPhone =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "PRODID:-//Apple Inc.//iPhone OS 17.1//EN\r\n"
    "N:Rao;Meera;;;\r\n"
    "FN:Meera Rao\r\n"
    "ORG:Sundaram Textiles;\r\n"
    "item1.EMAIL;type=INTERNET;type=pref:meera@sundaram.example\r\n"
    "item2.EMAIL;type=INTERNET:meera.rao@home.example\r\n"
    "item2.X-ABLabel:_$!<Other>!$_\r\n"
    "TEL;type=CELL;type=VOICE;type=pref:+91 98200 11111\r\n"
    "TEL;type=WORK;type=VOICE:022 2345 6789\r\n"
    "item3.ADR;type=HOME;type=pref:;;12 Marine Drive;Mumbai;MH;400020;India\r\n"
    "item3.X-ABADR:in\r\n"
    "BDAY;value=date:1980-05-17\r\n"
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAgGBgcGBQgHBwcJ\r\n"
    " Hh0aHBwgJC4nICIsIxwcKDcpLDAxNDQ0Hyc5PTgyPC4zNDL/2wBDAQkJCQwLDBgNDRgyIRwh\r\n"
    " MjIyMjIy\r\n"
    "X-SOCIALPROFILE;type=twitter:http://twitter.com/meerarao\r\n"
    "UID:8F2A1C3E-1111-4C2B-9D3E-ABCDEF012345\r\n"
    "REV:2026-11-30T10:15:00Z\r\n"
    "END:VCARD\r\n";

// An Android phone's 2.1 export: quoted-printable names, bare types, a
// BASE64 photo ended by a blank line.
const char* kAndroid = "BEGIN:VCARD\r\n"
                       "VERSION:2.1\r\n"
                       "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=A0ar=C4=8Di=C4=87;Ivan;;;\r\n"
                       "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ivan=20=C5=A0ar=C4=8Di=C4=87\r\n"
                       "TEL;CELL:+385 91 555 0101\r\n"
                       "TEL;HOME:+385 1 555 0102\r\n"
                       "EMAIL;HOME:ivan@example.hr\r\n"
                       "NOTE;ENCODING=QUOTED-PRINTABLE:Prvi red=0D=0A=\r\n"
                       "Drugi red\r\n"
                       "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD\r\n"
                       " /2wBDAAgGBgcGBQgHBwcJ\r\n"
                       "\r\n"
                       "END:VCARD\r\n";

// A groupware server's 4.0 card: tel: addresses, properties 3.0 lacks.
const char* kServer4 = "BEGIN:VCARD\r\n"
                       "VERSION:4.0\r\n"
                       "PRODID:-//Sabre//Sabre VObject 4.5.0//EN\r\n"
                       "UID:a1b2c3d4-0000-4000-8000-000000000001\r\n"
                       "FN:Aiko Tanaka\r\n"
                       "N:Tanaka;Aiko;;Dr.;\r\n"
                       "KIND:individual\r\n"
                       "GENDER:F\r\n"
                       "LANG;PREF=1:ja\r\n"
                       "TEL;VALUE=uri;TYPE=\"cell,voice\":tel:+81-90-5555-0101\r\n"
                       "EMAIL;TYPE=work:aiko@tanaka.example\r\n"
                       "IMPP;PREF=1:xmpp:aiko@tanaka.example\r\n"
                       "ANNIVERSARY:20050612\r\n"
                       "CATEGORIES:friends,work\r\n"
                       "REV:20261130T101500Z\r\n"
                       "END:VCARD\r\n";

// A webmail export: two e-mails, no UID or REV, a grouped URL.
const char* kWebmail = "BEGIN:VCARD\r\n"
                       "VERSION:3.0\r\n"
                       "FN:Carlos Mendes\r\n"
                       "N:Mendes;Carlos;;;\r\n"
                       "EMAIL;TYPE=INTERNET;TYPE=HOME:carlos@home.example\r\n"
                       "EMAIL;TYPE=INTERNET;TYPE=WORK:carlos@work.example\r\n"
                       "TEL;TYPE=CELL:+55 11 95555-0101\r\n"
                       "ADR;TYPE=HOME:;;Rua Augusta 100;São Paulo;SP;01304-000;Brasil\r\n"
                       "item1.URL:http\\://carlos.example\r\n"
                       "item1.X-ABLabel:_$!<HomePage>!$_\r\n"
                       "NOTE:Met at the São Paulo fair\\, 2019\r\n"
                       "END:VCARD\r\n";

const QDateTime kNow(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);

// The content lines of a card, each with its folds.
QStringList entries(const QByteArray& card)
{
    static const QRegularExpression starts(QStringLiteral("\r\n(?![ \t])"));
    QStringList lines = QString::fromUtf8(card).split(starts, Qt::SkipEmptyParts);
    lines.removeAll(QStringLiteral("\r\n"));
    return lines;
}

QStringList missingFrom(const QStringList& lines, const QStringList& others)
{
    QStringList missing;
    for (const QString& line : lines) {
        if (!others.contains(line))
            missing << line;
    }
    return missing;
}

struct Edit {
    const char* name;
    const char* card;
    Column column;
    const char* value;
    QStringList gone;  // the server's lines the edit replaces, REV aside
    QStringList added; // what takes their place, REV aside
};

class PatchTest : public testing::TestWithParam<Edit> {};

TEST_P(PatchTest, ChangesOnlyTheLinesOfTheEditedColumn)
{
    const Edit& edit = GetParam();
    const QByteArray server(edit.card);
    interchange::Contact now = *storedForm(server);
    now[edit.column] = QString::fromUtf8(edit.value);

    const QByteArray patched = patchedVCard(server, now, kNow);

    const auto read = storedForm(patched);
    ASSERT_TRUE(read);
    EXPECT_TRUE(sameContact(now, *read)) << patched.toStdString();
    const QStringList before = entries(server), after = entries(patched);
    QStringList gone = missingFrom(before, after), added = missingFrom(after, before);
    const auto isRev = [](const QString& line) { return line.startsWith(u"REV:"); };
    gone.removeIf(isRev);
    EXPECT_EQ(added.removeAll(QStringLiteral("REV:20261207T120000Z")), 1);
    EXPECT_EQ(gone, edit.gone) << patched.toStdString();
    EXPECT_EQ(added, edit.added) << patched.toStdString();
    EXPECT_EQ(patchedVCard(patched, now, kNow.addDays(1)), patched) << "nothing changed since";
}

INSTANTIATE_TEST_SUITE_P(
    Cards, PatchTest,
    testing::Values(
        Edit{"PhoneMobile",
             kPhone,
             Column::PhCell,
             "+91 98200 22222",
             {"TEL;type=CELL;type=VOICE;type=pref:+91 98200 11111"},
             {"TEL;type=CELL;type=VOICE;type=pref:+91 98200 22222"}},
        Edit{"PhoneCity",
             kPhone,
             Column::City,
             "Pune",
             {"item3.ADR;type=HOME;type=pref:;;12 Marine Drive;Mumbai;MH;400020;India"},
             {"item3.ADR;type=HOME;type=pref:;;12 Marine Drive;Pune;MH;400020;India"}},
        Edit{"PhonePreferredEmail",
             kPhone,
             Column::EmlAddr,
             "meera@rao.example",
             {"item1.EMAIL;type=INTERNET;type=pref:meera@sundaram.example"},
             {"item1.EMAIL;type=INTERNET;type=pref:meera@rao.example"}},
        Edit{"PhoneCompanyUnitKept",
             kPhone,
             Column::Company,
             "Sundaram Silks",
             {"ORG:Sundaram Textiles;"},
             {"ORG:Sundaram Silks;"}},
        Edit{"PhoneCompanyCleared", kPhone, Column::Company, "", {"ORG:Sundaram Textiles;"}, {}},
        Edit{"AndroidHomePhone",
             kAndroid,
             Column::PhRes1,
             "+385 1 555 0199",
             {"TEL;HOME:+385 1 555 0102"},
             {"TEL;HOME:+385 1 555 0199"}},
        Edit{"AndroidQuotedPrintableName",
             kAndroid,
             Column::Name,
             "Ivan Šarčić Horvat",
             {"N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=A0ar=C4=8Di=C4=87;Ivan;;;",
              "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ivan=20=C5=A0ar=C4=8Di=C4=87"},
             {"N:Horvat;Ivan;Šarčić;;", "FN:Ivan Šarčić Horvat"}},
        Edit{"Server4Email",
             kServer4,
             Column::EmlAddr,
             "aiko@example.jp",
             {"EMAIL;TYPE=work:aiko@tanaka.example"},
             {"EMAIL;TYPE=work:aiko@example.jp"}},
        Edit{"Server4TelUri",
             kServer4,
             Column::PhCell,
             "+81 90 5555 019",
             {"TEL;VALUE=uri;TYPE=\"cell,voice\":tel:+81-90-5555-0101"},
             {"TEL;TYPE=cell;X-TOVREN-COLUMN=PhCell:+81 90 5555 019"}},
        Edit{"Server4Anniversary",
             kServer4,
             Column::DtMarriage,
             "2006-06-12",
             {"ANNIVERSARY:20050612"},
             {"ANNIVERSARY:20060612"}},
        Edit{"WebmailFirstEmail",
             kWebmail,
             Column::EmlAddr,
             "carlos@new.example",
             {"EMAIL;TYPE=INTERNET;TYPE=HOME:carlos@home.example"},
             {"EMAIL;TYPE=INTERNET;TYPE=HOME:carlos@new.example"}},
        Edit{"WebmailCompanyAdded",
             kWebmail,
             Column::Company,
             "Mendes & Filhos",
             {},
             {"ORG:Mendes & Filhos"}},
        Edit{"WebmailLongStreetFolded",
             kWebmail,
             Column::Address1,
             "Rua Augusta 100, Conjunto 42, Sé",
             {"ADR;TYPE=HOME:;;Rua Augusta 100;São Paulo;SP;01304-000;Brasil"},
             {"ADR;TYPE=HOME:;;Rua Augusta 100\\, Conjunto 42\\, Sé;São Paulo;SP;01304-000\r\n"
              " ;Brasil"}}),
    [](const testing::TestParamInfo<Edit>& info) { return std::string(info.param.name); });

// Texts a server may hold that are no good card: the patch still gives a
// card that reads as the contact, the writer's when nothing else will do.
TEST(PatchTest, BadServerTextsStillGiveTheContact)
{
    interchange::Contact now;
    now[Column::Name] = QStringLiteral("Noor Haddad");
    now[Column::EmlAddr] = QStringLiteral("noor@example.org");
    const QByteArray longLine = "NOTE:" + QByteArray(150000, 'x') + "\r\n";
    const std::pair<QByteArray, const char*> texts[] = {
        {QByteArray(), nullptr},
        {"garbage without any colon", nullptr},
        {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Noor\r\n", nullptr}, // cut short
        {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Old\r\nEMAIL:old@example.org\r\n" + longLine
             + "UID:keep-me\r\nEND:VCARD\r\n",
         "UID:keep-me"},
        {"BEGIN:VCARD\nVERSION:3.0\nFN:Old\nUID:lf-only\nEND:VCARD\n", "UID:lf-only\n"},
    };
    for (const auto& [server, uid] : texts) {
        const QByteArray patched = patchedVCard(server, now, kNow);
        const auto read = storedForm(patched);
        ASSERT_TRUE(read) << server.left(80).toStdString();
        EXPECT_TRUE(sameContact(now, *read)) << patched.left(300).toStdString();
        if (uid) {
            EXPECT_TRUE(patched.contains(uid)) << patched.left(300).toStdString();
        }
    }
}

TEST(PatchTest, NewCardsCarryTheirUidInEitherVersion)
{
    interchange::Contact contact;
    contact[Column::Name] = QStringLiteral("Lena Vogel");
    for (const auto version : {interchange::VCardVersion::V3, interchange::VCardVersion::V4}) {
        const QByteArray card = newVCard(contact, QStringLiteral("abc-123"), version);
        EXPECT_EQ(card.count("UID:"), 1);
        EXPECT_TRUE(card.contains("\r\nUID:abc-123\r\n"));
        EXPECT_TRUE(sameContact(contact, *storedForm(card)));
    }
}

// A server's card is known by its UID however another client wrote the line.
TEST(PatchTest, ServerCardsAreKnownByTheirUidHoweverWritten)
{
    const QByteArray head = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Asha Rao\r\n";
    const std::pair<QByteArray, const char*> rows[] = {
        {head + "UID:plain-1\r\nEND:VCARD\r\n", "plain-1"},
        {head + "UID:folded-\r\n over-\r\n\tthree-lines\r\nEND:VCARD\r\n",
         "folded-over-three-lines"},
        {head + "item1.UID:grouped\r\nEND:VCARD\r\n", "grouped"},
        {"BEGIN:VCARD\nVERSION:4.0\nuid: urn:uuid:0a1b \nEND:VCARD\n", "urn:uuid:0a1b"},
        {head + "NOTE:" + QByteArray(150000, 'x') + "\r\nUID:after-a-long-note\r\nEND:VCARD\r\n",
         "after-a-long-note"},
        {head + "X-UID:not-it\r\nNOTE:UID:nor-this\r\nEND:VCARD\r\n", ""},
        {"garbage without any colon", ""},
        {QByteArray(), ""},
    };
    for (const auto& [card, uid] : rows)
        EXPECT_EQ(uidOf(card), QString::fromUtf8(uid)) << card.left(120).toStdString();
}

} // namespace
