// tovren-book query's matching: a value of Latin letters, folded from the
// table of letters, matches exactly when folding the whole text matches,
// and so does any other text.

#include "tools/book_query_match.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace transfer_tests {
namespace {

using book_tool::foldedForMatching;

// Whether `stored` matches `wanted` with both folded whole, the way the
// query matched before the table of letters.
bool foldedWhole(const QString& wanted, const QString& stored)
{
    const QString folded = foldedForMatching(wanted);
    return foldedForMatching(stored).contains(folded) || stored.toCaseFolded().contains(folded);
}

TEST(QueryMatchTest, EveryLetterMatchesAsItsTextFoldedWhole)
{
    QStringList values = {QStringLiteral("Ῥόδος"), QStringLiteral("रवि राव"),
                          QStringLiteral("Straße 5"), QStringLiteral("ＡＢＣ")};
    for (char16_t c = 0x80; c < 0x300; ++c)
        values << QStringLiteral("Ab") + QChar(c) + QStringLiteral("Cd");
    int matches = 0;
    for (const QString& value : values) {
        const QString letter = value.mid(2, 1);
        for (const QString& wanted :
             QStringList{letter, value, value.toCaseFolded(),
                         QStringLiteral("b") + letter + QStringLiteral("c"),
                         QStringLiteral("b") + foldedForMatching(letter) + QStringLiteral("c"),
                         QStringLiteral("abcd"), QStringLiteral("ss"), QStringLiteral("abc")}) {
            const bool expected = foldedWhole(wanted, value);
            matches += expected;
            EXPECT_EQ(book_tool::QueryMatch(wanted).in(value.toUtf8()), expected)
                << "U+" << std::hex << int(value.at(2).unicode()) << " '" << value.toStdString()
                << "' for '" << wanted.toStdString() << "'";
        }
    }
    EXPECT_GT(matches, int(values.size()) * 3); // the cases are not all misses
}

} // namespace
} // namespace transfer_tests
