#pragma once
// tovren-book's command line, read alike by the program a mail program
// runs (book.cpp), which answers a query itself, and by
// tovren-book-records, which runs every other command:
//   tovren-book [--home DIR] COMMAND [OPTIONS] ARGUMENTS...

#include <QHash>
#include <QString>
#include <QStringList>

#include <variant>

namespace book_tool {

struct BookCommand {
    QString home;                    // --home DIR
    QString name;                    // import, export, list or query
    QHash<QString, QString> options; // the command's options given, by name; a flag's value is ""
    QStringList arguments;           // its files, or the query's TEXT
};

// The command `words` (the program's name left out) ask for; else the exit
// status, when they asked for the help or the version (printed) or are
// wrong (refused on stderr with the usage).
std::variant<int, BookCommand> readBookCommand(const QStringList& words);

} // namespace book_tool
