#pragma once
// The plain-text error report that goes to Error.log, the report dialog and
// mail. Everything it shows is gathered into ReportData first, so the text
// depends on nothing else (not even the clock).

#include "Vostrel.h"

#include <QStringList>

#include <optional>

namespace Vostrel {

struct ReportData {
    bool databaseError = false; // headed " Database" instead of " Application"
    std::optional<AppDescriptor> app;
    QString customMessage;
    QString currentTime;
    qint32 errNum = 0;
    QString procName;
    qint32 errLine = 0;
    QString errDesc;
    QStringList callStack; // slot 0 (unused) up to the innermost procedure
    QString parameters;    // the failing procedure's arguments, as recorded
    QString currentOperation;
    QString currentDirectory;
};

// Lines end in CR LF, all but the last.
QString buildReport(const ReportData& data);

} // namespace Vostrel
