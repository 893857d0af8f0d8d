#include "report_text.h"

namespace Vostrel {
namespace {

const QString crlf = QStringLiteral("\r\n");
const QChar tab = QLatin1Char('\t');

QString heading(const ReportData& data)
{
    const QString kind =
        data.databaseError ? QStringLiteral(" Database") : QStringLiteral(" Application");
    const QString title = data.app ? data.app->Title + kind : kind.mid(1);
    return title + QStringLiteral(" Error Information");
}

} // namespace

QString buildReport(const ReportData& data)
{
    QStringList lines{heading(data), QString(49, QLatin1Char('=')), QString()};
    if (!data.customMessage.isEmpty())
        lines << data.customMessage << QString();
    lines << QStringLiteral("Current Time:") + tab + data.currentTime
          << QStringLiteral("Error Number:") + tab + QString::number(data.errNum)
          << QStringLiteral("Error Procedure:") + tab + data.procName
          << QStringLiteral("Error Line:") + tab + QString::number(data.errLine)
          << QStringLiteral("Error Description:") + tab + data.errDesc << QString()
          << QStringLiteral("Procedure Stack") << QString(15, QLatin1Char('-'));
    for (qsizetype slot = 0; slot < data.callStack.size(); ++slot) {
        if (!data.callStack[slot].isEmpty())
            lines << QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0'))
                         + QString(2 * slot, QLatin1Char(' ')) + data.callStack[slot];
    }
    // The argument lines carry their own line ends; the last one is the
    // report's to give or leave off.
    if (!data.parameters.isEmpty())
        lines << (data.parameters.endsWith(crlf) ? data.parameters.chopped(2) : data.parameters);
    if (!data.currentOperation.isEmpty())
        lines << QString() << QStringLiteral("Current Operation: ") + data.currentOperation;
    if (data.app) {
        const AppDescriptor& app = *data.app;
        lines << QString() << QStringLiteral("Additional Information")
              << QString(22, QLatin1Char('-'))
              << QStringLiteral("Current Directory:") + tab + data.currentDirectory
              << QStringLiteral("Title:\t\t") + app.Title
              << QStringLiteral("Company Name:") + tab + app.CompanyName
              << QStringLiteral("Major:\t\t") + QString::number(app.Major)
              << QStringLiteral("Minor:\t\t") + QString::number(app.Minor)
              << QStringLiteral("Revision:\t\t") + QString::number(app.Revision)
              << QStringLiteral("Path:\t\t") + app.Path
              << QStringLiteral("App Name:") + tab + app.ProductName;
    }
    return lines.join(crlf);
}

} // namespace Vostrel
