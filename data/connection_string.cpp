#include "connection_string.h"

#include <QStringList>

namespace data {
namespace {

// Splits at ";" outside quotes; each part keeps its own text.
QStringList splitParts(const QString& text)
{
    QStringList parts;
    QString part;
    QChar quote;
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            part += c;
        } else if (c == QLatin1Char(';')) {
            parts << part;
            part.clear();
        } else {
            if ((c == QLatin1Char('"') || c == QLatin1Char('\''))
                && part.trimmed().endsWith(QLatin1Char('=')))
                quote = c;
            part += c;
        }
    }
    parts << part;
    return parts;
}

QString unquoted(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2
        && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

ConnectionTarget parseConnectionString(const QString& connectionString)
{
    ConnectionTarget target;
    for (const QString& part : splitParts(connectionString)) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = part.left(eq).simplified();
        const QString value = unquoted(part.mid(eq + 1));
        if (key.compare(QLatin1String("Provider"), Qt::CaseInsensitive) == 0)
            target.provider = value;
        else if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            target.dataSource = value;
    }
    return target;
}

bool isEmbeddedProvider(const QString& provider)
{
    return provider.isEmpty()
           || provider.compare(QLatin1String("Microsoft.Jet.OLEDB.4.0"), Qt::CaseInsensitive) == 0;
}

} // namespace data
