// The row store keeps every text as it was given, whatever its length and
// kind, and tells an empty text from Null.

#include "data/record_store.h"

#include <gtest/gtest.h>

TEST(RecordStore, TextsOfEveryLengthAndKindComeBackAsStored)
{
    data::RecordStore store({data::columnFromDeclaredType("Note", "VARCHAR(255)")});
    QStringList texts;
    for (const qsizetype length : {0, 1, 127, 128, 16383, 16384, 600000}) {
        texts << QString(length, QLatin1Char('a'));
        texts << QString(length, QChar(0x00e9)); // é
        texts << QString(length, QChar(0x4e2d)); // 中
    }
    for (const QString& text : texts)
        store.setText(store.appendRow(), 0, text);
    const int null = store.appendRow();
    store.setUtf8(store.appendRow(), 0, "Pune", 4);
    // A text written again takes a new place; the row shows the last one.
    store.setText(0, 0, QStringLiteral("Mumbai"));

    EXPECT_EQ(store.value(0, 0), QVariant(QStringLiteral("Mumbai")));
    for (int row = 1; row < int(texts.size()); ++row) {
        SCOPED_TRACE(row);
        EXPECT_FALSE(store.isNull(row, 0));
        EXPECT_EQ(store.value(row, 0).toString(), texts[row]);
        EXPECT_GE(store.key(row, 0).size(), texts[row].size());
    }
    EXPECT_TRUE(store.isNull(null, 0));
    EXPECT_FALSE(store.value(null, 0).isValid());
    EXPECT_EQ(store.value(null + 1, 0), QVariant(QStringLiteral("Pune")));
    EXPECT_EQ(store.key(null + 1, 0).at(0), u'p');
}
