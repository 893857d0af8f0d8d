// Texts counted and cut in whole characters, never in halves.

#include "platform/characters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kSmile = u"\U0001F600"_s;          // two UTF-16 units
const QString kFlag = u"\U0001F1EE\U0001F1F3"_s; // two characters, shown as one
const QString kAccented = u"e\u0301"_s;          // two characters, shown as one

TEST(Characters, CountAndCutWholeCharacters)
{
    // The text, its count of characters, and what is left of it cut at a count.
    const std::tuple<QString, qsizetype, qsizetype, QString> rows[] = {
        {u"abc"_s, 3, 2, u"ab"_s},
        {kSmile.repeated(3), 3, 2, kSmile.repeated(2)},
        {u"a"_s + kSmile, 2, 5, u"a"_s + kSmile},
        {u"a"_s + kFlag + u"b"_s, 4, 2, u"a"_s},
        {u"a"_s + kFlag + u"b"_s, 4, 3, u"a"_s + kFlag},
        {kAccented + u"x"_s, 3, 1, QString()},
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
        {u"a"_s + high, u"a\uFFFD"_s},
        {QString(low) + u"a"_s, u"\uFFFDa"_s},
        {QString(low) + high, u"\uFFFD\uFFFD"_s},
        {kSmile + u"b"_s, kSmile + u"b"_s},
    };
    for (const auto& [text, valid] : rows) {
        EXPECT_EQ(platform::hasHalfCharacter(text), text != valid);
        EXPECT_EQ(platform::validText(text), valid);
    }
}

} // namespace
