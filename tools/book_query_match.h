#pragma once
// How tovren-book query matches: what is wanted and each stored value are
// folded (lower case, accents dropped: "Élodie" is "elodie"), and a value
// matches when its folded text, or its text only case-folded, holds what
// is wanted.

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <string>

namespace book_tool {

// Text folded for matching: lower case, accents dropped.
QString foldedForMatching(const QString& text);

class QueryMatch {
public:
    explicit QueryMatch(const QString& text);
    // Whether the stored UTF-8 value matches.
    bool in(QByteArrayView stored);

private:
    bool inLatin(QByteArrayView stored, bool& latin);

    QString m_wanted;
    std::optional<std::string> m_ascii; // m_wanted, when it is plain ASCII
    // The value at hand lowered or folded, kept to save an allocation a value.
    std::string m_lowered;
    std::u16string m_folded;
    std::u16string m_caseFolded;
};

} // namespace book_tool
