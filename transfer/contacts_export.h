#pragma once
// The contacts of an Address recordset streamed out as vCards or CSV, in
// UTF-8: the rows its filter and sort show (the card's selection when it is
// the card's recordset), or every row of a recordset read for the purpose.

#include "book_rows.h"

#include <QIODevice>

namespace transfer {

enum class ExportFormat { VCard3, VCard4, Csv };

// Writes every row `addresses` shows, in its order, and returns how many;
// moves the recordset. Raises PathFileAccess when `out` refuses a write.
int exportContacts(data::Recordset& addresses, const PickLists& lists, ExportFormat format,
                   QIODevice& out);

} // namespace transfer
