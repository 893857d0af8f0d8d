#include "interchange_helpers.h"

#include "interchange/vcard_reader.h"
#include "interchange/vcard_writer.h"

#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace interchange;
using interchange_tests::everyColumn;

namespace {

Contact readBack(const QByteArray& card)
{
    const ContactsRead read = readVCards(QString::fromUtf8(card));
    EXPECT_EQ(read.contacts.size(), 1u) << qPrintable(read.problems.join(QLatin1Char('\n')));
    return read.contacts.empty() ? Contact() : read.contacts[0];
}

// Contacts that try the places the writer gives each column: everything
// filled, a company without a person, second phones without first ones,
// a lone third address line.
std::vector<Contact> trying()
{
    std::vector<Contact> contacts{everyColumn()};
    Contact company;
    company[Column::Company] = QStringLiteral("Sundaram Textiles");
    company[Column::PhOff2] = QStringLiteral("0422 123456");
    company[Column::PhRes2] = QStringLiteral("0422 654321");
    company[Column::Address3] = QStringLiteral("Avinashi Road");
    contacts.push_back(company);
    Contact single;
    single[Column::Name] = QStringLiteral("Madhubala");
    single[Column::SalutationId] = QStringLiteral("Ms.");
    contacts.push_back(single);
    return contacts;
}

class VCardVersions : public testing::TestWithParam<VCardVersion> {};

} // namespace

TEST_P(VCardVersions, WrittenThenReadGivesEveryColumnBack)
{
    for (const Contact& contact : trying()) {
        const Contact back = readBack(vCard(contact, GetParam()));
        for (int i = 0; i < kColumnCount; ++i)
            EXPECT_EQ(back.values[size_t(i)], contact.values[size_t(i)])
                << qPrintable(columnName(Column(i)));
        EXPECT_TRUE(back.notes.isEmpty()) << qPrintable(back.notes.join(QLatin1Char('\n')));
    }
}

TEST_P(VCardVersions, LinesFoldAt75OctetsBetweenWholeCharacters)
{
    Contact contact = everyColumn();
    contact[Column::Company] = QStringLiteral("ĀāĂăĄąĆćĈĉĊċČčĎďĐđĒēĔĕĖėĘęĚěĜĝĞğĠġĢģĤĥĦħĨĩĪīĬĭĮįİı");
    const QByteArray card = vCard(contact, GetParam());
    for (const QByteArray& line : card.split('\n')) {
        EXPECT_LE(line.size(), 76) << line.constData(); // the CR of CR LF aside
        QStringDecoder utf8(QStringDecoder::Utf8);
        utf8.decode(line);
        EXPECT_FALSE(utf8.hasError()) << "a line ends inside a character";
    }
    EXPECT_TRUE(card.endsWith("END:VCARD\r\n"));
    EXPECT_EQ(readBack(card)[Column::Company], contact[Column::Company]);
}

// Debian's python3-vobject, the parser many address books use, reads every
// card Tovren writes and finds the same names, e-mails and phones.
TEST_P(VCardVersions, PythonVobjectParsesEveryCardAndAgrees)
{
    if (!QFile::exists(QStringLiteral("/usr/lib/python3/dist-packages/vobject")))
        GTEST_SKIP() << "python3-vobject is not installed (scripts/setup.sh installs it)";
    QTemporaryDir dir;
    QByteArray cards;
    QStringList expected;
    for (const Contact& contact : trying()) {
        cards += vCard(contact, GetParam());
        QStringList phones;
        for (int i = int(Column::PhOff1); i <= int(Column::PhPager); ++i) {
            if (i != int(Column::PhExt) && !contact.values[size_t(i)].isEmpty())
                phones << contact.values[size_t(i)];
        }
        const QString& name = contact[Column::Name];
        expected << (name.isEmpty() ? contact[Column::Company] : name) + QLatin1Char('|')
                        + contact[Column::EmlAddr] + QLatin1Char('|')
                        + phones.join(QLatin1Char(','));
    }
    const QString path = dir.filePath(QStringLiteral("cards.vcf"));
    ASSERT_TRUE(testing_support::writeBytes(path, cards));
    const char* script = R"(
import sys, vobject
with open(sys.argv[1], encoding='utf-8') as f:
    for card in vobject.readComponents(f, validate=True):
        c = card.contents
        emails = [e.value for e in c.get('email', [])]
        phones = [t.value for t in c.get('tel', [])]
        sys.stdout.write('%s|%s|%s\n' % (card.fn.value, ','.join(emails), ','.join(phones)))
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(script), path});
    ASSERT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().constData();
    const QStringList seen = QString::fromUtf8(python.readAllStandardOutput())
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(seen, expected);
}

INSTANTIATE_TEST_SUITE_P(Interchange, VCardVersions,
                         testing::Values(VCardVersion::V3, VCardVersion::V4),
                         [](const testing::TestParamInfo<VCardVersion>& info) {
                             return info.param == VCardVersion::V3 ? "V30" : "V40";
                         });
