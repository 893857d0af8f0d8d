// tovren-book as a script or a mail program runs it: a whole process, its
// output byte for byte and its exit status.

#include "book_fixture.h"

#include "support/book_lock.h"
#include "transfer/import_writer.h"

namespace transfer_tests {
namespace {

using interchange::Column;
using testing_support::Ran;

class BookToolTest : public BookTest {
protected:
    void SetUp() override
    {
        BookTest::SetUp();
        const struct {
            const char* name;
            const char* company;
            const char* email;
            const char* city;
        } rows[] = {{"Élodie Brun", "", "elodie@brun.fr", "Lyon"},
                    {"Ravi Rao", "Rao & Iyer", "ravi@rao.in", "Pune"},
                    {"Asha Rao", "", "", "Pune"}};
        transfer::ImportPlan planned;
        for (const auto& row : rows) {
            interchange::Contact c;
            c[Column::Name] = QString::fromUtf8(row.name);
            c[Column::Company] = QString::fromUtf8(row.company);
            c[Column::EmlAddr] = QString::fromUtf8(row.email);
            c[Column::City] = QString::fromUtf8(row.city);
            planned.contacts.push_back(
                {c, QStringLiteral("t"), transfer::PlannedContact::Fate::Add, QString()});
        }
        auto book = openBook();
        transfer::writeImport(planned, *book);
    }
};

TEST_F(BookToolTest, QueryAnswersAsMailProgramsExpect)
{
    const struct {
        const char* text;
        int status;
        const char* out;
    } cases[] = {
        {"elodie", 0, "Tovren: 1 match for 'elodie'\nelodie@brun.fr\tÉlodie Brun\tLyon\n"},
        {"RAO", 0, "Tovren: 1 match for 'RAO'\nravi@rao.in\tRavi Rao\tRao & Iyer\n"},
        {"iyer", 0, "Tovren: 1 match for 'iyer'\nravi@rao.in\tRavi Rao\tRao & Iyer\n"},
        {"zed", 1, "No matches for 'zed' in the Tovren address book.\n"},
    };
    for (const auto& c : cases) {
        const Ran ran = tool({QStringLiteral("query"), QString::fromUtf8(c.text)});
        EXPECT_EQ(ran.status, c.status) << c.text;
        EXPECT_EQ(ran.out, QByteArray(c.out)) << c.text;
    }
}

// A query opens the book with SQLite alone; a book it cannot use that way
// is told as every other command tells it.
TEST_F(BookToolTest, QueryTellsABookInUseAndAFileThatIsNoBook)
{
    {
        testing_support::BookLock lock(bookPath());
        const Ran held = tool({QStringLiteral("query"), QStringLiteral("rao")});
        EXPECT_EQ(held.status, 4);
        EXPECT_EQ(held.err, QByteArray("tovren-book: The address book '" + bookPath().toUtf8()
                                       + "' is in use by another program.\n"));
    }
    EXPECT_EQ(tool({QStringLiteral("query"), QStringLiteral("rao")}).status, 0);
    ASSERT_TRUE(testing_support::writeBytes(bookPath(), "Dear Ada, this is a letter.\n"));
    const Ran stranger = tool({QStringLiteral("query"), QStringLiteral("rao")});
    EXPECT_EQ(stranger.status, 3);
    EXPECT_TRUE(stranger.err.startsWith(
        QByteArray("tovren-book: The file '" + bookPath().toUtf8() + "' is not a Tovren database")))
        << stranger.err.toStdString();
    EXPECT_TRUE(stranger.out.isEmpty());
}

TEST_F(BookToolTest, ImportDryRunWritesNothingAndExitStatusesAreStable)
{
    ASSERT_TRUE(testing_support::writeBytes(
        file(QStringLiteral("new.vcf")),
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Mira Sen\r\nEMAIL:mira@sen.in\r\nEND:VCARD\r\n"));
    const Ran dry = tool(
        {QStringLiteral("import"), QStringLiteral("--dry-run"), file(QStringLiteral("new.vcf"))});
    EXPECT_EQ(dry.status, 0);
    EXPECT_EQ(dry.out, QByteArray("To add: 1\nAlready present: 0\nRefused: 0\n"));
    EXPECT_EQ(storedCount("Address"), 3);
    const Ran real = tool({QStringLiteral("import"), file(QStringLiteral("new.vcf"))});
    EXPECT_EQ(real.out, dry.out + "Imported: 1\n");
    EXPECT_EQ(storedCount("Address"), 4);

    const struct {
        QStringList args;
        int status;
    } cases[] = {
        {{QStringLiteral("frobnicate")}, 2},
        {{QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("pdf")}, 2},
        {{QStringLiteral("export"), QStringLiteral("--filter"), QStringLiteral("Nope = 1")}, 2},
        {{QStringLiteral("import"), file(QStringLiteral("missing.vcf"))}, 5},
    };
    for (const auto& c : cases) {
        const Ran ran = tool(c.args);
        EXPECT_EQ(ran.status, c.status) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(ran.err.startsWith("tovren-book: ")) << ran.err.toStdString();
    }
    EXPECT_EQ(storedCount("Address"), 4);
}

TEST_F(BookToolTest, ExportWithAFilterWritesOnlyItsContacts)
{
    const Ran ran =
        tool({QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("csv"),
              QStringLiteral("--filter"), QStringLiteral("City = 'Pune'")});
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(ran.out.count("\r\n"), 3) << ran.out.toStdString(); // header and two rows
    EXPECT_FALSE(ran.out.contains("Lyon"));
}

} // namespace
} // namespace transfer_tests
