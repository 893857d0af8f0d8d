#pragma once
// A label document read back the way a test wants to see it: its tables
// with their styles resolved.

#include <QStringList>

struct OdtSheet {
    int tables = 0;
    QString tableWidth;
    QStringList columnWidths, rowHeights;
    QStringList borders, weights; // each value the cells and paragraphs use, once
    // Each cell's paragraphs joined by "|", row by row.
    QStringList cells;
};

// Reads the document at `path`; all stays empty when it is no zip.
OdtSheet readOdtSheet(const QString& path);
