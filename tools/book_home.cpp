#include "book_home.h"

#include "core/program.h"
#include "platform/profile_file.h"

#include <QFileInfo>

namespace book_tool {

QString bookConnectionString(const QString& home, QString& problem)
{
    const QString folder = home.isEmpty() ? qEnvironmentVariable("TOVREN_HOME") : home;
    if (!folder.isEmpty()) {
        if (!QFileInfo(folder).isDir()) {
            problem = QStringLiteral("The folder '%1' does not exist.").arg(folder);
            return QString();
        }
        tovren::setProgramFolder(folder);
    }
    // The section is read whole, as the program reads it: a long path is never cut.
    QString connection;
    const QString ini = tovren::programFile(QStringLiteral("Address.ini"));
    for (const QString& entry : platform::readProfileSection(ini, QStringLiteral("DatabasePath")))
        connection += entry + QLatin1Char(';');
    if (connection.isEmpty())
        connection =
            QStringLiteral("Data Source=") + tovren::programFile(QStringLiteral("TND.dbx"));
    return connection;
}

} // namespace book_tool
