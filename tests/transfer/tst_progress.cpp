// The progress of every long piece of contacts work: reading vCard and CSV,
// writing an import, exporting; its calls in order and ending at the
// whole, and a cancel that stops the work and keeps nothing of it.

#include "book_fixture.h"

#include "interchange/contacts_file.h"
#include "interchange/csv_writer.h"
#include "interchange/vcard_writer.h"
#include "transfer/contacts_export.h"
#include "transfer/import_writer.h"

#include <QBuffer>

namespace transfer_tests {
namespace {

using interchange::Column;
using Steps = std::vector<std::pair<qint64, qint64>>;

std::vector<interchange::Contact> fiveContacts()
{
    std::vector<interchange::Contact> contacts(5);
    for (size_t i = 0; i < contacts.size(); ++i) {
        contacts[i][Column::Name] = QStringLiteral("Person %1").arg(i);
        contacts[i][Column::EmlAddr] = QStringLiteral("p%1@example.in").arg(i);
    }
    return contacts;
}

QByteArray asVCards()
{
    QByteArray bytes;
    for (const interchange::Contact& c : fiveContacts())
        bytes += interchange::vCard(c, interchange::VCardVersion::V3);
    return bytes;
}

QByteArray asCsv()
{
    QByteArray bytes = interchange::csvHeader();
    for (const interchange::Contact& c : fiveContacts())
        bytes += interchange::csvRow(c);
    return bytes;
}

class ProgressTest : public BookTest {
protected:
    void SetUp() override
    {
        BookTest::SetUp();
        auto book = openBook();
        transfer::writeImport(plan(QStringLiteral("stored.vcf"), asVCards(), *book), *book);
    }

    // Runs one kind of work with `progress`.
    void run(const char* work, const interchange::Progress& progress)
    {
        auto book = openBook();
        const std::string kind(work);
        if (kind == "read_vcard" || kind == "read_csv") {
            interchange::readContacts(kind == "read_csv" ? asCsv() : asVCards(), progress);
            return;
        }
        if (kind == "write_import") {
            // Contacts no earlier run stored, so that each run has some to write.
            const QByteArray others =
                asVCards().replace("Person", QByteArray("Other " + QByteArray::number(++m_runs)));
            transfer::writeImport(plan(QStringLiteral("new.vcf"), others, *book), *book, progress);
            return;
        }
        const transfer::PickLists lists = transfer::pickListsOf(*book);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        transfer::exportContacts(book->addresses, lists,
                                 kind == "export_csv" ? transfer::ExportFormat::Csv
                                                      : transfer::ExportFormat::VCard3,
                                 out, progress);
    }

private:
    int m_runs = 0;
};

TEST_F(ProgressTest, StepsGoForwardToTheWholeAndACancelKeepsNothing)
{
    for (const char* work :
         {"read_vcard", "read_csv", "write_import", "export_vcard3", "export_csv"}) {
        SCOPED_TRACE(work);
        Steps steps;
        run(work, [&steps](qint64 done, qint64 total) {
            steps.emplace_back(done, total);
            return true;
        });
        ASSERT_GE(steps.size(), 5u); // a step a contact at least
        for (size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].second, steps.front().second) << "step " << i;
            EXPECT_LE(steps[i].first, steps[i].second) << "step " << i;
            if (i > 0) {
                EXPECT_GE(steps[i].first, steps[i - 1].first) << "step " << i;
            }
        }
        EXPECT_EQ(steps.back().first, steps.back().second);

        const int stored = storedCount("Address");
        int calls = 0;
        EXPECT_THROW(run(work, [&calls](qint64, qint64) { return ++calls < 3; }),
                     interchange::Cancelled);
        EXPECT_EQ(calls, 3) << "the work goes on after a cancel";
        EXPECT_EQ(storedCount("Address"), stored);
    }
    EXPECT_EQ(storedCount("Address"), 10); // only the import that ran to its end
}

} // namespace
} // namespace transfer_tests
