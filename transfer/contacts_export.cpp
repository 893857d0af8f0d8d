#include "contacts_export.h"

#include "interchange/csv_writer.h"
#include "interchange/vcard_writer.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

namespace transfer {
namespace {

void put(QIODevice& out, const QByteArray& bytes)
{
    if (out.write(bytes) != bytes.size())
        platform::raise(
            platform::err::PathFileAccess,
            QStringLiteral("The contacts could not be written: %1").arg(out.errorString()));
}

QByteArray encoded(const interchange::Contact& contact, ExportFormat format)
{
    switch (format) {
    case ExportFormat::VCard3:
        return interchange::vCard(contact, interchange::VCardVersion::V3);
    case ExportFormat::VCard4:
        return interchange::vCard(contact, interchange::VCardVersion::V4);
    case ExportFormat::Csv:
        break;
    }
    return interchange::csvRow(contact);
}

} // namespace

int exportContacts(data::Recordset& addresses, const PickLists& lists, ExportFormat format,
                   QIODevice& out, const interchange::Progress& progress)
{
    if (format == ExportFormat::Csv)
        put(out, interchange::csvHeader());
    if (addresses.RecordCount() == 0)
        return 0;
    const int total = addresses.RecordCount();
    const ColumnIndexes columns = columnIndexes(addresses);
    int written = 0;
    for (addresses.MoveFirst(); !addresses.isEOF(); addresses.MoveNext()) {
        interchange::report(progress, written, total);
        put(out, encoded(contactOfRow(addresses, lists, columns), format));
        ++written;
    }
    interchange::report(progress, written, total);
    return written;
}

} // namespace transfer
