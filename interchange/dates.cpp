#include "dates.h"

#include "platform/date_text.h"

#include <QRegularExpression>

namespace interchange {

DateRead readDate(QStringView text)
{
    const QString trimmed = text.trimmed().toString();
    // A time after the date says nothing about the day in the local sense
    // Tovren keeps, so it is dropped.
    static const QRegularExpression dated(
        QStringLiteral("^(\\d{4})-?(\\d{2})-?(\\d{2})(?:T[0-9:.]*(?:Z|[+-][0-9:]+)?)?$"));
    static const QRegularExpression yearless(QStringLiteral("^--\\d{2}-?\\d{2}$"));
    static const QRegularExpression dayless(QStringLiteral("^\\d{4}(?:-\\d{2})?$"));
    if (const QRegularExpressionMatch m = dated.match(trimmed); m.hasMatch()) {
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (date.isValid())
            return {platform::isoDate(date), QString()};
        return {QString(), QStringLiteral("'%1' is no date in the calendar").arg(trimmed)};
    }
    if (yearless.match(trimmed).hasMatch())
        return {
            QString(),
            QStringLiteral("'%1' has no year, and Tovren stores whole dates only").arg(trimmed)};
    if (dayless.match(trimmed).hasMatch())
        return {QString(),
                QStringLiteral("'%1' has no day, and Tovren stores whole dates only").arg(trimmed)};
    if (const std::optional<QDate> date = platform::parseDate(trimmed))
        return {platform::isoDate(*date), QString()};
    return {QString(), QStringLiteral("'%1' is not a date Tovren can read").arg(trimmed)};
}

QString basicDate(const QString& iso)
{
    return QString(iso).remove(QLatin1Char('-'));
}

} // namespace interchange
