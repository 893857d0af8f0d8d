#include "text_decoding.h"

#include <QStringDecoder>

#include <optional>

namespace interchange {
namespace {

// The characters Windows-1252 puts at 0x80 to 0x9F; the five bytes it
// leaves undefined read as the C1 controls of the same number, as web
// browsers read them.
const char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte < 0xA0) ? QChar(kWindows1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

std::optional<QString> fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Text files hold no NUL and few control characters other than tab, line
// breaks and form feed; a look at the start tells a picture or a program.
bool looksBinary(QByteArrayView bytes)
{
    const QByteArrayView start = bytes.first(std::min<qsizetype>(bytes.size(), 65536));
    qsizetype controls = 0;
    for (const char c : start) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            return true;
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f'
            && byte != 0x1A)
            ++controls;
    }
    return controls * 100 > start.size();
}

// UTF-8 when the bytes are UTF-8, else Windows-1252, which takes any byte.
QString utf8OrWindows1252(QByteArrayView bytes)
{
    if (std::optional<QString> text = fromUtf8(bytes))
        return *std::move(text);
    return fromWindows1252(bytes);
}

QString fromUtf16(QByteArrayView bytes, QStringDecoder::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace

DecodedText decodeText(const QByteArray& bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return {utf8OrWindows1252(view.sliced(3)), QStringLiteral("UTF-8")};
    if (view.startsWith("\xFF\xFE"))
        return {fromUtf16(view.sliced(2), QStringDecoder::Utf16LE), QStringLiteral("UTF-16LE")};
    if (view.startsWith("\xFE\xFF"))
        return {fromUtf16(view.sliced(2), QStringDecoder::Utf16BE), QStringLiteral("UTF-16BE")};
    if (looksBinary(view))
        return {QString(), QString(), true};
    if (std::optional<QString> text = fromUtf8(view))
        return {*std::move(text), QStringLiteral("UTF-8")};
    return {fromWindows1252(view), QStringLiteral("Windows-1252")};
}

QString decodeCharset(const QByteArray& bytes, const QString& charset, bool* known)
{
    *known = true;
    const QString name = charset.toUpper();
    if (name.isEmpty() || name == QLatin1String("UTF-8") || name == QLatin1String("US-ASCII"))
        return utf8OrWindows1252(bytes);
    // Whatever calls itself Latin-1 is Windows-1252 in practice, which only
    // adds printable characters where Latin-1 has unused controls.
    if (name == QLatin1String("WINDOWS-1252") || name == QLatin1String("CP1252")
        || name == QLatin1String("ISO-8859-1") || name == QLatin1String("LATIN1"))
        return fromWindows1252(bytes);
    QStringDecoder decoder(name.toLatin1().constData(), QStringDecoder::Flag::Stateless);
    if (decoder.isValid())
        return decoder.decode(bytes);
    *known = false;
    return utf8OrWindows1252(bytes);
}

} // namespace interchange
