#include "value_text.h"

#include <QDateTime>
#include <QLocale>

namespace Vostrel {

std::optional<QString> variantText(const QVariant& value)
{
    if (!value.isValid())
        return QString();
    // An object has no text of its own, not even a null one.
    if (value.metaType().flags() & QMetaType::PointerToQObject)
        return std::nullopt;
    switch (value.metaType().id()) {
    case QMetaType::Nullptr:
        return QString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::Float:
        // Single precision shows its own seven digits, not the double's noise.
        return QString::number(double(value.toFloat()), 'G', 7);
    case QMetaType::Double:
        return numberText(value.toDouble());
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QChar:
        return QString(value.toChar());
    case QMetaType::QDate:
        return QLocale::system().toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QTime:
        return QLocale::system().toString(value.toTime(), QLocale::ShortFormat);
    case QMetaType::QDateTime:
        return QLocale::system().toString(value.toDateTime(), QLocale::ShortFormat);
    default:
        return std::nullopt;
    }
}

QString numberText(double value)
{
    return QString::number(value, 'G', QLocale::FloatingPointShortest);
}

} // namespace Vostrel
