#pragma once
// The rows of a recordset, held in memory column by column: a table of
// 100,000 contacts takes a few tens of megabytes and can be scanned, sorted
// and filtered without touching the database.
//
// Rows are addressed by their storage index, which never changes while the
// store lives; a deleted row keeps its index until the store is reloaded.
// A text that is not plain ASCII has its comparison key (see text_key.h)
// written beside it when it is stored, so the first filter or sort costs
// what every later one does.

#include "text_blocks.h"
#include "text_key.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <limits>
#include <optional>
#include <vector>

namespace data {

enum class ColumnKind { Integer, Text, Date };

// Type codes of the classic data-access layer, which callers test.
namespace adType {
constexpr int SmallInt = 2;
constexpr int Integer = 3;
constexpr int Date = 7;
constexpr int UnsignedTinyInt = 17;
constexpr int VarWChar = 202;
} // namespace adType

struct ColumnInfo {
    QString name;
    ColumnKind kind = ColumnKind::Text;
    int type = adType::VarWChar; // the type code callers read
    int definedSize = 0;         // declared width of a text column, 0 when unknown
    bool isKey = false;          // the generated row identity
};

// Maps a declared SQL type ("INTEGER", "VARCHAR(40)", "DATE") to a column.
ColumnInfo columnFromDeclaredType(const QString& name, const QString& declaredType);

class RecordStore {
public:
    static constexpr qint64 kNullNumber = std::numeric_limits<qint64>::min();

    explicit RecordStore(std::vector<ColumnInfo> columns = {});

    const std::vector<ColumnInfo>& columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    // Index of the column named `name` (any letter case), or -1.
    int columnIndex(QStringView name) const;
    int rowCount() const { return m_rows; }

    // Appends a row of nulls and returns its index.
    int appendRow();

    bool isNull(int row, int column) const;
    qint64 number(int row, int column) const;  // Integer and Date columns
    QVariant value(int row, int column) const; // null: invalid QVariant

    void setNull(int row, int column);
    void setNumber(int row, int column, qint64 value); // Date: a Julian day
    // A half character (a lone surrogate) is stored as U+FFFD.
    void setText(int row, int column, QStringView value);
    // Appends UTF-8 text while loading; ASCII is kept as it comes.
    void setUtf8(int row, int column, const char* bytes, int length);
    // Converts as the column's kind requires; raises RunTimeError (type
    // mismatch) for a value the column cannot hold.
    void setValue(int row, int column, const QVariant& value);

    // The comparison key of a text value (see text_key.h), and its
    // case-folded form that keeps the accents.
    KeyView key(int row, int column) const;
    KeyView foldedKey(int row, int column) const;

    // All values of a row, and putting them back (for undoing edits).
    std::vector<QVariant> rowValues(int row) const;
    void setRowValues(int row, const std::vector<QVariant>& values);

private:
    struct Column {
        std::vector<qint64> numbers; // Integer and Date columns
        // Text columns: plain ASCII texts a byte a character after their
        // length (seven bits a byte); the others in UTF-16 after their length
        // (two units), each followed by its key (two 32-bit counts, then the
        // key). A row's slot says where its text is.
        TextBlocks<char> ascii;
        TextBlocks<char16_t> wide;
        std::vector<quint32> slot;
    };
    static constexpr quint32 kNullSlot = 0xffffffff;
    static constexpr quint32 kWideSlot = 0x80000000; // the text is in `wide`
    // A text located: its characters in one of the two kinds; neither for
    // Null.
    struct StoredText {
        const char* ascii = nullptr;
        const char16_t* wide = nullptr;
        qsizetype size = 0;
    };
    StoredText stored(int row, int column) const;
    // The key of a stored text, or its case-folded form.
    static KeyView keyOf(const StoredText& text, bool folded);
    template <typename Char>
    void storeAscii(int row, int column, const Char* chars, qsizetype size);

    std::vector<ColumnInfo> m_columns;
    std::vector<Column> m_data;
    int m_rows = 0;
};

} // namespace data
