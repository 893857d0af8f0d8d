// tovren-mkdb [PATH]: writes a new, empty Tovren address book (with the
// default pick lists) to PATH, unless a file of that name already exists.
// Without PATH it is the book the program opens by default, TND.dbx in the
// program's folders (core/program_folders.h), readable by its owner only.
// tovren-mkdb CONNECTION [--copy FILE]: makes the empty PostgreSQL database
// that the connection string names into an address book, with the default
// pick lists or with every row of the book file FILE.

#include "app/command_line.h"
#include "core/program.h"
#include "core/program_folders.h"
#include "data/connection_string.h"
#include "platform/owner_only.h"
#include "platform/runtime_error.h"
#include "records/schema.h"
#include "records/server_book.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

const char kUsage[] = "usage: tovren-mkdb [PATH]\n"
                      "       tovren-mkdb 'Provider=PostgreSQL;Host=...;Database=...'"
                      " [--copy FILE]\n";

const char kDetails[] =
    "\n"
    "Writes a new, empty address book with the default pick lists to PATH (an\n"
    "existing file is left as it is; without PATH, TND.dbx in the program's\n"
    "folders), or makes the empty PostgreSQL database that the connection string\n"
    "names into an address book.\n"
    "\n"
    "  --copy FILE  fill the database with every row of the book file FILE\n"
    "\n"
    "Exit status: 0 done; 1 the book could not be made; 2 a wrong command line.\n";

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    tovren::CommandLine line(QStringLiteral("tovren-mkdb"), kUsage, kDetails);
    const QCommandLineOption copy = line.add({QStringLiteral("copy")}, QStringLiteral("FILE"));
    if (const auto status = line.read(app.arguments().mid(1)))
        return *status;
    const QStringList args = line.arguments();
    if (args.size() > 1)
        return line.refuse(QString());
    if (args.isEmpty()) {
        if (const QString problem = tovren::settleProgramFolders(QString()); !problem.isEmpty()) {
            std::fprintf(stderr, "tovren-mkdb: %s\n", qPrintable(problem));
            return 1;
        }
    }
    const QString target = args.value(0, tovren::programFile(QStringLiteral("TND.dbx")));
    const bool server = data::isPostgresProvider(data::parseConnectionString(target).provider);
    try {
        if (!server) {
            if (line.isSet(copy))
                return line.refuse(QString());
            if (QFileInfo::exists(target))
                return 0; // an existing address book is never written over
            records::createDatabase(target);
            if (args.isEmpty())
                QFile::setPermissions(target, platform::kOwnerOnly);
            return 0;
        }
        const QString copyFrom = line.value(copy);
        const int contacts = records::createServerBook(target, copyFrom);
        if (!copyFrom.isEmpty())
            std::printf("tovren-mkdb: copied %d contacts from %s\n", contacts,
                        qPrintable(copyFrom));
    } catch (const platform::RunTimeError& error) {
        std::fprintf(stderr, "tovren-mkdb: %s\n", qPrintable(error.description()));
        return 1;
    }
    return 0;
}
