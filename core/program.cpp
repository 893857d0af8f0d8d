#include "program.h"

#include <QCoreApplication>
#include <QDir>

namespace tovren {
namespace {

QString& folderSetting()
{
    static QString folder;
    return folder;
}

QString& connectionSetting()
{
    static QString value;
    return value;
}

} // namespace

QString programFolder()
{
    return folderSetting().isEmpty() ? QCoreApplication::applicationDirPath() : folderSetting();
}

void setProgramFolder(const QString& folder)
{
    folderSetting() = QDir::cleanPath(QDir(folder).absolutePath());
}

QString programFile(const QString& name)
{
    return programFolder() + QLatin1Char('/') + name;
}

QString connectionString()
{
    return connectionSetting();
}

void setConnectionString(const QString& value)
{
    connectionSetting() = value;
}

} // namespace tovren

namespace modGenProcedures {
quint8 nOpenCards = 0;
qint16 nLookUpIdx = 0;
QString sZoomText;
QString sPrintFilter;
} // namespace modGenProcedures
