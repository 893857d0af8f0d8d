// Comparison keys: how texts are folded for comparing, and plain ASCII
// compared in place as its key would be.

#include "data/text_key.h"

#include <QRandomGenerator>
#include <QString>

#include <gtest/gtest.h>

namespace {

// The key as the case and decomposition tables define it for any text.
QString referenceKey(const QString& text)
{
    const QString folded = text.toLower().toUpper().toLower();
    bool ascii = true;
    for (const QChar c : folded)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        return folded;
    QString stripped;
    for (const QChar c : folded.normalized(QString::NormalizationForm_KD)) {
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_SpacingCombining
            && c.category() != QChar::Mark_Enclosing)
            stripped += c;
    }
    return stripped + QChar(1) + folded;
}

QString keyOf(const QString& text)
{
    return data::textKey(text).whole().toString();
}

} // namespace

TEST(TextKeys, Latin1TextsKeyAsTheCaseAndDecompositionTablesSay)
{
    QRandomGenerator random(7);
    for (int i = 0; i < 2000; ++i) {
        QString text(QChar(char16_t(0x80 + i % 0x80))); // every upper half character alone
        if (i >= 128) {
            text.clear();
            for (int length = random.bounded(1, 12); length > 0; --length)
                text += QChar(char16_t(random.bounded(0x20, 0x100)));
        }
        ASSERT_EQ(keyOf(text), referenceKey(text)) << text.toStdString();
    }
}

TEST(TextKeys, PlainAsciiComparesInPlaceAsItsKeyWould)
{
    struct Row {
        const char16_t* text;
        const char16_t* other; // a key: folded already
    };
    const Row rows[] = {{u"Pune", u"pune"},   {u"PUNE", u"puna"},
                        {u"Mumbai", u"pune"}, {u"Ab", u"abc"},
                        {u"ABC", u"ab"},      {u"", u""},
                        {u"a[b", u"a_b"},     {u"Zoe", u"zo\u00eb"},
                        {u"x", u"X"},         {u"Company 12 Pvt", u"company 12 pvt ltd"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(QString::fromUtf16(row.text).toStdString());
        const QString text = QString::fromUtf16(row.text);
        const QByteArray bytes = text.toLatin1();
        const QString lowered = text.toLower();
        const QStringView other(row.other);
        const auto inPlace = data::KeyView::ascii(bytes.constData(), bytes.size());
        const auto sign = [](int order) { return (order > 0) - (order < 0); };
        EXPECT_EQ(sign(data::compareKeys(inPlace, other)),
                  sign(QStringView(lowered).compare(other)));
        EXPECT_EQ(sign(data::compareKeys(other, inPlace)), sign(other.compare(lowered)));
        EXPECT_EQ(data::compareKeys(inPlace, inPlace), 0);
        // Two ASCII texts in place, one in capitals: compared as their keys.
        const QByteArray capitals = other.toString().toUpper().toLatin1();
        if (QString::fromLatin1(capitals).toLower() == other)
            EXPECT_EQ(sign(data::compareKeys(
                          inPlace, data::KeyView::ascii(capitals.constData(), capitals.size()))),
                      sign(QStringView(lowered).compare(other)));
        for (qsizetype from = 0; from <= other.size(); ++from) {
            const QStringView part = other.mid(from, 3);
            EXPECT_EQ(data::startsWith(inPlace, part), QStringView(lowered).startsWith(part));
            EXPECT_EQ(data::contains(inPlace, part), QStringView(lowered).contains(part));
        }
    }
}
