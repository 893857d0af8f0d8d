#include "book_commands.h"

#include "book_exit.h"
#include "book_single_line.h"

#include "transfer/contacts_export.h"
#include "transfer/import_summary.h"
#include "transfer/import_writer.h"

#include <QFile>

#include <cstdio>

namespace book_tool {

int importFiles(std::shared_ptr<data::Connection> connection, const QStringList& paths, bool dryRun)
{
    transfer::AddressBook book(std::move(connection));
    const transfer::ImportPlan plan = transfer::planImport(transfer::readContactFiles(paths), book);
    std::fputs(qUtf8Printable(transfer::importSummary(plan)), stdout);
    if (plan.contacts.empty() && !plan.problems.isEmpty())
        return complain(QStringLiteral("no contacts could be read; nothing was imported."),
                        kFileProblem);
    if (dryRun)
        return kDone;
    transfer::writeImport(plan, book);
    std::printf("Imported: %d\n", plan.count(transfer::PlannedContact::Fate::Add));
    return kDone;
}

int exportContacts(std::shared_ptr<data::Connection> connection, const QString& format,
                   const QString& criteria, const QString& path)
{
    const std::pair<const char*, transfer::ExportFormat> formats[] = {
        {"vcard", transfer::ExportFormat::VCard3},
        {"vcard4", transfer::ExportFormat::VCard4},
        {"csv", transfer::ExportFormat::Csv}};
    const auto chosen =
        std::find_if(std::begin(formats), std::end(formats),
                     [&format](const auto& f) { return format == QLatin1String(f.first); });
    if (chosen == std::end(formats))
        return complain(QStringLiteral("unknown format '%1' (vcard, vcard4 or csv).").arg(format),
                        kUsage);
    transfer::AddressBook book(std::move(connection));
    if (const auto refusal = book.addresses.refusal(criteria, true))
        return complain(QStringLiteral("the filter '%1' is refused: %2").arg(criteria, *refusal),
                        kUsage);
    book.addresses.setFilter(criteria);
    QFile out;
    const bool opened = path.isEmpty() ? out.open(stdout, QIODevice::WriteOnly)
                                       : (out.setFileName(path), out.open(QIODevice::WriteOnly));
    if (!opened)
        return complain(QStringLiteral("'%1' cannot be written: %2").arg(path, out.errorString()),
                        kFileProblem);
    transfer::exportContacts(book.addresses, transfer::pickListsOf(book), chosen->second, out);
    return kDone;
}

int listContacts(std::shared_ptr<data::Connection> connection)
{
    transfer::AddressBook book(std::move(connection));
    const transfer::PickLists lists = transfer::pickListsOf(book);
    if (book.addresses.RecordCount() == 0)
        return kDone;
    using interchange::Column;
    const transfer::ColumnIndexes columns = transfer::columnIndexes(book.addresses);
    QByteArray text;
    for (book.addresses.MoveFirst(); !book.addresses.isEOF(); book.addresses.MoveNext()) {
        const interchange::Contact c = transfer::contactOfRow(book.addresses, lists, columns);
        QStringList fields;
        for (const Column column : {Column::Name, Column::Company, Column::EmlAddr, Column::City})
            fields << singleLine(c[column]);
        text += fields.join(QLatin1Char('\t')).toUtf8() + '\n';
    }
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return kDone;
}

} // namespace book_tool
