#pragma once
// How a recorded value reads in a report: the way a BASIC variant becomes
// text, so that reports look the same whatever the host passed.

#include <QString>
#include <QVariant>

#include <optional>

namespace Vostrel {

// The value as text; nothing when it has no text form (an object, a list,
// a type the report does not know), which the report shows as "-----".
std::optional<QString> variantText(const QVariant& value);

// A number as reports print it: whole numbers without decimals, others in
// their shortest exact form ("0.1", "1E+20").
QString numberText(double value);

} // namespace Vostrel
