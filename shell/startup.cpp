// Start-up of the main window: the error handler, Address.ini, the database
// connection with its recovery dialogue, and the help file.

#include "app_info.h"
#include "mdimain.h"
#include "status_panels.h"

#include "core/database_path.h"
#include "core/error_handler.h"
#include "core/program.h"
#include "core/traced.h"
#include "data/connection.h"
#include "data/connection_string.h"
#include "platform/error_numbers.h"
#include "platform/help.h"
#include "platform/profile_file.h"
#include "platform/program_end.h"
#include "platform/prompts.h"

#include <QCoreApplication>

namespace {

const QString kDatabasePath = QStringLiteral("DatabasePath");

QString connectionStringFor(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
           + QStringLiteral(";Persist Security Info=False");
}

// The connection string Address.ini holds. The section is read whole: a
// long database path is never cut.
QString storedConnectionString(const QString& iniPath)
{
    QString connection;
    for (const QString& entry : platform::readProfileSection(iniPath, kDatabasePath))
        connection += entry + QLatin1Char(';');
    return connection;
}

// Points the program at `path` and remembers it in Address.ini. A folder
// that cannot be written, or an Address.ini that is only read, only means
// the choice is not remembered. A shared book's server settings stay: the
// book tried on the way is only a stand-in for a server that may be back
// next time. A file the person chose takes the server's place, its
// settings kept in the section for going back.
void useDatabase(const QString& iniPath, const QString& path, bool chosen = false)
{
    tovren::setConnectionString(connectionStringFor(path));
    if (chosen
        && data::isPostgresProvider(
            data::parseConnectionString(storedConnectionString(iniPath)).provider))
        tovren::writeSetting(kDatabasePath, QStringLiteral("Provider"),
                             QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    tovren::writeSetting(kDatabasePath, QStringLiteral("Data Source"), path);
}

enum class Recovery { TryBeside, TryChosen, Stop };

// What to do after the database could not be opened.
Recovery recover(bool& defaultTried, const QString& iniPath)
{
    if (!defaultTried) {
        defaultTried = true;
        useDatabase(iniPath, tovren::programFile(QStringLiteral("TND.dbx")));
        return Recovery::TryBeside;
    }
    if (!tovren::askToSelectDatabase())
        platform::endProgram();
    const QString chosen = platform::prompts().openFile(
        {QString(), QStringLiteral("*.dbx|*.dbx"), tovren::programFolder()});
    if (chosen.isEmpty())
        return Recovery::Stop;
    useDatabase(iniPath, chosen, true);
    return Recovery::TryChosen;
}

// The book is held by another program (the open has already waited a
// moment): OK tries again, Cancel ends the program.
bool askToRetryBusy(const platform::RunTimeError& error)
{
    return platform::MsgBox(error.description()
                                + QStringLiteral("\r\nPress OK to try again when it is free, or "
                                                 "Cancel to exit."),
                            platform::Buttons::OKCancel, platform::Icon::Exclamation)
           == platform::Answer::OK;
}

} // namespace

void mdiMain::MDIForm_Initialize()
{
    // The first announcement of the program creates the error handler.
    tovren::traced("mdiMain.MDIForm_Initialize", [] {});
}

void mdiMain::MDIForm_Load()
{
    Vostrel::clsErrHandler& handler = tovren::errHandler();
    bool defaultTried = false;
    const QString iniPath = tovren::settingsFile();
    try {
        handler.setDestination(tovren::programFolders().logs + QLatin1Char('/'));
        handler.setTraceExecution(true);
        handler.setUseInterface(true);
        handler.setAppObj(QVariant::fromValue(tovren::appDescriptor()));
        handler.setEmailAddress(tovren::kSupportAddress);
        handler.setToName(QStringLiteral("Support"));

        const QString named = storedConnectionString(iniPath);
        tovren::setConnectionString(named);

        std::shared_ptr<data::Connection> opened;
        // The book Address.ini named, while the one beside the program
        // stands in for it.
        QString standingInFor;
        while (!opened) {
            try {
                opened =
                    data::Connection::open(tovren::connectionString(), tovren::programFolder());
            } catch (const platform::RunTimeError& error) {
                // A book another program holds is there: it is waited for,
                // never replaced by another file.
                if (error.number() == platform::err::DatabaseBusy) {
                    if (!askToRetryBusy(error))
                        platform::endProgram();
                    continue;
                }
                // A shared book's server that is down or refuses the login
                // is told as such (never with the password) before the
                // course a missing book file takes.
                if (error.number() == platform::err::ServerUnreachable)
                    platform::MsgBox(error.description(), platform::Buttons::OK,
                                     platform::Icon::Exclamation, QStringLiteral("Database Path"));
                else if (error.number() != platform::err::Unspecified)
                    throw;
                const Recovery next = recover(defaultTried, iniPath);
                if (next == Recovery::Stop)
                    return;
                standingInFor = next == Recovery::TryBeside && !named.isEmpty()
                                    ? data::Connection::locationOf(named, tovren::programFolder())
                                    : QString();
            }
        }
        // The stand-in is opened without a question, as ever; a word that
        // asks nothing keeps the person from typing into the wrong book
        // unawares.
        if (!standingInFor.isEmpty())
            stbMain()->showNotice(QStringLiteral("The address book '%1' could not be opened; "
                                                 "'%2' is open instead.")
                                      .arg(standingInFor, opened->location()));
        if (opened->isReadOnly())
            platform::MsgBox(
                QStringLiteral("The address book '%1' is read-only. You can browse and "
                               "search it, but changes cannot be saved until the file "
                               "may be written.")
                    .arg(opened->location()),
                platform::Buttons::OK, platform::Icon::Information);
        handler.setCn(QVariant::fromValue(Vostrel::DbConnectionRef(opened)));
        platform::setHelpFile(tovren::helpFilePath());
    } catch (const platform::RunTimeError& error) {
        tovren::handleError(error);
    } catch (const std::exception& error) {
        tovren::handleError(tovren::asRunTimeError(error));
    }
}
