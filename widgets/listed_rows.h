#pragma once
// Reading the rows of a recordset for a control that lists them: a few
// columns of every row, in the recordset's order, with each row's bookmark.
// The recordset is walked from its first row to its end and then put back
// on the row it stood on.

#include <QStringList>
#include <QVariant>

#include <vector>

namespace data {
class Recordset;
}

namespace widgets {

struct ListedRow {
    QVariant bookmark;
    QVariantList values; // in the order the columns were asked for
};

struct ListedRows {
    std::vector<ListedRow> rows;
    int current = -1; // the row the recordset stands on; -1 at BOF or EOF
};

// Raises RunTimeError for a missing column before the recordset moves.
// Like every move, the walk completes an edit in progress (Update). A
// recordset whose current row was just deleted is left on the row that
// followed it, as MoveNext would leave it.
ListedRows listRows(data::Recordset& rows, const QStringList& columns);

} // namespace widgets
