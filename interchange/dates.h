#pragma once
// Dates as contact files write them. vCard writes 1947-08-15, 19470815 or
// a date with a time (1947-08-15T00:00:00Z); 4.0 may leave the year out
// (--0415) or the day (1947-08), and a spreadsheet writes the dates of its
// locale. Tovren stores whole dates only, so a partial one is reported,
// never completed by guessing.

#include <QString>

namespace interchange {

struct DateRead {
    QString iso;     // 1947-08-15, or "" when `problem` says why not
    QString problem; // "" for a date read whole
};

DateRead readDate(QStringView text);

// `iso` in the basic form vCard 4.0 writes (19470815).
QString basicDate(const QString& iso);

} // namespace interchange
