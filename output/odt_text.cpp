#include "odt_text.h"

#include <QXmlStreamWriter>

namespace output {

void writeOdfText(QXmlStreamWriter& xml, QStringView text)
{
    qsizetype plainFrom = 0;
    qsizetype i = 0;
    const auto flush = [&](qsizetype to) {
        if (to > plainFrom)
            xml.writeCharacters(text.mid(plainFrom, to - plainFrom).toString());
    };
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\t' || c == u'\n') {
            flush(i);
            xml.writeEmptyElement(c == u'\t' ? QStringLiteral("text:tab")
                                             : QStringLiteral("text:line-break"));
            plainFrom = ++i;
        } else if (c == u' ') {
            qsizetype end = i;
            while (end < text.size() && text[end] == u' ')
                ++end;
            // One space right after a character stays a character; the
            // others, and any at the start or after a tab or break, are
            // counted.
            const bool afterCharacter = i > plainFrom;
            const qsizetype first = afterCharacter ? i + 1 : i;
            flush(first);
            if (end > first) {
                xml.writeEmptyElement(QStringLiteral("text:s"));
                if (end - first > 1)
                    xml.writeAttribute(QStringLiteral("text:c"), QString::number(end - first));
            }
            plainFrom = i = end;
        } else {
            ++i;
        }
    }
    flush(i);
}

} // namespace output
