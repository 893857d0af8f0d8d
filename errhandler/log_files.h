#pragma once
// Error.log and Trace.log in the handler's destination folder. Each write
// opens and closes its file, so a log is complete at any moment. The logs
// hold the values of contacts: a new log is its owner's only.

#include <QString>

namespace Vostrel {

QString errorLogPath(const QString& destination);
QString traceLogPath(const QString& destination);

// Appends the procedure's name and CR LF; 0, or the error number when the
// file cannot be opened or written.
qint32 appendTraceLine(const QString& path, const QString& procedure);

// Replaces the log with the report and CR LF. A folder that cannot be
// written leaves the old log as it was: a report must never fail for it.
void writeErrorLog(const QString& path, const QString& report);

} // namespace Vostrel
