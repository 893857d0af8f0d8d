#include "book_home.h"

#include "core/program.h"
#include "core/program_folders.h"
#include "platform/profile_file.h"

namespace book_tool {

QString bookConnectionString(const QString& home, QString& problem)
{
    problem = tovren::settleProgramFolders(home);
    if (!problem.isEmpty())
        return QString();
    // The section is read whole, as the program reads it: a long path is never cut.
    QString connection;
    for (const QString& entry :
         platform::readProfileSection(tovren::settingsFile(), QStringLiteral("DatabasePath")))
        connection += entry + QLatin1Char(';');
    if (connection.isEmpty())
        connection =
            QStringLiteral("Data Source=") + tovren::programFile(QStringLiteral("TND.dbx"));
    return connection;
}

} // namespace book_tool
