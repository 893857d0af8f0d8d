#pragma once
// A shared address book on a PostgreSQL server, made in an empty database:
// the tables, the label query and the default pick lists, or every row of
// an existing book file, so that an office moves its book in one step.

#include <QString>

namespace records {

// Makes the empty database `connectionString` names into an address book
// in one transaction; with `copyFrom`, the rows of that book file take the
// place of the default pick lists, keys and all. Raises RunTimeError (and
// leaves the database as it was) when the server cannot be reached, the
// database already holds an address book, or the file cannot be read.
// Returns the number of contacts copied.
int createServerBook(const QString& connectionString, const QString& copyFrom = QString());

} // namespace records
