#pragma once
// The benchmark on a shared book: the synthetic book copied into an empty
// PostgreSQL database, the program pointed at it, and the database emptied
// again afterwards so that the next run finds it as this one did.

#include <QString>

// Whether `db` (the --db argument) names a server rather than a file.
bool isServerBook(const QString& db);

// Copies the book file `path` into the empty database `connectionString`
// names and writes Address.ini in `home` to open it; the book is dropped
// from the database again when the program exits. False on failure.
bool prepareServerBook(const QString& connectionString, const QString& path, const QString& home);
