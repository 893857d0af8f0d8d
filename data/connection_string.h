#pragma once
// Connection strings of the "key=value;key=value" form. Keys are matched
// without regard to case; a value may be quoted with ' or " to hold a ";".

#include <QString>

#include <utility>
#include <vector>

namespace data {

struct ConnectionTarget {
    QString provider; // "" when the string names none
    QString dataSource;
    // Every key with its value, in the order written (the provider's own
    // settings, such as a server's host and port).
    std::vector<std::pair<QString, QString>> values;

    // The value of `key` (any letter case), or "".
    QString value(QStringView key) const;
};

ConnectionTarget parseConnectionString(const QString& connectionString);

// True for the providers that mean our embedded database file: none at all,
// or the desktop database provider the stored configurations name.
bool isEmbeddedProvider(const QString& provider);
// True for the provider that means a PostgreSQL server.
bool isPostgresProvider(const QString& provider);

// The string as it may be shown or logged: the value of a password key
// replaced by asterisks, everything else as written.
QString maskedConnectionString(const QString& connectionString);

} // namespace data
