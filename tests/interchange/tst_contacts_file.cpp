#include "interchange_helpers.h"

#include "interchange/contacts_file.h"
#include "interchange/csv_writer.h"
#include "interchange/vcard_writer.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace interchange;

struct BadFile {
    const char* what;
    QByteArray bytes;
    const char* message;
};

class BadFiles : public testing::TestWithParam<BadFile> {};

TEST_P(BadFiles, GetAMessageAndNoContacts)
{
    const ContactsRead read = readContacts(GetParam().bytes);
    EXPECT_TRUE(read.contacts.empty());
    ASSERT_EQ(read.problems.size(), 1);
    EXPECT_TRUE(read.problems[0].contains(QLatin1String(GetParam().message)))
        << qPrintable(read.problems[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Interchange, BadFiles,
    testing::Values(
        BadFile{"empty", QByteArray(), "empty"},
        BadFile{"png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20), "binary"},
        BadFile{"prose", QByteArray("Dear Sir,\nPlease find my address below.\n"), "neither"},
        BadFile{"unknown header", QByteArray("Colour,Size\nred,XL\n"), "neither"},
        BadFile{"header too long", QByteArray(kLongestLine + 5, 'a') + ",Name\n", "neither"}),
    [](const testing::TestParamInfo<BadFile>& info) {
        return QString::fromLatin1(info.param.what)
            .replace(QLatin1Char(' '), QLatin1Char('_'))
            .toStdString();
    });

TEST(ContactsFile, MissingFileGetsAMessage)
{
    const ContactsRead read = readContactsFile(QStringLiteral("/nonexistent/contacts.vcf"));
    ASSERT_EQ(read.problems.size(), 1);
    EXPECT_TRUE(read.problems[0].contains(QLatin1String("cannot be read")));
}

// 50 MB in one pass: a reader that copied or searched its input again for
// each card or row would take minutes here.
TEST(ContactsFile, FiftyMegabytesReadInOnePass)
{
    const Contact contact = interchange_tests::everyColumn();
    for (const bool vcard : {true, false}) {
        const QByteArray one = vcard ? vCard(contact, VCardVersion::V3) : csvRow(contact);
        QByteArray bytes = vcard ? QByteArray() : csvHeader();
        const qsizetype count = 50'000'000 / one.size();
        bytes.reserve(count * one.size() + 200);
        for (qsizetype i = 0; i < count; ++i)
            bytes += one;
        QElapsedTimer timer;
        timer.start();
        const ContactsRead read = readContacts(bytes);
        EXPECT_EQ(qsizetype(read.contacts.size()), count);
        EXPECT_LT(timer.elapsed(), 60000) << (vcard ? "vCard" : "CSV");
    }
}

TEST(ContactsFile, OneFiftyMegabyteLineIsCutShortNotHeld)
{
    QByteArray bytes("BEGIN:VCARD\r\nFN:Big Note\r\nNOTE:");
    bytes += QByteArray(50'000'000, 'x');
    bytes += "\r\nEND:VCARD\r\n";
    const ContactsRead read = readContacts(bytes);
    ASSERT_EQ(read.contacts.size(), 1u);
    EXPECT_EQ(read.contacts[0].notes.size(), 1);
}
