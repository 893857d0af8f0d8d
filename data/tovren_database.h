#pragma once
// What makes a database file a Tovren database: the tables every part of the
// program reads. Opening a file without them fails instead of working on a
// stranger's data.

#include <QStringList>

namespace data {

inline const QStringList& tovrenTables()
{
    static const QStringList tables = {QStringLiteral("Address"), QStringLiteral("Salutation"),
                                       QStringLiteral("Religion")};
    return tables;
}

} // namespace data
