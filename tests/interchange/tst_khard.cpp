#include "interchange_helpers.h"

#include "interchange/vcard_writer.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace interchange;

// khard, the console address book over a folder of vCards, lists the cards
// Tovren writes with their names, e-mails, phones and addresses.
class Khard : public testing::TestWithParam<VCardVersion> {
protected:
    void SetUp() override
    {
        if (!QFile::exists(QStringLiteral("/usr/bin/khard")))
            GTEST_SKIP() << "khard is not installed (scripts/setup.sh installs it)";
        QDir(dir.path()).mkdir(QStringLiteral("book"));
        testing_support::writeBytes(dir.filePath(QStringLiteral("khard.conf")),
                                    "[addressbooks]\n[[tovren]]\npath = "
                                        + QFile::encodeName(dir.filePath(QStringLiteral("book")))
                                        + "\n[general]\neditor = true\nmerge_editor = true\n");
    }

    void add(const Contact& contact, const QString& file)
    {
        testing_support::writeBytes(dir.filePath(QStringLiteral("book/")) + file,
                                    vCard(contact, GetParam()));
    }

    // What `khard <command> --parsable` prints.
    QString khard(const char* command)
    {
        QProcess khard;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), dir.path());
        khard.setProcessEnvironment(environment);
        khard.start(QStringLiteral("/usr/bin/khard"),
                    {QStringLiteral("-c"), dir.filePath(QStringLiteral("khard.conf")),
                     QLatin1String(command), QStringLiteral("--parsable")});
        EXPECT_TRUE(khard.waitForFinished(60000));
        EXPECT_EQ(khard.exitCode(), 0) << khard.readAllStandardError().constData();
        EXPECT_EQ(khard.readAllStandardError(), QByteArray()) << "no card is passed over";
        return QString::fromUtf8(khard.readAllStandardOutput());
    }

    QTemporaryDir dir;
};

TEST_P(Khard, ListsNamesEmailsPhonesAndAddresses)
{
    // A first address line of two lines travels exactly in Tovren's own
    // properties; ADR still gives khard the street, a line to a line.
    Contact person = interchange_tests::everyColumn();
    person[Column::Address1] = QStringLiteral("Flat 4\r\nBlock B");
    Contact company;
    company[Column::Company] = QStringLiteral("Sundaram Textiles");
    company[Column::EmlAddr] = QStringLiteral("orders@sundaram.example");
    add(person, QStringLiteral("person.vcf"));
    add(company, QStringLiteral("company.vcf"));
    const QString& name = person[Column::Name];

    const QString emails = khard("email");
    EXPECT_TRUE(emails.contains(person[Column::EmlAddr] + QLatin1Char('\t') + name))
        << qPrintable(emails);
    EXPECT_TRUE(emails.contains(QLatin1String("orders@sundaram.example\tSundaram Textiles")));
    const QString phones = khard("phone");
    for (Column column : {Column::PhOff1, Column::PhOff2, Column::PhFax, Column::PhRes1,
                          Column::PhRes2, Column::PhCell, Column::PhPager})
        EXPECT_TRUE(phones.contains(person[column] + QLatin1Char('\t') + name))
            << qPrintable(columnName(column)) << qPrintable(phones);
    const QString addresses = khard("postaddress");
    for (Column column : {Column::City, Column::PinCode, Column::State, Column::Country})
        EXPECT_TRUE(addresses.contains(person[column])) << qPrintable(addresses);
    EXPECT_TRUE(addresses.contains(QLatin1String("'street': 'Flat 4\\nBlock B\\n\\nCarter Road'")))
        << qPrintable(addresses);
}

INSTANTIATE_TEST_SUITE_P(Interchange, Khard, testing::Values(VCardVersion::V3, VCardVersion::V4),
                         [](const testing::TestParamInfo<VCardVersion>& info) {
                             return info.param == VCardVersion::V3 ? "V30" : "V40";
                         });
