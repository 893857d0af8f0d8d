#include "book_command_line.h"

#include "app/command_line.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace book_tool {

namespace {

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
    "  sync [--dry-run]                    sync both ways with the CardDAV address book\n"
    "                                      Address.ini's [Sync] section names; --dry-run\n"
    "                                      prints what would change on each side\n"
    "\n"
    "The address book is the one Address.ini names in DIR (or TOVREN_HOME, else the\n"
    "program's folders), as for tovren itself.\n"
    "\n"
    "Exit status: 0 done; 1 query found nothing; 2 wrong command, option or filter;\n"
    "3 the address book cannot be opened; 4 another program holds the address book;\n"
    "5 a file could not be read or written; 6 the database refused the import, and\n"
    "nothing was stored; 7 sync: the server could not be reached or stopped answering\n"
    "(the rest goes at the next sync); 8 sync: done, but contacts changed on both\n"
    "sides or refused by the server wait for you.\n";

// What each command takes: its options ("name=" for one that takes a
// value), and how many arguments.
struct Grammar {
    const char* name;
    QStringList options;
    int fewest;
    int most;
    const char* wrongCount;
};

constexpr int kAny = std::numeric_limits<int>::max();

const Grammar kCommands[] = {
    {"import", {QStringLiteral("dry-run")}, 1, kAny, "import needs a FILE."},
    {"export",
     {QStringLiteral("format="), QStringLiteral("filter=")},
     0,
     1,
     "export writes one FILE."},
    {"list", {}, 0, 0, "list takes no arguments."},
    {"query", {}, 1, 1, "query takes one TEXT."},
    {"sync", {QStringLiteral("dry-run")}, 0, 0, "sync takes no arguments."},
};

} // namespace

std::variant<int, BookCommand> readBookCommand(const QStringList& words)
{
    const QString program = QStringLiteral("tovren-book");
    tovren::CommandLine line(program, kHelp);
    const QCommandLineOption home = line.add({QStringLiteral("home")}, QStringLiteral("DIR"));
    line.stopAtFirstArgument();
    if (const auto status = line.read(words))
        return *status;
    QStringList rest = line.arguments();
    if (rest.isEmpty())
        return line.refuse(QStringLiteral("no command given."));
    BookCommand command{line.value(home), rest.takeFirst(), {}, {}};
    if (command.name == QLatin1String("help"))
        return line.help();
    const auto grammar =
        std::find_if(std::begin(kCommands), std::end(kCommands), [&command](const Grammar& g) {
            return command.name == QLatin1String(g.name);
        });
    if (grammar == std::end(kCommands))
        return line.refuse(QStringLiteral("unknown command."));

    tovren::CommandLine own(program, kHelp);
    std::vector<std::pair<QString, QCommandLineOption>> options;
    for (QString name : grammar->options) {
        const bool takesValue = name.endsWith(QLatin1Char('='));
        name.chop(takesValue ? 1 : 0);
        options.emplace_back(name, own.add({name}, takesValue ? name : QString()));
    }
    if (const auto status = own.read(rest))
        return *status;
    command.arguments = own.arguments();
    if (command.arguments.size() < grammar->fewest || command.arguments.size() > grammar->most)
        return own.refuse(QString::fromLatin1(grammar->wrongCount));
    for (const auto& [name, option] : options) {
        if (own.isSet(option))
            command.options.insert(name, own.value(option));
    }
    return command;
}

} // namespace book_tool
