#include "record_store.h"

#include "platform/characters.h"
#include "platform/date_text.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QRegularExpression>

#include <algorithm>

namespace data {

ColumnInfo columnFromDeclaredType(const QString& name, const QString& declaredType)
{
    ColumnInfo column;
    column.name = name;
    const QString type = declaredType.trimmed().toUpper();
    if (type.contains(QLatin1String("INT"))) {
        column.kind = ColumnKind::Integer;
        column.type = type.startsWith(QLatin1String("SMALLINT")) ? adType::SmallInt
                      : type.startsWith(QLatin1String("TINYINT")) || type == QLatin1String("BYTE")
                          ? adType::UnsignedTinyInt
                          : adType::Integer;
    } else if (type.startsWith(QLatin1String("DATE"))) {
        column.kind = ColumnKind::Date;
        column.type = adType::Date;
    } else {
        static const QRegularExpression width(QStringLiteral("\\((\\d+)\\)"));
        const QRegularExpressionMatch match = width.match(type);
        column.definedSize = match.hasMatch() ? match.captured(1).toInt() : 0;
    }
    return column;
}

RecordStore::RecordStore(std::vector<ColumnInfo> columns)
    : m_columns(std::move(columns)), m_data(m_columns.size())
{}

int RecordStore::columnIndex(QStringView name) const
{
    for (int i = 0; i < columnCount(); ++i) {
        if (QStringView(m_columns[size_t(i)].name).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int RecordStore::appendRow()
{
    for (size_t c = 0; c < m_data.size(); ++c) {
        Column& data = m_data[c];
        if (m_columns[c].kind == ColumnKind::Text) {
            data.slot.push_back(kNullSlot);
        } else {
            data.numbers.push_back(kNullNumber);
        }
    }
    return m_rows++;
}

bool RecordStore::isNull(int row, int column) const
{
    const Column& data = m_data[size_t(column)];
    return m_columns[size_t(column)].kind == ColumnKind::Text
               ? data.slot[size_t(row)] == kNullSlot
               : data.numbers[size_t(row)] == kNullNumber;
}

qint64 RecordStore::number(int row, int column) const
{
    return m_data[size_t(column)].numbers[size_t(row)];
}

QVariant RecordStore::value(int row, int column) const
{
    if (isNull(row, column))
        return QVariant();
    switch (m_columns[size_t(column)].kind) {
    case ColumnKind::Integer:
        return QVariant(number(row, column));
    case ColumnKind::Date:
        return QVariant(QDate::fromJulianDay(number(row, column)));
    case ColumnKind::Text:
        break;
    }
    const StoredText text = stored(row, column);
    if (text.size == 0)
        return QVariant(QStringLiteral("")); // empty, and not null
    return QVariant(text.wide ? QString(reinterpret_cast<const QChar*>(text.wide), text.size)
                              : QString::fromLatin1(text.ascii, text.size));
}

RecordStore::StoredText RecordStore::stored(int row, int column) const
{
    const Column& data = m_data[size_t(column)];
    const quint32 slot = data.slot[size_t(row)];
    StoredText text;
    if (slot == kNullSlot)
        return text;
    if (slot & kWideSlot) {
        const char16_t* at = data.wide.at(slot & ~kWideSlot);
        text.size = qsizetype(quint32(at[0]) << 16 | at[1]);
        text.wide = at + 2;
        return text;
    }
    // The length comes first, seven bits a byte, the last byte below 0x80.
    const auto* at = reinterpret_cast<const unsigned char*>(data.ascii.at(slot));
    for (int shift = 0;; shift += 7) {
        text.size |= qsizetype(*at & 0x7f) << shift;
        if (*at++ < 0x80)
            break;
    }
    text.ascii = reinterpret_cast<const char*>(at);
    return text;
}

void RecordStore::setNull(int row, int column)
{
    Column& data = m_data[size_t(column)];
    if (m_columns[size_t(column)].kind == ColumnKind::Text) {
        data.slot[size_t(row)] = kNullSlot;
    } else {
        data.numbers[size_t(row)] = kNullNumber;
    }
}

void RecordStore::setNumber(int row, int column, qint64 value)
{
    m_data[size_t(column)].numbers[size_t(row)] = value;
}

void RecordStore::setText(int row, int column, QStringView value)
{
    // Half a character is no text the database could give back: it is
    // stored as the replacement character, in memory as in the file.
    if (platform::hasHalfCharacter(value)) {
        const QString valid = platform::validText(value.toString());
        setText(row, column, valid);
        return;
    }
    // A new text goes to the end of the column; the old one is left unused
    // until the store is reloaded.
    const bool ascii =
        std::all_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        storeAscii(row, column, value.utf16(), value.size());
        return;
    }
    // The key is made first, so that the length, the text, the key's counts
    // and the key take one run of characters.
    thread_local std::vector<char16_t> key;
    key.clear();
    const auto foldedStart = quint32(appendTextKey(value, key));
    const auto keyLength = quint32(key.size());
    const auto length = quint32(value.size());
    Column& data = m_data[size_t(column)];
    quint32& slot = data.slot[size_t(row)];
    char16_t* room = data.wide.allocate(size_t(length) + 6 + key.size(), slot);
    slot |= kWideSlot;
    *room++ = char16_t(length >> 16);
    *room++ = char16_t(length & 0xffff);
    room = std::copy(value.utf16(), value.utf16() + value.size(), room);
    *room++ = char16_t(keyLength >> 16);
    *room++ = char16_t(keyLength & 0xffff);
    *room++ = char16_t(foldedStart >> 16);
    *room++ = char16_t(foldedStart & 0xffff);
    std::copy(key.begin(), key.end(), room);
}

template <typename Char>
void RecordStore::storeAscii(int row, int column, const Char* chars, qsizetype size)
{
    int header = 1;
    while (header < 5 && quint64(size) >> (7 * header))
        ++header;
    Column& data = m_data[size_t(column)];
    char* room = data.ascii.allocate(size_t(header + size), data.slot[size_t(row)]);
    for (auto rest = quint64(size); header-- > 0; rest >>= 7)
        *room++ = char((rest & 0x7f) | (header ? 0x80 : 0));
    std::copy(chars, chars + size, room);
}

void RecordStore::setUtf8(int row, int column, const char* bytes, int length)
{
    unsigned char high = 0; // one pass over every byte, which the compiler can widen
    for (int i = 0; i < length; ++i)
        high |= static_cast<unsigned char>(bytes[i]);
    if (high >= 0x80) {
        setText(row, column, QString::fromUtf8(bytes, length));
        return;
    }
    storeAscii(row, column, bytes, length); // kept as it comes, a byte a character
}

void RecordStore::setValue(int row, int column, const QVariant& value)
{
    const ColumnInfo& info = m_columns[size_t(column)];
    // Only a text column tells "" from Null; a number or date column takes
    // an empty text (or an empty date) as no value.
    const bool blank =
        info.kind != ColumnKind::Text
        && ((value.metaType() == QMetaType::fromType<QString>()
             && value.toString().trimmed().isEmpty())
            || (value.metaType() == QMetaType::fromType<QDate>() && !value.toDate().isValid()));
    if (!value.isValid() || value.isNull() || blank) {
        setNull(row, column);
        return;
    }
    const auto mismatch = [&info, &value] {
        platform::raise(platform::err::TypeMismatch,
                        QStringLiteral("The value '%1' does not fit the %2 column %3.")
                            .arg(value.toString().left(60),
                                 info.kind == ColumnKind::Date ? QStringLiteral("date")
                                                               : QStringLiteral("number"),
                                 info.name));
    };
    switch (info.kind) {
    case ColumnKind::Text:
        setText(row, column, value.toString());
        return;
    case ColumnKind::Integer: {
        bool ok = false;
        const qint64 number = value.toLongLong(&ok);
        if (!ok)
            mismatch();
        setNumber(row, column, number);
        return;
    }
    case ColumnKind::Date: {
        std::optional<QDate> date;
        if (value.metaType() == QMetaType::fromType<QDate>())
            date = value.toDate();
        else if (value.metaType() == QMetaType::fromType<QDateTime>())
            date = value.toDateTime().date();
        else
            date = platform::parseDate(value.toString());
        if (!date || !date->isValid())
            mismatch();
        setNumber(row, column, date->toJulianDay());
        return;
    }
    }
}

KeyView RecordStore::key(int row, int column) const
{
    return keyOf(stored(row, column), false);
}

KeyView RecordStore::foldedKey(int row, int column) const
{
    return keyOf(stored(row, column), true);
}

KeyView RecordStore::keyOf(const StoredText& text, bool folded)
{
    if (text.ascii)
        return KeyView::ascii(text.ascii, text.size);
    if (!text.wide)
        return KeyView(QStringView(u""));
    const char16_t* counts = text.wide + text.size;
    const auto length = qsizetype(quint32(counts[0]) << 16 | counts[1]);
    const qsizetype from = folded ? qsizetype(quint32(counts[2]) << 16 | counts[3]) : 0;
    return KeyView(QStringView(counts + 4 + from, length - from));
}

std::vector<QVariant> RecordStore::rowValues(int row) const
{
    std::vector<QVariant> values;
    values.reserve(m_columns.size());
    for (int c = 0; c < columnCount(); ++c)
        values.push_back(value(row, c));
    return values;
}

void RecordStore::setRowValues(int row, const std::vector<QVariant>& values)
{
    for (int c = 0; c < columnCount() && size_t(c) < values.size(); ++c)
        setValue(row, c, values[size_t(c)]);
}

} // namespace data
