#pragma once
// Dates as the program shows and reads them. It shows the locale's short
// date form with a four-digit year and two-digit day and month (ten
// characters), or the ISO form 2026-12-06 where the locale's form uses
// names. It reads what people write: the ISO form, the locale's short and
// long forms, numbers in the locale's day and month order, and a month by
// its name (English or the locale's) before or after the day ("15 Aug
// 1947", "Aug 15, 1947"). Impossible dates are refused. The database
// stores dates in the ISO form.

#include <QDate>
#include <QString>

#include <optional>

namespace platform {

// The date form of the program's locale, as described above.
QString dateFormat();

QString dateText(QDate date);
std::optional<QDate> parseDate(const QString& text);

QString isoDate(QDate date);
std::optional<QDate> parseIsoDate(QStringView text);
std::optional<QDate> parseIsoDate(QLatin1StringView text);

} // namespace platform
