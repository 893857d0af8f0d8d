#pragma once
// Trimming as the host's language does it: spaces only, never tabs or line
// breaks, which are part of a report's text.

#include <QString>

namespace Vostrel {

inline QString trimTrailingSpaces(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.left(end);
}

inline QString trimSpaces(const QString& text)
{
    const QString right = trimTrailingSpaces(text);
    qsizetype start = 0;
    while (start < right.size() && right[start] == QLatin1Char(' '))
        ++start;
    return right.mid(start);
}

} // namespace Vostrel
