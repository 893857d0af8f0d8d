#pragma once
// Dates as the program shows and reads them: the locale's short date form
// with a four-digit year and two-digit day and month (ten characters), or
// the ISO form 2026-12-06 where the locale's form uses names; the ISO form
// is always accepted. The database stores dates in the ISO form.

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

} // namespace platform
