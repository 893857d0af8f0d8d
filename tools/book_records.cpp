// tovren-book-records: every command of tovren-book (book.cpp hands them
// over) through the record layer, and a query whose book did not open
// cleanly for SQLite alone, so that its trouble is told as for any other
// command. Its command line is tovren-book's (book_command_line.h).

#include "book_command_line.h"
#include "book_commands.h"
#include "book_exit.h"
#include "book_home.h"
#include "book_query.h"
#include "book_sync.h"

#include "core/program.h"
#include "data/connection.h"
#include "data/sqlite_io.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"
#include "platform/tls_trust.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

using namespace book_tool;

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

int run(const BookCommand& command)
{
    QString problem;
    const QString connectionString = bookConnectionString(command.home, problem);
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
    const QStringList& args = command.arguments;
    try {
        if (command.name == QLatin1String("query")) {
            // A book file that reached this far could not be answered by
            // the quick way in; a book on a server is always answered here.
            auto* file = dynamic_cast<data::SqliteIo*>(&connection->io());
            return file ? query(file->handle(), args[0], stdout)
                        : query(*connection, args[0], stdout);
        }
        if (command.name == QLatin1String("list"))
            return listContacts(connection);
        if (command.name == QLatin1String("sync"))
            return syncBook(connection, command.options.contains(QStringLiteral("dry-run")));
        if (command.name == QLatin1String("import"))
            return importFiles(connection, args,
                               command.options.contains(QStringLiteral("dry-run")));
        return exportContacts(
            connection, command.options.value(QStringLiteral("format"), QStringLiteral("vcard")),
            command.options.value(QStringLiteral("filter")), args.value(0));
    } catch (const platform::RunTimeError& error) {
        std::fprintf(stderr, "tovren-book: %s\n", qUtf8Printable(error.description()));
        return statusOf(error, false);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto read = readBookCommand(app.arguments().mid(1));
    if (const int* status = std::get_if<int>(&read))
        return *status;
    // Before any connection: a private authority is trusted beside the system's.
    platform::trustCertificateFile();
    return run(std::get<BookCommand>(read));
}
