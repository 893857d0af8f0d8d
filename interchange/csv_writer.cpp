#include "csv_writer.h"

namespace interchange {
namespace {

void appendCell(QByteArray& out, const QString& cell)
{
    const bool quote = cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"'))
                       || cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'));
    if (!quote) {
        out += cell.toUtf8();
        return;
    }
    out += '"';
    out += QString(cell).replace(QLatin1Char('"'), QLatin1String("\"\"")).toUtf8();
    out += '"';
}

} // namespace

QByteArray csvHeader()
{
    QByteArray out;
    for (int i = 0; i < kColumnCount; ++i) {
        if (i > 0)
            out += ',';
        out += columnName(Column(i)).toString().toUtf8();
    }
    return out + "\r\n";
}

QByteArray csvRow(const Contact& contact)
{
    QByteArray out;
    out.reserve(256);
    for (int i = 0; i < kColumnCount; ++i) {
        if (i > 0)
            out += ',';
        appendCell(out, contact.values[size_t(i)]);
    }
    return out + "\r\n";
}

} // namespace interchange
