#include "book_single_line.h"

namespace book_tool {

namespace {

bool breaksLine(QChar c)
{
    switch (c.unicode()) {
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x85:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

} // namespace

QString singleLine(const QString& text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A CR LF pair is one line break, one space.
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (breaksLine(c))
            line += u' ';
        else if (c.category() != QChar::Other_Control)
            line += c;
    }
    return line;
}

} // namespace book_tool
