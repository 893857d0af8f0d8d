#pragma once
// The commands that search, order and re-read the card's records: find on
// the focused field's column, sort on it, and refresh from the book.

#include <QString>

class QWidget;

namespace modGenProcedures {

// Finds a value of the focused field: "First" asks for it and searches from
// the first record, "Next" and "Prev" repeat the last search from the
// current record on or back. A search that finds nothing says "Search
// Completed." and returns to the record it started from.
void Find(QWidget* frm, QString Direction);

// Orders the records by the column of the focused field; `sOrder` is the
// direction word ("ASC" from the menu, "Asc" from the toolbar, "Desc").
void sort(QString sOrder);
// Reads the records again and shows what is stored now.
void Refresh(QWidget* frm);

} // namespace modGenProcedures
