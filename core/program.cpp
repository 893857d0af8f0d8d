#include "program.h"

#include <QCoreApplication>
#include <QDir>

#include <optional>

namespace tovren {
namespace {

std::optional<ProgramFolders>& foldersSetting()
{
    static std::optional<ProgramFolders> folders;
    return folders;
}

QString& connectionSetting()
{
    static QString value;
    return value;
}

} // namespace

const ProgramFolders& programFolders()
{
    if (!foldersSetting()) {
        const QString beside = QCoreApplication::applicationDirPath();
        foldersSetting() = ProgramFolders{beside, beside, beside, beside};
    }
    return *foldersSetting();
}

void setProgramFolders(const ProgramFolders& folders)
{
    foldersSetting() = folders;
}

void setProgramFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    setProgramFolders({programFolders().executable, clean, clean, clean});
}

QString programFolder()
{
    return programFolders().book;
}

QString programFile(const QString& name)
{
    return programFolder() + QLatin1Char('/') + name;
}

QString settingsFile()
{
    return programFolders().settings + QStringLiteral("/Address.ini");
}

bool writeSetting(const QString& section, const QString& key, const QString& value)
{
    return writeSettings(section, {{key, value}});
}

bool writeSettings(const QString& section, const platform::ProfileEntries& entries)
{
    return !programFolders().settingsReadOnly
           && platform::writeProfileStrings(settingsFile(), section, entries);
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
