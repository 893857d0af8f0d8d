// tovren-bench [N] [--db FILE|CONNECTION] [--make FILE] [--list]: times the record layer, the
// card, the labels and the mail on a large address book, and vCard and CSV
// on as many contacts, with and without the book. It builds a TND.dbx of N
// synthetic contacts (100000 by default) in a temporary folder, or works on
// a copy of FILE, and prints one line per operation: its name, a blank and
// milliseconds (the labels of 10,000 contacts and the import of 10,000
// vCards go into books of their own); the peak resident memory in megabytes
// after the book and the card (rss_book_mb) and at the end (rss_mb).
// --make FILE only writes the book, for timing other programs on the same
// rows. Tracing is on, as in the program, and the card
// runs in the real main window (offscreen unless a display is chosen).
// --db with a PostgreSQL connection string runs the same lines on a shared
// book: the synthetic book is copied into that empty database (and taken
// out again at the end); the SQLite anchors are left out. --list times only
// the contacts list and Find Duplicates, for books too large for the rest.

#include "bench_book.h"
#include "bench_interchange.h"
#include "bench_list.h"
#include "bench_mail.h"
#include "bench_mail_account.h"
#include "bench_server.h"
#include "bench_timing.h"
#include "bench_transfer.h"

#include "app/command_line.h"
#include "app/run.h"
#include "card/frmaddress.h"
#include "core/error_handler.h"
#include "core/program.h"
#include "data/connection.h"
#include "data/database_io.h"
#include "duplicates/frmduplicates.h"
#include "interchange/contacts_file.h"
#include "interchange/csv_writer.h"
#include "interchange/vcard_writer.h"
#include "output/print_rpt.h"
#include "platform/desktop.h"
#include "platform/prompts.h"
#include "records/address.h"
#include "records/schema.h"
#include "shell/mdimain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <vector>

#include <sys/resource.h>

namespace {

const char kUsage[] = "usage: tovren-bench [N] [--db FILE|CONNECTION] [--make FILE] [--list]\n";

const char kDetails[] =
    "\n"
    "Times the record layer, the card, the labels, the mail and the interchange on\n"
    "an address book of N synthetic contacts (100000 by default), and prints one\n"
    "line per operation: its name and milliseconds; last the peak memory (rss_mb).\n"
    "\n"
    "  --db FILE        work on a copy of the book file FILE instead\n"
    "  --db CONNECTION  copy the book into the empty PostgreSQL database that the\n"
    "                   connection string names, and empty it again at the end\n"
    "  --make FILE      only write the book of N contacts to FILE\n"
    "  --list           time only the contacts list and Find Duplicates\n";

// Every question (the delete question) is answered Yes, and Find's input
// box with names beginning "Zo".
class AnswerYes final : public platform::PromptService {
public:
    platform::Answer message(const platform::MessagePrompt& prompt) override
    {
        return prompt.buttons == platform::Buttons::OK ? platform::Answer::OK
                                                       : platform::Answer::Yes;
    }
    QString openFile(const platform::OpenFilePrompt&) override { return QString(); }
    void showModal(QDialog& dialog) override
    {
        if (auto* box = qobject_cast<QInputDialog*>(&dialog)) {
            box->setTextValue(QStringLiteral("Zo*"));
            box->accept();
        }
    }
};

// Opens nothing: the labels are timed, not the word processor.
class NoDesktop final : public platform::DesktopService {
public:
    bool openUrl(const QUrl&) override { return true; }
    bool opensType(const QString&) override { return true; }
    bool startProgram(const QString&, const QStringList&) override { return true; }
};

void fail(const char* what)
{
    std::fprintf(stderr, "tovren-bench: %s\n", what);
    std::exit(1);
}

// Prints the milliseconds `operation` takes.
void measure(const char* name, const std::function<void()>& operation)
{
    printLine(name, millisecondsOf(operation));
}

// The same for an operation of the running program, which fails the run
// when it reported an error.
void time(const char* name, const std::function<void()>& operation)
{
    measure(name, operation);
    Vostrel::clsErrHandler& handler = tovren::errHandler();
    if (handler.ErrNum() != 0) {
        std::fprintf(stderr, "tovren-bench: %s failed: %s\n", name, qPrintable(handler.ErrDesc()));
        std::exit(1);
    }
}

// Another program's write to the book, on a connection of its own.
void writeElsewhere(const QString& connectionString)
{
    data::Connection::open(connectionString)
        ->io()
        .execute(
            QStringLiteral("UPDATE \"Address\" SET \"City\" = 'Thane' WHERE \"AddressId\" = 7"));
}

// The anchors: what SQLite alone takes to step through every row, and to
// step and copy every value into one arena a column (no row store, no
// conversions), as the leanest loader would.
void readAnchor(const QString& path, bool copy)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
            != SQLITE_OK
        || sqlite3_prepare_v2(db, "SELECT * FROM Address", -1, &statement, nullptr) != SQLITE_OK)
        fail("the anchor could not read the book");
    std::vector<std::vector<char>> arenas(size_t(sqlite3_column_count(statement)));
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (size_t c = 0; copy && c < arenas.size(); ++c) {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, int(c)));
            arenas[c].insert(arenas[c].end(), bytes,
                             bytes + sqlite3_column_bytes(statement, int(c)));
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

void recordLayer()
{
    std::unique_ptr<records::Address> address;
    QString name = QStringLiteral("Name LIKE 'ab*'");
    QString company = QStringLiteral("Company LIKE '*12 pvt*'");
    QString rewritten = QStringLiteral("name like 'ab*' or name like 'zo*' and city = 'pune'");
    QString none;
    QString criteria = QStringLiteral("Name LIKE 'Zo*'");
    qint32 skip = 0;
    qint32 forward = 1;
    QVariant first(1);
    QVariant here;
    // Seven fields of ten alternatives each, as the query form lets a person type.
    QStringList fields;
    for (const char* column :
         {"Name", "City", "PinCode", "EmlAddr", "Address1", "State", "PhCell"}) {
        QStringList alternatives;
        for (int i = 0; i < 10; ++i)
            alternatives << QStringLiteral("%1 Like '%2*'").arg(QLatin1String(column)).arg(i);
        fields << alternatives.join(QStringLiteral(" OR "));
    }
    QString wide = fields.join(QStringLiteral(" AND "));

    time("open", [&] { address = std::make_unique<records::Address>(); });
    time("refresh_unchanged", [&] { address->Refresh(); });
    time("filter_first", [&] { address->Filter(name); });
    time("filter_second", [&] { address->Filter(company); });
    time("filter_or", [&] { address->Filter(rewritten); });
    time("filter_wide", [&] { address->Filter(wide); });
    address->Filter(none);
    time("sort_name", [&] { address->sort(QStringLiteral("Name"), QStringLiteral("Asc")); });
    time("sort_city", [&] { address->sort(QStringLiteral("City"), QStringLiteral("Asc")); });
    time("sort_company", [&] { address->sort(QStringLiteral("Company"), QStringLiteral("Asc")); });
    time("sort_email", [&] { address->sort(QStringLiteral("EmlAddr"), QStringLiteral("Asc")); });
    time("find_first", [&] { address->Find(criteria, skip, forward, first); });
    skip = 1;
    time("find_next", [&] { address->Find(criteria, skip, forward, here); });
    time("move_last", [&] { address->MoveLast(); });
    time("save_one", [&] {
        address->setCity(QStringLiteral("Nashik"));
        address->Save();
    });
    time("delete_one", [&] { address->Delete(); });
    time("refresh_after_save", [&] { address->Refresh(); });
    writeElsewhere(tovren::connectionString());
    time("refresh_changed", [&] { address->Refresh(); });
}

void card(mdiMain& main)
{
    time("card_open", [&] {
        main.menuItem("mnuAddress")->trigger();
        QApplication::processEvents();
    });
    frmAddress* card = frmAddress::instance();
    if (!card)
        fail("the card did not open");
    QLineEdit* name = card->txtFld[0];
    name->setFocus();
    time("card_new", [&] { QTest::keyClick(name, Qt::Key_N, Qt::ControlModifier); });
    time("card_escape", [&] { QTest::keyClick(name, Qt::Key_Escape); });
    time("card_save_one", [&] {
        QTest::keyClicks(name, QStringLiteral("x"));
        main.menuItem("mnuSave")->trigger();
    });
    name->setFocus();
    time("find_first_cmd", [&] { main.menuItem("mnuFind")->trigger(); });
    time("find_next_cmd", [&] { main.menuItem("mnuFindNext")->trigger(); });
    card->txtFld[5]->setFocus();
    time("sort_cmd", [&] { main.menuItem("mnuAsc")->trigger(); });
    // The query form: a name with an alternative and a city, applied.
    main.menuItem("mnuFilter")->trigger();
    card->txtFld[0]->setText(QStringLiteral("zo* or ab*"));
    card->txtFld[5]->setText(QStringLiteral("pune"));
    time("appfilter_cmd", [&] { main.menuItem("mnuAppFilter")->trigger(); });
    main.menuItem("mnuFilter")->trigger();
    time("card_close", [&] {
        card->parentWidget()->close();
        QApplication::processEvents();
    });
}

// The labels of 10,000 contacts, from a book of their own, written into
// `folder` as the person's home.
void labels(const QString& folder)
{
    const QString book = folder + QStringLiteral("/labels.dbx");
    records::createDatabase(book);
    if (!fillBenchBook(book, 10000))
        fail("the book of the labels could not be prepared");
    const QString connection = tovren::connectionString();
    tovren::setConnectionString(QStringLiteral("Data Source=") + book);
    qputenv("HOME", QFile::encodeName(folder));
    platform::installDesktop(std::make_unique<NoDesktop>());
    QString all;
    time("labels_10k", [&] { modGenProcedures::PrintRpt(all); });
    if (QFileInfo(folder + QStringLiteral("/TNLabels.odt")).size() == 0)
        fail("the labels were not written");
    tovren::setConnectionString(connection);
}

// Contact interchange, without the database: reading 10000 vCards, and
// writing `count` contacts as vCard 3.0 and as CSV into a file, as an
// export does. Returns the vCards read.
QByteArray interchangeFiles(int count, const QString& folder)
{
    const std::vector<interchange::Contact> book = benchContacts(std::max(count, 10000));
    QByteArray cards;
    for (size_t i = 0; i < 10000; ++i)
        cards += interchange::vCard(book[i], interchange::VCardVersion::V3);
    time("read_10000_vcards", [&] {
        if (interchange::readContacts(cards).contacts.size() != 10000)
            fail("the vCards did not read back");
    });
    QFile out(folder + QStringLiteral("/export"));
    if (!out.open(QIODevice::WriteOnly))
        fail("the export file could not be written");
    time("write_vcard3", [&] {
        for (int i = 0; i < count; ++i)
            out.write(interchange::vCard(book[size_t(i)], interchange::VCardVersion::V3));
        out.flush();
    });
    out.resize(0);
    time("write_csv", [&] {
        out.write(interchange::csvHeader());
        for (int i = 0; i < count; ++i)
            out.write(interchange::csvRow(book[size_t(i)]));
        out.flush();
    });
    return cards;
}

// The whole trips, database included: the 10000 vCards `cards` imported
// into a book file of their own (read, planned, written in one
// transaction), and the program's book exported as vCard 3.0 and as CSV.
void transferBook(const QString& folder, const QByteArray& cards)
{
    const QString file = folder + QStringLiteral("/import.vcf");
    const QString book = folder + QStringLiteral("/import.dbx");
    QFile in(file);
    if (!in.open(QIODevice::WriteOnly) || in.write(cards) != cards.size())
        fail("the vCards to import could not be written");
    in.close();
    records::createDatabase(book);
    time("import_10000_vcards", [&] {
        if (importIntoBook(file, QStringLiteral("Data Source=") + book) != 10000)
            fail("the vCards were not all imported");
    });
    const std::pair<const char*, transfer::ExportFormat> formats[] = {
        {"export_vcard3", transfer::ExportFormat::VCard3},
        {"export_csv", transfer::ExportFormat::Csv}};
    for (const auto& [name, format] : formats) {
        time(name, [&] {
            if (exportBook(tovren::connectionString(), format, folder + QStringLiteral("/export"))
                <= 0)
                fail("the book was not exported");
        });
    }
}

// Tools, Find Duplicates up to its first group shown: the rows the open
// card holds grouped, and the first group's contacts built.
void findDuplicates(mdiMain& main)
{
    time("find_duplicates", [&main] {
        frmDuplicates window(&main);
        if (!window.reread())
            fail("find_duplicates: the book was not read");
    });
}

// The peak resident memory of the bench so far, in megabytes.
void printPeakRss(const char* name)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %ld\n", name, usage.ru_maxrss / 1024);
}

} // namespace

int main(int argc, char** argv)
{
    tovren::CommandLine line(QStringLiteral("tovren-bench"), kUsage, kDetails);
    const QCommandLineOption db = line.add({QStringLiteral("db")}, QStringLiteral("FILE"));
    const QCommandLineOption makeOption =
        line.add({QStringLiteral("make")}, QStringLiteral("FILE"));
    const QCommandLineOption listOption = line.add({QStringLiteral("list")});
    if (const auto status = line.read(tovren::commandWords(argc, argv)))
        return *status;
    const QStringList args = line.arguments();
    bool counted = true;
    const int contacts = args.isEmpty() ? 100000 : args[0].toInt(&counted);
    if (args.size() > 1 || !counted || contacts < 1)
        return line.refuse(QStringLiteral("N is one whole number of contacts, 1 or more."));
    const QString source = line.value(db);
    const QString make = line.value(makeOption);
    const bool listOnly = line.isSet(listOption);
    if (!make.isEmpty()) {
        records::createDatabase(make);
        return fillBenchBook(make, contacts) ? 0 : 1;
    }

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("TND.dbx"));
    const QString server = isServerBook(source) ? source : QString();
    const bool ready = source.isEmpty() || !server.isEmpty()
                           ? (records::createDatabase(path), fillBenchBook(path, contacts))
                           : QFile::copy(source, path);
    if (!ready)
        fail("the address book could not be prepared");
    if (!server.isEmpty()) {
        bool copied = false;
        // Before the program runs: its error handler is not there yet.
        measure("copy_to_server", [&] { copied = prepareServerBook(server, path, folder.path()); });
        if (!copied)
            fail("the book could not be copied to the server");
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::installPrompts(std::make_unique<AnswerYes>());
    QByteArray home = "--home=" + QFile::encodeName(folder.path());
    char* arguments[] = {argv[0], home.data(), nullptr};
    int count = 2;
    return tovren::run(count, arguments, [&](mdiMain& main) {
        QTimer::singleShot(0, &main, [&main, &path, &folder, &server, contacts, listOnly] {
            Vostrel::clsErrHandler& handler = tovren::errHandler();
            handler.setTraceExecution(true);
            if (listOnly) {
                contactsListBench(main);
                findDuplicates(main);
                printPeakRss("rss_mb");
                main.close();
                return;
            }
            if (server.isEmpty()) {
                time("anchor_step_only", [&] { readAnchor(path, false); });
                time("anchor_copy_arenas", [&] { readAnchor(path, true); });
            }
            recordLayer();
            card(main);
            contactsListBench(main);
            // The book's own memory: the lines after this one add theirs.
            printPeakRss("rss_book_mb");
            labels(folder.path());
            const auto mail = mailBench(folder.path());
            time("mail_1k", [&] {
                if (mail() != 1000)
                    fail("mail_1k: the transport did not take every message");
            });
            const AccountMailBench account(folder.path());
            if (!account.error().isEmpty())
                fail(qPrintable("mail_1k_account: " + account.error()));
            time("mail_1k_account", [&] {
                if (account() != 1000)
                    fail("mail_1k_account: the server did not take every message");
            });
            const QByteArray cards = interchangeFiles(contacts, folder.path());
            transferBook(folder.path(), cards);
            findDuplicates(main);
            printPeakRss("rss_mb");
            main.close();
        });
    });
}
