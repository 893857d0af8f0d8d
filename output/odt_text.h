#pragma once
// Writing a text into an OpenDocument paragraph so that it reads back as it
// was: runs of spaces, spaces at the start of a paragraph, tabs and line
// breaks have elements of their own, because a reader collapses white
// space in the paragraph's characters.

#include <QStringView>

class QXmlStreamWriter;

namespace output {

void writeOdfText(QXmlStreamWriter& xml, QStringView text);

} // namespace output
