#pragma once
// The commands that order and re-read the card's records: sort on the
// focused field's column and refresh from the book.

#include <QString>

class QWidget;

namespace modGenProcedures {

// Orders the records by the column of the focused field; `sOrder` is the
// direction word ("ASC" from the menu, "Asc" from the toolbar, "Desc").
void sort(QString sOrder);
// Reads the records again and shows what is stored now.
void Refresh(QWidget* frm);

} // namespace modGenProcedures
