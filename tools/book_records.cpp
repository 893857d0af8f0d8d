// tovren-book-records: every command of tovren-book (book.cpp hands them
// over) through the record layer, and a query whose book did not open
// cleanly for SQLite alone, so that its trouble is told as for any other
// command. See kHelp below, which --help prints.

#include "book_commands.h"
#include "book_exit.h"
#include "book_home.h"
#include "book_query.h"

#include "core/program.h"
#include "data/connection.h"
#include "data/sqlite_io.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

using namespace book_tool;

const char kHelp[] =
    "usage: tovren-book [--home DIR] COMMAND ...\n"
    "\n"
    "  import [--dry-run] FILE|FOLDER...   add the contacts of vCard or CSV files (a\n"
    "                                      folder gives its .vcf files); prints what is\n"
    "                                      added, skipped and not kept; --dry-run only\n"
    "                                      prints it\n"
    "  export [--format vcard|vcard4|csv] [--filter CRITERIA] [FILE]\n"
    "                                      write the contacts (those CRITERIA, in the\n"
    "                                      card's filter language, keep) to FILE or stdout\n"
    "  list                                one line a contact: name, company, e-mail, city\n"
    "  query TEXT                          for mail programs: a first line of text, then\n"
    "                                      address<TAB>name<TAB>company per match\n"
    "\n"
    "The address book is the one Address.ini names in DIR (or TOVREN_HOME, else the\n"
    "program's folders), as for tovren itself.\n"
    "\n"
    "Exit status: 0 done; 1 query found nothing; 2 wrong command, option or filter;\n"
    "3 the address book cannot be opened; 4 another program holds the address book;\n"
    "5 a file could not be read or written; 6 the database refused the import, and\n"
    "nothing was stored.\n";

int usage(const char* problem)
{
    std::fprintf(stderr, "tovren-book: %s\n%s", problem, kHelp);
    return kUsage;
}

int statusOf(const platform::RunTimeError& error, bool opening)
{
    if (error.number() == platform::err::DatabaseBusy)
        return kBookInUse;
    if (error.number() == platform::err::PathFileAccess)
        return kFileProblem;
    if (opening)
        return kNoBook;
    return kNotWritten;
}

int run(QStringList args)
{
    QString home;
    if (args.size() >= 2 && args[0] == QLatin1String("--home")) {
        home = args[1];
        args = args.mid(2);
    }
    if (args.isEmpty())
        return usage("no command given.");
    if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("help")) {
        std::fputs(kHelp, stdout);
        return kDone;
    }
    const QString command = args.takeFirst();
    QString problem;
    const QString connectionString = bookConnectionString(home, problem);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "tovren-book: %s\n", qUtf8Printable(problem));
        return kNoBook;
    }
    std::shared_ptr<data::Connection> connection;
    try {
        connection = data::Connection::open(connectionString, tovren::programFolder());
    } catch (const platform::RunTimeError& error) {
        std::fprintf(stderr, "tovren-book: %s\n", qUtf8Printable(error.description()));
        return statusOf(error, true);
    }
    try {
        if (command == QLatin1String("query")) {
            if (args.size() != 1)
                return usage("query takes one TEXT.");
            // A book file that reached this far could not be answered by
            // the quick way in; a book on a server is always answered here.
            auto* file = dynamic_cast<data::SqliteIo*>(&connection->io());
            return file ? query(file->handle(), args[0], stdout)
                        : query(*connection, args[0], stdout);
        }
        if (command == QLatin1String("list"))
            return args.isEmpty() ? listContacts(connection) : usage("list takes no arguments.");
        if (command == QLatin1String("import")) {
            const bool dryRun = args.removeAll(QStringLiteral("--dry-run")) > 0;
            return args.isEmpty() ? usage("import needs a FILE.")
                                  : importFiles(connection, args, dryRun);
        }
        if (command == QLatin1String("export")) {
            QString format = QStringLiteral("vcard");
            QString criteria;
            while (
                args.size() >= 2
                && (args[0] == QLatin1String("--format") || args[0] == QLatin1String("--filter"))) {
                (args[0] == QLatin1String("--format") ? format : criteria) = args[1];
                args = args.mid(2);
            }
            if (args.size() > 1)
                return usage("export writes one FILE.");
            return exportContacts(connection, format, criteria, args.value(0));
        }
    } catch (const platform::RunTimeError& error) {
        std::fprintf(stderr, "tovren-book: %s\n", qUtf8Printable(error.description()));
        return statusOf(error, false);
    }
    return usage("unknown command.");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return run(app.arguments().mid(1));
}
