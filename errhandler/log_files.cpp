#include "log_files.h"

#include "platform/error_numbers.h"
#include "platform/owner_only.h"

#include <QFile>
#include <QSaveFile>

namespace Vostrel {

QString errorLogPath(const QString& destination)
{
    return destination + QStringLiteral("/Error.log");
}

QString traceLogPath(const QString& destination)
{
    return destination + QStringLiteral("/Trace.log");
}

qint32 appendTraceLine(const QString& path, const QString& procedure)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append, platform::kOwnerOnly))
        return platform::err::PathFileAccess;
    const QByteArray line = (procedure + QStringLiteral("\r\n")).toUtf8();
    return file.write(line) == line.size() ? 0 : platform::err::PathFileAccess;
}

void writeErrorLog(const QString& path, const QString& report)
{
    // Written aside and swapped in, so a failed write keeps the last report
    // whole; a folder that only lets the file itself be written still works.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (platform::openOwnerOnly(file)) {
        file.write((report + QStringLiteral("\r\n")).toUtf8());
        file.commit();
    }
}

} // namespace Vostrel
