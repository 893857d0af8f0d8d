// Tools, Import Contacts and Export Contacts on the real program: where
// they stand, the summary shown before anything is written, the card
// showing what came in, the card's selection going out, and every refusal
// told with the book and the files as they were.

#include "card_fixture.h"

#include "card/contacts_commands.h"
#include "card/contacts_progress.h"
#include "interchange/vcard_writer.h"
#include "support/book_lock.h"
#include "support/test_helpers.h"

#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>

#include <optional>

namespace {

using platform::Answer;
using testing_support::BookLock;
using testing_support::readBytes;
using testing_support::writeBytes;

const QByteArray kTwoCards = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Rao;Dina;;;\r\nFN:Dina Rao\r\n"
                             "EMAIL:dina@example.org\r\nADR;TYPE=HOME:;;1 Main St;Nashik;;;\r\n"
                             "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eshan\r\n"
                             "EMAIL:eshan@example.org\r\nEND:VCARD\r\n";

class ContactsMenu : public CardTest {
protected:
    // The card on Ada of Ada, Bela and Cyrus, Bela in Agra and the others in Pune.
    frmAddress& openOnThree()
    {
        frmAddress& card = openCard({"Ada", "Bela", "Cyrus"});
        sql("UPDATE Address SET City = CASE Name WHEN 'Bela' THEN 'Agra' ELSE 'Pune' END");
        trigger("mnuRefresh");
        return card;
    }
    // The summary's text read off the dialog, which then closes with `accept`.
    void answerSummary(bool accept, std::function<void()> meanwhile = nullptr)
    {
        m_prompts.handleModal([this, accept, meanwhile](QDialog& dialog) {
            m_summary = dialog.findChild<QPlainTextEdit*>("txtSummary")->toPlainText();
            if (meanwhile)
                meanwhile();
            accept ? dialog.accept() : dialog.reject();
        });
    }
    QString m_summary;
};

TEST_F(ContactsMenu, StandAfterTheToolsItemsAndNeedNoCard)
{
    addDatabase();
    mdiMain& main = start();
    QMenu* tools = nullptr;
    for (QObject* object : main.menuItem("mnuUtilityCalc")->associatedObjects())
        tools = tools ? tools : qobject_cast<QMenu*>(object);
    ASSERT_NE(tools, nullptr);
    QStringList captions;
    for (const QAction* action : tools->actions())
        captions << action->text();
    EXPECT_EQ(captions.join('|'),
              "&Email|&Mail Account...||C&alculator||&Import Contacts...|E&xport Contacts..."
              "|Find &Duplicates...||Synchroni&ze|S&ynchronize Settings...|Sync C&onflicts...");
    EXPECT_EQ(enabledOf("mnuImport mnuExport"), "mnuImport mnuExport");
}

// How an import ends: the person imports, cancels, or another program
// takes the book while the summary is on screen.
enum class Ending { Import, Cancel, BookTaken };

struct ImportCase {
    const char* name;
    QByteArray file;
    std::optional<Ending> ending; // none: refused before the summary
    const char* told;             // how the last message begins; "" for none
    QStringList stored;
    const char* shown;
};

class Imports : public ContactsMenu, public ::testing::WithParamInterface<ImportCase> {};

TEST_P(Imports, WriteOnlyWhatThePersonConfirmed)
{
    const ImportCase& c = GetParam();
    openOnThree();
    const QStringList before = stored();
    const QString path = home("in.vcf");
    ASSERT_TRUE(writeBytes(path, c.file));
    m_prompts.answerOpenFile(path);
    std::optional<BookLock> lock;
    if (c.ending)
        answerSummary(*c.ending != Ending::Cancel, [&] {
            if (*c.ending == Ending::BookTaken)
                lock.emplace(home("TND.dbx"), BookLock::Mode::Writing);
        });
    if (*c.told)
        m_prompts.answerMessage(Answer::OK);
    trigger("mnuImport");
    lock.reset();

    if (c.ending) {
        EXPECT_TRUE(m_summary.startsWith("To add: 2\nAlready present: 0\nRefused: 0"))
            << m_summary.toStdString();
    }
    if (*c.told) {
        ASSERT_FALSE(m_prompts.messages().empty());
        EXPECT_TRUE(lastMessage().startsWith(c.told)) << lastMessage().toStdString();
    } else {
        EXPECT_TRUE(m_prompts.messages().empty());
    }
    EXPECT_EQ(stored(), before + c.stored);
    EXPECT_EQ(shown(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    ContactsMenu, Imports,
    ::testing::Values(ImportCase{"confirmed", kTwoCards, Ending::Import,
                                 "2 contact(s) were imported from '",
                                 QStringList{"Dina Rao||Nashik", "Eshan||"}, "Ada 1 / 5"},
                      ImportCase{"cancelled", kTwoCards, Ending::Cancel, "", {}, "Ada 1 / 3"},
                      ImportCase{"book_taken",
                                 kTwoCards,
                                 Ending::BookTaken,
                                 "No contacts were imported; the book is as it was.",
                                 {},
                                 "Ada 1 / 3"},
                      ImportCase{"binary",
                                 QByteArray("\x00\x01\x02\xff PK\x03\x04", 10),
                                 std::nullopt,
                                 "No contacts were imported from '",
                                 {},
                                 "Ada 1 / 3"},
                      ImportCase{"not_contacts",
                                 "Dear Ada,\nthis is a letter, not a list.\n",
                                 std::nullopt,
                                 "No contacts were imported from '",
                                 {},
                                 "Ada 1 / 3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ContactsMenu, ImportWaitsForTheContactBeingEdited)
{
    frmAddress& card = openOnThree();
    type(card.txtFld[0], "Adah");
    m_prompts.answerMessage(Answer::OK);
    trigger("mnuImport");
    EXPECT_EQ(lastMessage(), "Save or cancel the contact on the card before importing contacts.");
    EXPECT_EQ(shown(), "Adah 1 / 3 changed");
}

// The file the program is started with comes in through the same summary,
// without the file dialog, and waits for a contact being edited.
TEST_F(ContactsMenu, AFileGivenAtStartIsImportedAfterTheSummary)
{
    frmAddress& card = openOnThree();
    ASSERT_TRUE(writeBytes(home("in.vcf"), kTwoCards));
    type(card.txtFld[0], "Adah");
    m_prompts.answerMessage(Answer::OK);
    modGenProcedures::ImportContactsFrom(home("in.vcf"));
    EXPECT_EQ(lastMessage(), "Save or cancel the contact on the card before importing contacts.");
    trigger("mnuCancel");
    answerSummary(true);
    m_prompts.answerMessage(Answer::OK);
    modGenProcedures::ImportContactsFrom(home("in.vcf"));
    EXPECT_EQ(stored().mid(3), QStringList({"Dina Rao||Nashik", "Eshan||"}));
    EXPECT_EQ(shown(), "Ada 1 / 5");
}

TEST_F(ContactsMenu, ImportIntoAnEmptyBookLeavesTheEmptyCard)
{
    openCard();
    ASSERT_TRUE(writeBytes(home("in.vcf"), kTwoCards));
    m_prompts.answerOpenFile(home("in.vcf"));
    answerSummary(true);
    m_prompts.answerMessage(Answer::OK);
    trigger("mnuImport");
    EXPECT_EQ(stored(), QStringList({"Dina Rao||Nashik", "Eshan||"}));
    EXPECT_EQ(shown(), "Dina Rao 1 / 2");
    EXPECT_EQ(enabledOf("mnuNew mnuNext Del"), "mnuNew mnuNext Del");
}

struct ExportCase {
    const char* name;
    int filterIndex; // of the save dialog: vCard 3.0, vCard 4.0, CSV
    bool filtered;   // the card's selection: Pune only, by name descending
    const char* file;
    const char* told;
    QStringList names; // in the file's order
};

class Exports : public ContactsMenu, public ::testing::WithParamInterface<ExportCase> {};

TEST_P(Exports, WriteTheCardsSelection)
{
    const ExportCase& c = GetParam();
    frmAddress& card = openOnThree();
    if (c.filtered) {
        trigger("mnuFilter");
        card.txtFld[5]->setText("pune");
        trigger("mnuAppFilter");
        card.txtFld[0]->setFocus();
        trigger("mnuDesc");
        ASSERT_EQ(shown(), "Ada 2 / 2"); // Cyrus first
    }
    const QString path = home(c.file);
    m_prompts.answerSaveFile(path, c.filterIndex).answerMessage(Answer::OK);
    trigger("mnuExport");
    ASSERT_FALSE(m_prompts.messages().empty());
    EXPECT_TRUE(lastMessage().startsWith(c.told)) << lastMessage().toStdString();
    EXPECT_EQ(m_prompts.recorded().front().text, "vCard 3.0|*.vcf|vCard 4.0|*.vcf|CSV|*.csv");

    // The names: a CSV row's second cell under the header, a vCard's FN.
    const bool csv = c.filterIndex == 2;
    const QStringList lines = QString::fromUtf8(readBytes(path)).split("\r\n", Qt::SkipEmptyParts);
    QStringList names;
    for (qsizetype i = csv ? 1 : 0; i < lines.size(); ++i) {
        if (csv)
            names << lines[i].section(',', 1, 1);
        else if (lines[i].startsWith("FN:"))
            names << lines[i].mid(3);
    }
    if (csv && !lines.isEmpty()) {
        EXPECT_TRUE(lines[0].startsWith("Salutation,Name,Company,"));
    }
    EXPECT_EQ(names, c.names);
}

INSTANTIATE_TEST_SUITE_P(ContactsMenu, Exports,
                         ::testing::Values(ExportCase{"csv_of_the_filter",
                                                      2,
                                                      true,
                                                      "out.csv",
                                                      "2 contact(s) were exported to '",
                                                      {"Cyrus", "Ada"}},
                                           ExportCase{"vcard4_of_the_filter",
                                                      1,
                                                      true,
                                                      "out.vcf",
                                                      "2 contact(s) were exported to '",
                                                      {"Cyrus", "Ada"}},
                                           ExportCase{"vcard3_of_all",
                                                      0,
                                                      false,
                                                      "all.vcf",
                                                      "3 contact(s) were exported to '",
                                                      {"Ada", "Bela", "Cyrus"}},
                                           ExportCase{"unwritable_place",
                                                      2,
                                                      true,
                                                      "TND.dbx/out.csv",
                                                      "No contacts were exported to '",
                                                      {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ContactsMenu, ExportWithoutTheCardTellsABusyBookAndWritesNothing)
{
    addDatabase();
    sql("INSERT INTO Address (Name, SalutationId, ReligionId) VALUES ('Ada', 1, 1)");
    start();
    BookLock lock(home("TND.dbx"));
    m_prompts.answerSaveFile(home("out"), 0).answerMessage(Answer::OK);
    trigger("mnuExport");
    EXPECT_TRUE(lastMessage().startsWith("No contacts were exported to '" + home("out.vcf")))
        << lastMessage().toStdString();
    EXPECT_TRUE(lastMessage().contains("in use by another program"));
    EXPECT_FALSE(QFile::exists(home("out.vcf")));
    lock.release();
    m_prompts.answerSaveFile(home("out"), 0).answerMessage(Answer::OK);
    trigger("mnuExport");
    EXPECT_TRUE(readBytes(home("out.vcf")).contains("FN:Ada"));
}

// 2,500 contacts of the usual columns, over a megabyte as vCards: large
// work for reading and for writing alike.
QByteArray largeFile()
{
    using interchange::Column;
    QByteArray bytes;
    for (int i = 0; i < 2500; ++i) {
        interchange::Contact c;
        c[Column::Name] = QStringLiteral("Person %1").arg(i);
        c[Column::Company] = QStringLiteral("Vastu Traders Private Limited");
        c[Column::Address1] = QStringLiteral("Flat 4, Sea View Apartments");
        c[Column::Address2] = QStringLiteral("Carter Road, Bandra West");
        c[Column::City] = QStringLiteral("Mumbai");
        c[Column::Country] = QStringLiteral("India");
        for (Column phone : {Column::PhOff1, Column::PhOff2, Column::PhRes1, Column::PhCell})
            c[phone] = QStringLiteral("022 2600 %1").arg(i, 4, 10, QLatin1Char('0'));
        c[Column::EmlAddr] = QStringLiteral("person%1@example.in").arg(i);
        bytes += interchange::vCard(c, interchange::VCardVersion::V3);
    }
    return bytes;
}

enum class LargeWork { ImportCancelledReading, ImportCancelledWriting, Import, ExportCancelled };

struct LargeCase {
    const char* name;
    LargeWork work;
    const char* progress; // the progress windows' texts, in order
    const char* told;
    int stored; // contacts in the book afterwards
};

class LargeWorks : public ContactsMenu, public ::testing::WithParamInterface<LargeCase> {};

TEST_P(LargeWorks, ShowProgressAndACancelKeepsNothing)
{
    const LargeCase& c = GetParam();
    openOnThree();
    const QString in = home("large.vcf");
    const QString out = home("large.csv");
    ASSERT_TRUE(writeBytes(in, largeFile()));
    ASSERT_GT(QFileInfo(in).size(), modGenProcedures::kLargeContactsFile);
    switch (c.work) {
    case LargeWork::ImportCancelledReading:
        m_prompts.answerOpenFile(in).cancelProgress(QFileInfo(in).size() / 2);
        break;
    case LargeWork::ImportCancelledWriting:
    case LargeWork::Import:
        m_prompts.answerOpenFile(in);
        answerSummary(true);
        if (c.work == LargeWork::ImportCancelledWriting)
            m_prompts.cancelProgress(1000);
        break;
    case LargeWork::ExportCancelled:
        sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2500) "
            "INSERT INTO Address (Name, City, SalutationId, ReligionId) "
            "SELECT 'P' || i, 'Goa', 1, 1 FROM n");
        m_prompts.answerSaveFile(out, 2).cancelProgress(1000);
        break;
    }
    m_prompts.answerMessage(Answer::OK);
    const bool exporting = c.work == LargeWork::ExportCancelled;
    trigger(exporting ? "mnuExport" : "mnuImport");

    QStringList progress;
    for (const auto& prompt : m_prompts.recorded()) {
        if (prompt.kind == "progress") {
            EXPECT_EQ(prompt.title, exporting ? "Export Contacts" : "Import Contacts");
            progress << prompt.text;
        }
    }
    EXPECT_EQ(progress.join('|'), c.progress);
    EXPECT_TRUE(lastMessage().startsWith(c.told)) << lastMessage().toStdString();
    EXPECT_EQ(stored().size(), c.stored);
    // Neither the export nor its temporary file is left behind.
    EXPECT_EQ(QDir(home()).entryList({"large.csv*"}, QDir::Files), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    ContactsMenu, LargeWorks,
    ::testing::Values(
        LargeCase{"import_cancelled_reading", LargeWork::ImportCancelledReading,
                  "Reading the contacts...",
                  "Import Contacts was cancelled. No contacts were imported.", 3},
        LargeCase{"import_cancelled_writing", LargeWork::ImportCancelledWriting,
                  "Reading the contacts...|Writing the contacts...",
                  "Import Contacts was cancelled. No contacts were imported; the book is as it "
                  "was.",
                  3},
        LargeCase{"import", LargeWork::Import, "Reading the contacts...|Writing the contacts...",
                  "2500 contact(s) were imported", 2503},
        LargeCase{"export_cancelled", LargeWork::ExportCancelled, "Writing the contacts...",
                  "Export Contacts was cancelled. No contacts were exported", 2503}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
