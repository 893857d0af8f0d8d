#pragma once
// Connection strings of the "key=value;key=value" form. Keys are matched
// without regard to case; a value may be quoted with ' or " to hold a ";".

#include <QString>

namespace data {

struct ConnectionTarget {
    QString provider; // "" when the string names none
    QString dataSource;
};

ConnectionTarget parseConnectionString(const QString& connectionString);

// True for the providers that mean our embedded database file: none at all,
// or the desktop database provider the stored configurations name.
bool isEmbeddedProvider(const QString& provider);

} // namespace data
