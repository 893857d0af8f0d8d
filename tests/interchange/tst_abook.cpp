#include "interchange_helpers.h"

#include "interchange/contacts_file.h"
#include "interchange/vcard_writer.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace interchange;

// abook, the console address book, as the world outside: its vCards are
// read, and it reads Tovren's.
class Abook : public testing::Test {
protected:
    void SetUp() override
    {
        if (!QFile::exists(QStringLiteral("/usr/bin/abook")))
            GTEST_SKIP() << "abook is not installed (scripts/setup.sh installs it)";
    }

    // abook's --convert from `in` (format `from`) to `to`; what it wrote.
    QByteArray convert(const QByteArray& in, const char* from, const char* to)
    {
        const QString input = dir.filePath(QStringLiteral("in"));
        const QString output = dir.filePath(QStringLiteral("out"));
        EXPECT_TRUE(testing_support::writeBytes(input, in));
        QProcess abook;
        abook.start(QStringLiteral("/usr/bin/abook"),
                    {QStringLiteral("--convert"), QStringLiteral("--informat"), QLatin1String(from),
                     QStringLiteral("--infile"), input, QStringLiteral("--outformat"),
                     QLatin1String(to), QStringLiteral("--outfile"), output});
        EXPECT_TRUE(abook.waitForFinished(30000));
        EXPECT_EQ(abook.exitCode(), 0) << abook.readAllStandardError().constData();
        return testing_support::readBytes(output);
    }

    QTemporaryDir dir;
};

TEST_F(Abook, ItsVCardsAreRead)
{
    const QByteArray book = "[format]\nprogram=abook\nversion=0.6.1\n\n"
                            "[0]\nname=Asha Rao\nemail=asha@example.in,asha.home@example.in\n"
                            "address=1 MG Road\naddress2=Indiranagar\ncity=Bangalore\n"
                            "state=Karnataka\nzip=560001\ncountry=India\nphone=080 2222 3333\n"
                            "workphone=080 4444 5555\nmobile=98450 12345\nfax=080 4444 5599\n\n"
                            "[1]\nname=J\xC3\xBCrgen M\xC3\xBCller\nemail=juergen@example.de\n";
    const ContactsRead read = readContacts(convert(book, "abook", "vcard"));
    ASSERT_EQ(read.contacts.size(), 2u) << qPrintable(read.problems.join(QLatin1Char('\n')));
    const Contact& asha = read.contacts[0];
    using C = Column;
    EXPECT_EQ(
        interchange_tests::fields(asha, {C::Name, C::EmlAddr, C::Address1, C::Address2, C::PinCode,
                                         C::PhRes1, C::PhOff1, C::PhCell, C::PhFax}),
        "Asha Rao|asha@example.in|1 MG Road|Indiranagar|560001|080 2222 3333|080 4444 5555|"
        "98450 12345|080 4444 5599");
    EXPECT_EQ(asha.notes.size(), 1) << "the second e-mail address";
    EXPECT_EQ(read.contacts[1][Column::Name], QStringLiteral("Jürgen Müller"));
}

TEST_F(Abook, ItReadsTovrensVCards)
{
    // abook 0.6.1 takes no escapes apart and aborts on an escaped semicolon
    // in ADR (valid as that is), so this street has none.
    Contact contact = interchange_tests::everyColumn();
    contact[Column::Address1] = QStringLiteral("Flat 4, Sea View");
    const QString book =
        QString::fromUtf8(convert(vCard(contact, VCardVersion::V3), "vcard", "abook"));
    EXPECT_TRUE(book.contains(QLatin1String("name=") + contact[Column::Name]));
    EXPECT_TRUE(book.contains(QLatin1String("email=") + contact[Column::EmlAddr]));
    EXPECT_TRUE(book.contains(QLatin1String("mobile=") + contact[Column::PhCell]));
    EXPECT_TRUE(book.contains(QLatin1String("city=") + contact[Column::City]));
}
