#pragma once
// The contacts of an Address recordset streamed out as vCards or CSV, in
// UTF-8: the rows its filter and sort show (the card's selection when it is
// the card's recordset), or every row of a recordset read for the purpose.

#include "book_rows.h"

#include "interchange/progress.h"

#include <QIODevice>

namespace transfer {

enum class ExportFormat { VCard3, VCard4, Csv };

// Writes every row `addresses` shows, in its order, and returns how many;
// moves the recordset. Raises PathFileAccess when `out` refuses a write, and
// Cancelled when `progress`, told the contacts written so far, stops the
// work; what `out` was given is then the caller's to drop.
int exportContacts(data::Recordset& addresses, const PickLists& lists, ExportFormat format,
                   QIODevice& out, const interchange::Progress& progress = {});

} // namespace transfer
