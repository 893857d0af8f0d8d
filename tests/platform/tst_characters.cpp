// Texts counted and cut in whole characters, never in halves.

#include "platform/characters.h"

#include <gtest/gtest.h>

namespace {

const QString kSmile = QStringLiteral("\U0001F600");          // two UTF-16 units
const QString kFlag = QStringLiteral("\U0001F1EE\U0001F1F3"); // two characters, shown as one
const QString kAccented = QStringLiteral("e\u0301");          // two characters, shown as one

TEST(Characters, CountAndCutWholeCharacters)
{
    // The text, its count of characters, and what is left of it cut at a count.
    const std::tuple<QString, qsizetype, qsizetype, QString> rows[] = {
        {QStringLiteral("abc"), 3, 2, QStringLiteral("ab")},
        {kSmile.repeated(3), 3, 2, kSmile.repeated(2)},
        {QStringLiteral("a") + kSmile, 2, 5, QStringLiteral("a") + kSmile},
        {QStringLiteral("a") + kFlag + QStringLiteral("b"), 4, 2, QStringLiteral("a")},
        {QStringLiteral("a") + kFlag + QStringLiteral("b"), 4, 3, QStringLiteral("a") + kFlag},
        {kAccented + QStringLiteral("x"), 3, 1, QString()},
        {QString(), 0, 3, QString()},
    };
    for (const auto& [text, count, cutAt, left] : rows) {
        EXPECT_EQ(platform::characterCount(text), count) << text.toStdString();
        EXPECT_EQ(platform::leftCharacters(text, cutAt), left) << text.toStdString();
    }
}

TEST(Characters, HalfCharactersBecomeTheReplacementCharacter)
{
    const QChar high(0xD83D);
    const QChar low(0xDE00);
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("a") + high, QStringLiteral("a\uFFFD")},
        {QString(low) + QStringLiteral("a"), QStringLiteral("\uFFFDa")},
        {QString(low) + high, QStringLiteral("\uFFFD\uFFFD")},
        {kSmile + QStringLiteral("b"), kSmile + QStringLiteral("b")},
    };
    for (const auto& [text, valid] : rows) {
        EXPECT_EQ(platform::hasHalfCharacter(text), text != valid);
        EXPECT_EQ(platform::validText(text), valid);
    }
}

} // namespace
