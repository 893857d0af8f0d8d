#include "date_text.h"

#include <QLocale>
#include <QRegularExpression>

#include <array>

namespace platform {
namespace {

// The month a word names, in English or in the program's locale: a full or
// short name, or an unambiguous start of a full name of three letters or
// more ("Sept"); 0 when it names none.
int monthOfWord(const QString& word)
{
    const QString w = word.toCaseFolded();
    const std::array<QLocale, 2> locales = {QLocale(QLocale::English), QLocale()};
    int byStart = 0;
    bool ambiguous = false;
    for (const QLocale& locale : locales) {
        for (int month = 1; month <= 12; ++month) {
            const QString names[] = {locale.monthName(month, QLocale::LongFormat),
                                     locale.monthName(month, QLocale::ShortFormat),
                                     locale.standaloneMonthName(month, QLocale::LongFormat),
                                     locale.standaloneMonthName(month, QLocale::ShortFormat)};
            for (const QString& name : names) {
                const QString n = name.toCaseFolded().remove(QLatin1Char('.'));
                if (n == w)
                    return month;
                if (w.size() >= 3 && n.startsWith(w) && &name == &names[0]) {
                    ambiguous = ambiguous || (byStart != 0 && byStart != month);
                    byStart = month;
                }
            }
        }
    }
    return ambiguous ? 0 : byStart;
}

bool isWeekday(const QString& word)
{
    const QString w = word.toCaseFolded();
    for (const QLocale& locale : {QLocale(QLocale::English), QLocale()}) {
        for (int day = 1; day <= 7; ++day) {
            if (locale.dayName(day, QLocale::LongFormat).toCaseFolded() == w
                || locale.dayName(day, QLocale::ShortFormat).toCaseFolded().remove(QLatin1Char('.'))
                       == w)
                return true;
        }
    }
    return false;
}

// A two-digit year falls within 1930 to 2029.
int fullYear(const QString& digits)
{
    const int year = digits.toInt();
    if (digits.size() > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

// Whether the locale writes the day before the month in its short form.
bool dayFirst()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    return format.indexOf(QLatin1Char('d')) < format.indexOf(QLatin1Char('M'));
}

// Day, month and year from the words and numbers of a date written in any
// everyday form: numbers in the locale's day and month order (or year
// first), or a month by its name before or after the day.
std::optional<QDate> parseWords(const QString& text)
{
    static const QRegularExpression parts(QStringLiteral("(\\d+)(?:st|nd|rd|th)?|(\\p{L}+)\\.?"),
                                          QRegularExpression::CaseInsensitiveOption
                                              | QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression separators(QStringLiteral("^[\\s/.,-]*$"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    QStringList numbers;
    int month = 0;
    qsizetype end = 0;
    for (auto it = parts.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch part = it.next();
        // Only blanks and the usual separators may stand between the parts.
        if (!separators.match(text.mid(end, part.capturedStart() - end)).hasMatch())
            return std::nullopt;
        end = part.capturedEnd();
        if (part.hasCaptured(1)) {
            numbers << part.captured(1);
        } else if (const int named = monthOfWord(part.captured(2)); named && !month) {
            month = named;
        } else if (!isWeekday(part.captured(2)) || !numbers.isEmpty() || month) {
            return std::nullopt;
        }
    }
    if (!separators.match(text.mid(end)).hasMatch())
        return std::nullopt;

    int day = 0;
    int year = 0;
    if (month && numbers.size() == 2) {
        // "15 Aug 1947", "Aug 15, 1947", "1947 Aug 15".
        const bool yearFirst = numbers[0].size() > 2;
        day = numbers[yearFirst ? 1 : 0].toInt();
        year = fullYear(numbers[yearFirst ? 0 : 1]);
        if (numbers[yearFirst ? 1 : 0].size() > 2)
            return std::nullopt;
    } else if (!month && numbers.size() == 3) {
        if (numbers[0].size() > 2) {
            year = numbers[0].toInt();
            month = numbers[1].toInt();
            day = numbers[2].toInt();
        } else {
            const bool dm = dayFirst();
            day = numbers[dm ? 0 : 1].toInt();
            month = numbers[dm ? 1 : 0].toInt();
            year = fullYear(numbers[2]);
        }
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

} // namespace

QString dateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    // "yy" becomes "yyyy"; a format that already has four y's keeps them.
    static const QRegularExpression years(QStringLiteral("y+"));
    format.replace(years, QStringLiteral("yyyy"));
    // Day and month with two digits keep the text at a fixed width.
    static const QRegularExpression day(QStringLiteral("(?<!d)d(?!d)"));
    static const QRegularExpression month(QStringLiteral("(?<!M)M(?!M)"));
    format.replace(day, QStringLiteral("dd")).replace(month, QStringLiteral("MM"));
    // A form with month or day names, or longer than ten characters, gives
    // way to the ISO form.
    if (format.contains(QLatin1String("MMM")) || format.contains(QLatin1String("ddd"))
        || format.size() > 10)
        return QStringLiteral("yyyy-MM-dd");
    return format;
}

QString dateText(QDate date)
{
    return date.isValid() ? QLocale().toString(date, dateFormat()) : QString();
}

namespace {

// "yyyy-MM-dd" read straight from its characters: the loader meets one in
// every row, so no detour through QString or a format parser.
template <typename Char>
std::optional<QDate> isoDateOf(const Char* text, qsizetype size)
{
    if (size != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int parts[3] = {0, 0, 0};
    int part = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (i == 4 || i == 7) {
            ++part;
            continue;
        }
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        parts[part] = parts[part] * 10 + int(text[i] - '0');
    }
    const QDate date(parts[0], parts[1], parts[2]);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

} // namespace

std::optional<QDate> parseIsoDate(QStringView text)
{
    return isoDateOf(text.utf16(), text.size());
}

std::optional<QDate> parseIsoDate(QLatin1StringView text)
{
    return isoDateOf(text.data(), text.size());
}

std::optional<QDate> parseDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (const auto iso = parseIsoDate(trimmed))
        return iso;
    const QLocale locale;
    for (const QString& format : {dateFormat(), locale.dateFormat(QLocale::ShortFormat),
                                  locale.dateFormat(QLocale::LongFormat)}) {
        const QDate date = locale.toDate(trimmed, format);
        if (date.isValid())
            return date;
    }
    return parseWords(trimmed);
}

QString isoDate(QDate date)
{
    return date.toString(Qt::ISODate);
}

} // namespace platform
