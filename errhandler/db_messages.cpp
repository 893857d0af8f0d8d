#include "db_messages.h"

#include "platform/error_numbers.h"

namespace Vostrel {

QString CleanDbMessage(const QString& message)
{
    for (const QLatin1String prefix :
         {QLatin1String("[SQL Server]"), QLatin1String("[ODBC Microsoft Access Driver]")}) {
        const qsizetype at = message.indexOf(prefix, 0, Qt::CaseSensitive);
        if (at >= 0)
            return QStringLiteral("Database Error: ") + message.mid(at + prefix.size());
    }
    return message;
}

QString databaseErrorSection(const DbErrors& errors)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = crlf + QStringLiteral("DATABASE ERROR MESSAGE(S)") + crlf + crlf;
    for (int k = 0; k < errors.Count(); ++k) {
        const DbError error = errors.Item(k);
        // Widened so that a driver number far from the base still prints.
        const qint64 ownNumber = qint64(error.Number) - platform::err::ObjectErrorBase;
        text += QStringLiteral("DB ERROR ") + QString::number(k + 1)
                + QStringLiteral("\tNative DB ERR#: ") + QString::number(error.NativeError) + crlf
                + QStringLiteral("DESCRIPTION:\t") + CleanDbMessage(error.Description) + crlf
                + QStringLiteral("SOURCE:\t\t") + error.Source + crlf
                + QStringLiteral("SQL STATE:\t") + error.SQLState + crlf
                + QStringLiteral("ERROR:\t\t") + QString::number(ownNumber) + QStringLiteral(" (")
                + QString::number(error.Number) + QLatin1Char(')');
    }
    return text;
}

} // namespace Vostrel
