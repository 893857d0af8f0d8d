#pragma once
// The label sheet as a PDF, written by Qt itself, for a machine where no
// word processor opens the .odt: the same table, two labels a row, each
// row at least as high as the word processor's.

#include "label_sheet.h"

#include <QByteArray>

namespace output {

inline constexpr char kPdfType[] = "application/pdf";

// The document's bytes. Raises RunTimeError when it cannot be drawn.
QByteArray pdfLabels(const Labels& labels, const Progress& progress = {});

} // namespace output
