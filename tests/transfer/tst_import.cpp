#include "book_fixture.h"

#include "transfer/import_summary.h"
#include "transfer/import_writer.h"

#include "platform/error_numbers.h"
#include "support/book_lock.h"

namespace transfer_tests {
namespace {

using Fate = transfer::PlannedContact::Fate;
using interchange::Column;

QByteArray card(const QString& name, const QString& email, const QString& extra = QString())
{
    QString text = QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:%1\r\n").arg(name);
    if (!email.isEmpty())
        text += QStringLiteral("EMAIL:%1\r\n").arg(email);
    return (text + extra + QStringLiteral("END:VCARD\r\n")).toUtf8();
}

using ImportTest = BookTest;

TEST_F(ImportTest, DryRunCountsAreWhatTheWriteStoresAndDuplicatesAreSkipped)
{
    auto book = openBook();
    transfer::ImportPlan first =
        plan(QStringLiteral("first.vcf"),
             card(QStringLiteral("Ann Lee"), QStringLiteral("ann@x.in")), *book);
    transfer::writeImport(first, *book);

    book = openBook();
    const QByteArray cards = card(QStringLiteral("ANN LEE"), QStringLiteral("Ann@X.IN"))
                             + card(QStringLiteral("Ann Lee"), QString())
                             + card(QStringLiteral("Ravi Rao"), QStringLiteral("ravi@x.in"))
                             + card(QStringLiteral("ravi rao"), QStringLiteral("RAVI@x.in"))
                             + QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nTEL:1\r\nEND:VCARD\r\n");
    const transfer::ImportPlan second = plan(QStringLiteral("second.vcf"), cards, *book);
    EXPECT_EQ(second.count(Fate::Add), 2); // Ann Lee without e-mail, Ravi Rao
    EXPECT_EQ(second.count(Fate::AlreadyPresent), 2);
    EXPECT_EQ(second.count(Fate::Refused) + int(second.problems.size()) > 0, true);
    EXPECT_EQ(storedCount("Address"), 1) << "planning writes nothing";

    transfer::writeImport(second, *book);
    EXPECT_EQ(storedCount("Address"), 1 + second.count(Fate::Add));
    book = openBook();
    EXPECT_EQ(plan(QStringLiteral("again.vcf"), cards, *book).count(Fate::Add), 0);
}

TEST_F(ImportTest, PickListsAreMatchedWithoutCaseAndNewEntriesAddedWhenTheyFit)
{
    auto book = openBook();
    const QByteArray cards =
        card(QStringLiteral("A One"), QString(), QStringLiteral("N:One;A;;mr.;\r\n"))
        + card(QStringLiteral("B Two"), QString(),
               QStringLiteral("N:Two;B;;Rev.;\r\nX-TOVREN-RELIGION:zoroastrian\r\n"))
        + card(QStringLiteral("C Three"), QString(),
               QStringLiteral("N:Three;C;;rev.;\r\nX-TOVREN-RELIGION:HINDU\r\n"))
        + card(QStringLiteral("D Four"), QString(), QStringLiteral("N:Four;D;;Reverend;\r\n"));
    const transfer::ImportPlan planned = plan(QStringLiteral("lists.vcf"), cards, *book);
    ASSERT_EQ(planned.count(Fate::Add), 4);
    EXPECT_EQ(planned.newSalutations, QStringList{QStringLiteral("Rev.")});
    EXPECT_EQ(planned.newReligions, QStringList{QStringLiteral("zoroastrian")});
    const struct {
        Column column;
        const char* expected;
    } rows[] = {{Column::SalutationId, "Mr."},
                {Column::SalutationId, "Rev."},
                {Column::SalutationId, "Rev."},
                {Column::SalutationId, ""}};
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(planned.contacts[i].contact[rows[i].column], QLatin1String(rows[i].expected));
    EXPECT_EQ(planned.contacts[2].contact[Column::ReligionId], QStringLiteral("Hindu"));
    ASSERT_EQ(planned.contacts[3].contact.notes.size(), 1);
    EXPECT_TRUE(planned.contacts[3].contact.notes[0].contains(QStringLiteral("'Reverend'")));

    const int salutations = storedCount("Salutation");
    transfer::writeImport(planned, *book);
    EXPECT_EQ(storedCount("Salutation"), salutations + 1);
    EXPECT_EQ(execute("SELECT count(*) FROM Address a JOIN Salutation s USING (SalutationId) "
                      "WHERE s.Salutation = 'Rev.'")[0][0],
              QVariant(qint64(2)));
}

// A write that fails anywhere stores nothing: neither while another program
// holds the book, nor when the database refuses a contact after the pick
// lists' new entries were already sent.
TEST_F(ImportTest, AFailedWriteStoresNothing)
{
    const QByteArray cards =
        card(QStringLiteral("Good One"), QString(), QStringLiteral("N:One;Good;;Rev.;\r\n"))
        + card(QStringLiteral("Refused By Trigger"), QString());
    {
        auto book = openBook();
        const transfer::ImportPlan planned = plan(QStringLiteral("a.vcf"), cards, *book);
        testing_support::BookLock lock(bookPath(), testing_support::BookLock::Mode::Writing);
        EXPECT_RUNTIME_ERROR(transfer::writeImport(planned, *book), platform::err::DatabaseBusy);
    }
    execute("CREATE TRIGGER refuse BEFORE INSERT ON Address WHEN NEW.Name = "
            "'Refused By Trigger' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    const int salutations = storedCount("Salutation");
    auto book = openBook();
    const transfer::ImportPlan planned = plan(QStringLiteral("b.vcf"), cards, *book);
    ASSERT_EQ(planned.newSalutations.size(), 1);
    EXPECT_NE(testing_support::raised([&] { transfer::writeImport(planned, *book); }).number(), 0);
    EXPECT_FALSE(book->addresses.isOpen()) << "nothing in memory claims what was not stored";
    EXPECT_EQ(storedCount("Address"), 0);
    EXPECT_EQ(storedCount("Salutation"), salutations);
}

TEST_F(ImportTest, BadFilesAreToldByNameAndAddOnlyWhatTheyHold)
{
    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
        int adds;
    } files[] = {
        {"notes.txt", "Dear Ann, see you soon.\n", "neither a vCard", 0},
        {"photo.vcf", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "binary", 0},
        // A card cut short keeps what it holds, and says so.
        {"cut.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cut Short\r\n", "no END:VCARD", 1},
    };
    auto book = openBook();
    for (const auto& f : files) {
        const transfer::ImportPlan planned = plan(QLatin1String(f.name), f.bytes, *book);
        EXPECT_EQ(planned.count(Fate::Add), f.adds) << f.name;
        ASSERT_FALSE(planned.problems.isEmpty()) << f.name;
        EXPECT_TRUE(planned.problems[0].startsWith(QLatin1String(f.name) + QLatin1String(": ")));
        EXPECT_TRUE(planned.problems.join(QLatin1Char(' ')).contains(QLatin1String(f.says)))
            << planned.problems.join(QLatin1Char('\n')).toStdString();
        transfer::writeImport(planned, *book);
    }
    EXPECT_EQ(storedCount("Address"), 1);
    QDir().mkpath(file(QStringLiteral("empty")));
    const auto none = transfer::readContactFiles({file(QStringLiteral("empty"))});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].read.problems,
              QStringList{QStringLiteral("The folder holds no .vcf files.")});
}

TEST_F(ImportTest, SummaryTellsCountsFirstThenEachSection)
{
    auto book = openBook();
    transfer::writeImport(plan(QStringLiteral("a.vcf"),
                               card(QStringLiteral("Ann Lee"), QStringLiteral("ann@x.in")), *book),
                          *book);
    book = openBook();
    const QByteArray cards = card(QStringLiteral("Ann Lee"), QStringLiteral("ann@x.in"))
                             + card(QStringLiteral("Ravi Rao"), QString(),
                                    QStringLiteral("N:Rao;Ravi;;Rev.;\r\nGEO:19.07;72.87\r\n"));
    EXPECT_EQ(
        importSummary(plan(QStringLiteral("b.vcf"), cards, *book)),
        QStringLiteral("To add: 1\nAlready present: 1\nRefused: 0\n"
                       "New salutations:\n  Rev.\n"
                       "Already present, skipped:\n  Ann Lee <ann@x.in> (b.vcf)\n"
                       "Not kept:\n  Ravi Rao (b.vcf): %1\n")
            .arg(plan(QStringLiteral("b.vcf"), cards, *book).contacts[1].contact.notes.value(0)));
}

} // namespace
} // namespace transfer_tests
