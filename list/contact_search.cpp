#include "contact_search.h"

#include <QRegularExpression>

namespace tovren {

namespace {

// The part of a key that strips accents: a key that is not plain ASCII
// carries its accented form after a separator, which a typed word must not
// reach into.
QString searchKey(QStringView word)
{
    return data::textKey(word).stripped().toString();
}

// The digits of `word` when it is written as a phone number is.
QString phoneDigits(QStringView word)
{
    static const QRegularExpression phone(QStringLiteral("^\\+?[0-9().\\-]*[0-9][0-9().\\-]*$"));
    if (!phone.match(word).hasMatch())
        return {};
    QString digits;
    for (const QChar c : word)
        if (c.isDigit())
            digits += c;
    return digits;
}

} // namespace

ContactSearch::ContactSearch(QStringView text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QStringView word : text.split(space, Qt::SkipEmptyParts))
        m_words.push_back({searchKey(word), phoneDigits(word)});
}

bool ContactSearch::digitsContain(const data::KeyView& key, QStringView digits)
{
    // Compared digit by digit, whatever stands between them in the number.
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    for (qsizetype start = 0; start < key.size(); ++start) {
        if (!isDigit(key.at(start)))
            continue;
        qsizetype matched = 0;
        for (qsizetype at = start; at < key.size() && matched < digits.size(); ++at) {
            if (!isDigit(key.at(at)))
                continue;
            if (key.at(at) != digits[matched].unicode())
                break;
            ++matched;
        }
        if (matched == digits.size())
            return true;
    }
    return false;
}

} // namespace tovren
