#include "program_folders.h"

#include "program.h"

#include "core/install_layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace tovren {
namespace {

const QString kSettings = QStringLiteral("Address.ini");
const QString kBook = QStringLiteral("TND.dbx");

// The bin folder of the installation the executable in `executable` belongs
// to, or a null string when it is not installed. The installation's root
// is whatever lies before the configured folders, so a package unpacked
// into a scratch folder counts as installed too.
QString installedBinFolder(const QString& executable)
{
    const QString bin = QString::fromUtf8(layout::kBinFolder);
    const QString folder = QDir::cleanPath(executable);
    if (folder.endsWith(bin))
        return folder;
    const QString parts =
        QDir::cleanPath(bin + QLatin1Char('/') + QString::fromUtf8(layout::kPrivateFromBin));
    if (folder.endsWith(parts))
        return folder.chopped(parts.size()) + bin;
    return QString();
}

QString partsFolder(const char* fromBin)
{
    const QString executable = programFolders().executable;
    const QString bin = installedBinFolder(executable);
    return bin.isNull() ? executable
                        : QDir::cleanPath(bin + QLatin1Char('/') + QString::fromUtf8(fromBin));
}

// $variable/tovren when the variable names an absolute folder, else the
// base directory's default under the home folder.
QString ownFolder(const char* variable, const char* fallback)
{
    const QString set = qEnvironmentVariable(variable);
    const QString base = QDir::isAbsolutePath(set)
                             ? set
                             : QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback);
    return QDir::cleanPath(base + QStringLiteral("/tovren"));
}

// Makes `folder` and any missing folder above it, readable by their owner
// only; what exists is left as it is. Empty, or why it could not be made.
QString makeOwnFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return QString(); // every start after the first
    // Each step down from the root: /a, /a/b, /a/b/c.
    qsizetype end = 0;
    do {
        end = folder.indexOf(QLatin1Char('/'), end + 1);
        const QString step = end < 0 ? folder : folder.left(end);
        if (!QFileInfo(step).isDir() && ::mkdir(QFile::encodeName(step).constData(), 0700) != 0) {
            const QString why = errno == EEXIST ? QStringLiteral("a file stands in its place")
                                                : QString::fromLocal8Bit(std::strerror(errno));
            return QStringLiteral("The folder '%1' could not be created: %2.").arg(step, why);
        }
    } while (end >= 0);
    return QString();
}

// A fresh copy of the shipped empty book as the person's first, readable
// by its owner only; a book that is there is never written over. When
// the copy fails, start-up's course for a missing book follows.
void copyTemplate(const QString& from, const QString& to)
{
    QFile source(from);
    if (QFileInfo::exists(to) || !source.open(QIODevice::ReadOnly))
        return;
    // Written aside and renamed, which refuses to replace a file: nobody
    // ever sees half a book.
    QTemporaryFile copy(to + QStringLiteral(".XXXXXX"));
    if (copy.open() && copy.write(source.readAll()) == source.size() && copy.flush()
        && copy.rename(to))
        copy.setAutoRemove(false);
}

// The folders the rule gives for an executable in `executable`.
ProgramFolders chosenFolders(const QString& executable, bool writable)
{
    const QString bin = installedBinFolder(executable);
    const QString beside = bin.isNull() ? executable : bin;
    const bool settingsBeside = QFileInfo::exists(beside + QLatin1Char('/') + kSettings);
    if (bin.isNull() && (settingsBeside || writable))
        return {executable, executable, executable, executable};
    ProgramFolders own{executable, ownFolder("XDG_CONFIG_HOME", ".config"),
                       ownFolder("XDG_DATA_HOME", ".local/share"),
                       ownFolder("XDG_STATE_HOME", ".local/state")};
    if (settingsBeside) {
        own.settings = beside;
        own.settingsReadOnly = true;
    }
    return own;
}

} // namespace

QString privatePartsFolder()
{
    return partsFolder(layout::kPrivateFromBin);
}

QString sharedFilesFolder()
{
    return partsFolder(layout::kShareFromBin);
}

QString settleProgramFolders(const QString& home)
{
    const QString executable = QCoreApplication::applicationDirPath();
    return settleProgramFolders(home, executable, QFileInfo(executable).isWritable());
}

QString settleProgramFolders(const QString& home, const QString& executable, bool writable)
{
    const QString named = home.isEmpty() ? qEnvironmentVariable("TOVREN_HOME") : home;
    if (!named.isEmpty()) {
        if (!QFileInfo(named).isDir())
            return QStringLiteral("The folder '%1' does not exist.").arg(named);
        const QString folder = QDir::cleanPath(QDir(named).absolutePath());
        setProgramFolders({executable, folder, folder, folder});
        return QString();
    }
    const ProgramFolders folders = chosenFolders(executable, writable);
    setProgramFolders(folders);
    if (folders.book == executable) // beside the executable, all is as it always was
        return QString();
    for (const QString& folder : {folders.settings, folders.book, folders.logs}) {
        if (folder == folders.settings && folders.settingsReadOnly)
            continue;
        if (const QString problem = makeOwnFolder(folder); !problem.isEmpty())
            return problem;
    }
    if (!QFileInfo::exists(settingsFile()))
        copyTemplate(sharedFilesFolder() + QLatin1Char('/') + kBook, programFile(kBook));
    return QString();
}

} // namespace tovren
