#pragma once
// Texts counted and cut in whole characters. A character beyond the basic
// plane (an emoji, many CJK characters) takes two UTF-16 units; a limit
// counted in units, or a cut between the two, leaves half a character that
// is no valid text and never reads back the same from the database.

#include <QString>
#include <QStringView>

namespace platform {

// The number of characters (code points) in `text`.
qsizetype characterCount(QStringView text);

// The first `count` characters of `text`, cut back where needed so that no
// character, and no sequence that shows as one (a flag, an accented letter
// written in two parts), is split.
QString leftCharacters(QStringView text, qsizetype count);

// `text` with every half character (a lone surrogate) replaced by U+FFFD.
QString validText(QString text);

// Whether `text` holds a half character.
bool hasHalfCharacter(QStringView text);

} // namespace platform
