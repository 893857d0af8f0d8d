#pragma once
// The contacts' whole trips between files and an address book, as the
// Tools menu and tovren-book make them: the database included.

#include "transfer/contacts_export.h"

#include <QString>

// Reads the file at `file`, plans it against the book `connectionString`
// names and writes it in one transaction; returns the contacts stored.
int importIntoBook(const QString& file, const QString& connectionString);
// Reads every contact of the book `connectionString` names and writes them
// into `file`; returns how many.
int exportBook(const QString& connectionString, transfer::ExportFormat format, const QString& file);
