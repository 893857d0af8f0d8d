#pragma once
// Address labels: the contacts that pass the card's filter as a sheet of
// labels, saved as TNLabels.odt in the person's home folder and opened with
// the desktop's word processor for printing.

#include <QString>

namespace modGenProcedures {

// The labels of the records of qryLabel that pass `filter` ("" for all).
// Every failure is told in a message box here; nothing goes to the error
// handler.
void PrintRpt(QString& filter);

} // namespace modGenProcedures
