// tovren-book: the address book from the command line, with no display.
// A mail program runs `tovren-book query` on every completion, so this
// program answers a query itself, from SQLite alone, and loads nothing
// else: loading the record layer's libraries took longer than the search.
// Every other command, and a query whose book does not open cleanly, is
// handed to tovren-book-records among the program's private parts, which
// runs it through the record layer and tells any trouble (book_records.cpp).
// The help, the version and a wrong command line are answered here, as
// there.

#include "book_command_line.h"
#include "book_home.h"
#include "book_query.h"
#include "book_query_open.h"

#include "core/program.h"
#include "core/program_folders.h"

#include <QCoreApplication>
#include <QFile>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

// The book named by `--home DIR`, TOVREN_HOME or the program's folders,
// when it opens for a query; none otherwise.
book_tool::QueryBook bookForQuery(const QString& home)
{
    QString problem;
    const QString connectionString = book_tool::bookConnectionString(home, problem);
    if (!problem.isEmpty())
        return book_tool::QueryBook(nullptr, sqlite3_close);
    return book_tool::openForQuery(connectionString, tovren::programFolder());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto read = book_tool::readBookCommand(app.arguments().mid(1));
    if (const int* status = std::get_if<int>(&read))
        return *status;
    const auto& command = std::get<book_tool::BookCommand>(read);
    if (command.name == QLatin1String("query")) {
        if (const book_tool::QueryBook book = bookForQuery(command.home))
            return book_tool::query(book.get(), command.arguments[0], stdout);
    }
    QByteArray records = QFile::encodeName(tovren::privatePartsFolder() + "/tovren-book-records");
    argv[0] = records.data();
    ::execv(records.constData(), argv);
    std::fprintf(stderr, "tovren-book: cannot run '%s': %s\n", records.constData(),
                 std::strerror(errno));
    return 127; // as a shell answers for a program it cannot run
}
