#include "date_text.h"

#include <QLocale>
#include <QRegularExpression>

namespace platform {

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

std::optional<QDate> parseIsoDate(QStringView text)
{
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return std::nullopt;
    const QDate date = QDate::fromString(text.toString(), Qt::ISODate);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<QDate> parseDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (const auto iso = parseIsoDate(trimmed))
        return iso;
    const QDate date = QLocale().toDate(trimmed, dateFormat());
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

QString isoDate(QDate date)
{
    return date.toString(Qt::ISODate);
}

} // namespace platform
