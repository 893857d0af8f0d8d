#include "connection_string.h"

#include <QStringList>

namespace data {
namespace {

// The keys whose values are never shown.
bool isPasswordKey(const QString& key)
{
    return key.compare(QLatin1String("Password"), Qt::CaseInsensitive) == 0
           || key.compare(QLatin1String("Pwd"), Qt::CaseInsensitive) == 0;
}

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
        target.values.emplace_back(key, value);
        if (key.compare(QLatin1String("Provider"), Qt::CaseInsensitive) == 0)
            target.provider = value;
        else if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            target.dataSource = value;
    }
    return target;
}

QString ConnectionTarget::value(QStringView key) const
{
    for (const auto& [name, text] : values) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return text;
    }
    return QString();
}

bool isEmbeddedProvider(const QString& provider)
{
    return provider.isEmpty()
           || provider.compare(QLatin1String("Microsoft.Jet.OLEDB.4.0"), Qt::CaseInsensitive) == 0;
}

bool isPostgresProvider(const QString& provider)
{
    return provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0;
}

QString maskedConnectionString(const QString& connectionString)
{
    QStringList parts = splitParts(connectionString);
    for (QString& part : parts) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq >= 0 && isPasswordKey(part.left(eq).simplified()))
            part = part.left(eq + 1) + QStringLiteral("*****");
    }
    return parts.join(QLatin1Char(';'));
}

} // namespace data
