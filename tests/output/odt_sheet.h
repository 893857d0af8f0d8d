#pragma once
// A label document read back the way a test wants to see it: the zip
// entries, and the one table's geometry, borders, weights and texts with
// their styles resolved.

#include <QString>
#include <QStringList>

#include <vector>

struct OdtSheet {
    QStringList entries; // in the order of the container
    QByteArray head;     // the file's first bytes
    int tables = 0;
    QString tableWidth;
    QString align;
    QStringList columnWidths; // one a column
    QStringList rowHeights;   // one a row
    QStringList borders;      // each value the cells use, once
    QStringList weights;      // each weight the paragraphs use, once
    std::vector<int> cellsInRow;
    // Each cell's paragraphs joined by "|", row by row; a space run, tab
    // or line break reads as itself.
    QStringList cells;
};

// Reads the document at `path`; entries stay empty when it is no zip.
OdtSheet readOdtSheet(const QString& path);
