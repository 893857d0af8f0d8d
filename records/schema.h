#pragma once
// The Tovren database: the Address table, the two pick-list tables and the
// label query, with the pick lists a new address book starts with.

#include <QString>

namespace records {

// Creates a new database file at `path` holding the schema and the default
// pick lists. Never touches an existing file: raises RunTimeError when
// `path` exists or cannot be written.
void createDatabase(const QString& path);

} // namespace records
