#include "characters.h"

#include <QTextBoundaryFinder>

namespace platform {
namespace {

// Whether the unit at `i` is the first of a whole pair.
bool startsPair(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
}

} // namespace

qsizetype characterCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count) {
        if (startsPair(text, i))
            ++i;
    }
    return count;
}

QString leftCharacters(QStringView text, qsizetype count)
{
    qsizetype end = 0;
    for (qsizetype n = 0; n < count && end < text.size(); ++n)
        end += startsPair(text, end) ? 2 : 1;
    if (end >= text.size())
        return text.toString();
    const QString whole = text.toString();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, whole);
    graphemes.setPosition(end);
    if (!graphemes.isAtBoundary())
        end = std::max<qsizetype>(graphemes.toPreviousBoundary(), 0);
    return whole.left(end);
}

bool hasHalfCharacter(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (startsPair(text, i))
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

QString validText(QString text)
{
    if (!hasHalfCharacter(text))
        return text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (startsPair(text, i))
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace platform
