#pragma once
// Tools, Find Duplicates: the contacts the card holds (or, with no card
// open, the book's), their duplicate groups shown in frmDuplicates, and
// every merge of this run kept so that the window's Undo Last Merge can
// take it back until the program ends. Failures are told in messages, as
// the import tells them.

namespace modGenProcedures {

void FindDuplicates();

} // namespace modGenProcedures
