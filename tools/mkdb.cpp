// tovren-mkdb [PATH]: writes a new, empty Tovren address book (with the
// default pick lists) to PATH, unless a file of that name already exists.
// Without PATH it is the book the program opens by default, TND.dbx in the
// program's folders (core/program_folders.h), readable by its owner only.
// tovren-mkdb CONNECTION [--copy FILE]: makes the empty PostgreSQL database
// that the connection string names into an address book, with the default
// pick lists or with every row of the book file FILE.

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

int usage()
{
    std::fprintf(stderr, "usage: tovren-mkdb [PATH]\n"
                         "       tovren-mkdb 'Provider=PostgreSQL;Host=...;Database=...'"
                         " [--copy FILE]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
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
            if (args.size() > 1)
                return usage();
            if (QFileInfo::exists(target))
                return 0; // an existing address book is never written over
            records::createDatabase(target);
            if (args.isEmpty())
                QFile::setPermissions(target, platform::kOwnerOnly);
            return 0;
        }
        if (args.size() != 1 && (args.size() != 3 || args[1] != QLatin1String("--copy")))
            return usage();
        const QString copyFrom = args.size() == 3 ? args[2] : QString();
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
