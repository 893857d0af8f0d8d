#pragma once
// How the record classes reach their recordsets: every one is read with the
// program's connection and then left disconnected, so that moves, find,
// filter and sort never touch the database.

#include "data/recordset.h"

#include <QString>
#include <QVariant>

#include <memory>

namespace records {

// Connects with the program's connection string, reads every row of
// `source` and disconnects.
void openDisconnected(data::Recordset& rs, const QString& source);

// Reads the rows again from scratch, dropping every pending change. With
// `keepRow` the row that was current stays current; otherwise, or when no
// row was current, the first row becomes current.
void reopen(data::Recordset& rs, bool keepRow);

// A recordset as a traced argument: an object, which has no text of its own.
QVariant recordsetArg(const std::shared_ptr<data::Recordset>& rs);

} // namespace records
