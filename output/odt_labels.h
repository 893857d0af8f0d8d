#pragma once
// The label sheet as an OpenDocument text document (.odt), the form the
// desktop's word processor opens.

#include "label_sheet.h"

#include <QByteArray>

namespace output {

inline constexpr char kOdtType[] = "application/vnd.oasis.opendocument.text";

// The document's bytes. Raises RunTimeError when the container cannot be
// written.
QByteArray odtLabels(const Labels& labels, const Progress& progress = {});

} // namespace output
