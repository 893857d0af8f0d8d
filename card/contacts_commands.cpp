#include "contacts_commands.h"

#include "contacts_progress.h"
#include "frmaddress.h"
#include "record_commands.h"
#include "search_commands.h"

#include "core/book_changes.h"
#include "core/field_helpers.h"
#include "core/program.h"
#include "core/toolbar_state.h"
#include "core/traced.h"
#include "data/connection.h"
#include "interchange/contacts_file.h"
#include "platform/error_numbers.h"
#include "platform/prompts.h"
#include "platform/screen_room.h"
#include "records/address.h"
#include "records/data_source.h"
#include "transfer/contacts_export.h"
#include "transfer/import_summary.h"
#include "transfer/import_writer.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include <optional>

namespace modGenProcedures {
namespace {

const QString kImportTitle = QStringLiteral("Import Contacts");
const QString kExportTitle = QStringLiteral("Export Contacts");

void tell(const QString& title, const QString& text, platform::Icon icon)
{
    platform::MsgBox(text, platform::Buttons::OK, icon, title);
}

// The book as the card reads it: a connection of its own, so that neither
// the reading of an import nor an export moves the card's record.
std::shared_ptr<data::Connection> bookConnection()
{
    return data::Connection::open(tovren::connectionString());
}

// The summary in a window of its own, since a file's notes can run to many
// lines; only Import writes.
bool confirmed(const QString& path, const transfer::ImportPlan& plan)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("frmImportSummary"));
    dialog.setWindowTitle(kImportTitle);
    auto* question = new QLabel(
        QStringLiteral("Import %1 contact(s) from '%2'? Nothing is written until you choose "
                       "Import.")
            .arg(plan.count(transfer::PlannedContact::Fate::Add))
            .arg(QDir::toNativeSeparators(path)),
        &dialog);
    question->setWordWrap(true);
    auto* summary = new QPlainTextEdit(transfer::importSummary(plan), &dialog);
    summary->setObjectName(QStringLiteral("txtSummary"));
    summary->setReadOnly(true);
    summary->setAccessibleName(QStringLiteral("Summary"));
    summary->setMinimumSize(480, 240);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Import"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout;
    layout->addWidget(question);
    layout->addWidget(summary);
    platform::layOutScrolling(dialog, layout, buttons);
    platform::prompts().showModal(dialog);
    return dialog.result() == QDialog::Accepted;
}

void importFile(const QString& path)
{
    std::optional<transfer::AddressBook> book;
    transfer::ImportPlan plan;
    bool planned = false;
    toldOnFailure(kImportTitle, QStringLiteral("No contacts were imported."), [&] {
        book.emplace(bookConnection());
        std::vector<transfer::ContactFile> files;
        {
            const ContactsProgress reading(QFileInfo(path).size() > kLargeContactsFile,
                                           kImportTitle, QStringLiteral("Reading the contacts..."));
            files.push_back({path, interchange::readContactsFile(path, reading.callback())});
        }
        plan = transfer::planImport(std::move(files), *book);
        planned = true;
    });
    if (!planned)
        return;
    const int adding = plan.count(transfer::PlannedContact::Fate::Add);
    if (adding == 0) {
        tell(kImportTitle,
             QStringLiteral("No contacts were imported from '%1': it holds none that can be "
                            "added.\n\n%2")
                 .arg(QDir::toNativeSeparators(path), transfer::importSummary(plan)),
             platform::Icon::Exclamation);
        return;
    }
    if (!confirmed(path, plan))
        return;
    bool written = false;
    toldOnFailure(kImportTitle, QStringLiteral("No contacts were imported; the book is as it was."),
                  [&] {
                      const ContactsProgress writing(adding > kManyContacts, kImportTitle,
                                                     QStringLiteral("Writing the contacts..."));
                      transfer::writeImport(plan, *book, writing.callback());
                      written = true;
                  });
    if (!written)
        return;
    tovren::bookWritten();
    tell(kImportTitle,
         QStringLiteral("%1 contact(s) were imported from '%2'.")
             .arg(adding)
             .arg(QDir::toNativeSeparators(path)),
         platform::Icon::Information);
}

struct Format {
    const char* caption;
    const char* suffix;
    transfer::ExportFormat format;
};
// In the order of the save dialog's filters: the first is the one every
// other address book reads.
constexpr Format kFormats[] = {{"vCard 3.0", "vcf", transfer::ExportFormat::VCard3},
                               {"vCard 4.0", "vcf", transfer::ExportFormat::VCard4},
                               {"CSV", "csv", transfer::ExportFormat::Csv}};

QString formatFilter()
{
    QStringList parts;
    for (const Format& f : kFormats)
        parts << QString::fromLatin1(f.caption) << QStringLiteral("*.") + QLatin1String(f.suffix);
    return parts.join(QLatin1Char('|'));
}

void exportTo(const QString& chosen, const Format& format)
{
    // A name typed without an extension gets the format's, so that the
    // file opens in the programs that read it.
    const QString path = QFileInfo(chosen).suffix().isEmpty()
                             ? chosen + QLatin1Char('.') + QLatin1String(format.suffix)
                             : chosen;
    const QString shown = QDir::toNativeSeparators(path);
    const QString failed = QStringLiteral("No contacts were exported to '%1'.").arg(shown);
    toldOnFailure(kExportTitle, failed, [&] {
        transfer::AddressBook book(bookConnection());
        // The card's selection: the rows its applied filter shows, in its order.
        if (frmAddress* card = frmAddress::instance()) {
            const data::Recordset& shownRows = *card->cls1()->rs;
            book.addresses.setFilter(shownRows.filter());
            book.addresses.setSort(shownRows.sort());
        }
        if (book.addresses.RecordCount() <= 0) {
            tell(kExportTitle, QStringLiteral("There are no contacts to export."),
                 platform::Icon::Exclamation);
            return;
        }
        // Written whole or not at all: a file the person had is never left
        // half replaced.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            tell(kExportTitle, failed + QStringLiteral("\n\n") + file.errorString(),
                 platform::Icon::Critical);
            return;
        }
        const int written = [&] {
            const ContactsProgress writing(book.addresses.RecordCount() > kManyContacts,
                                           kExportTitle, QStringLiteral("Writing the contacts..."));
            return transfer::exportContacts(book.addresses, transfer::pickListsOf(book),
                                            format.format, file, writing.callback());
        }();
        // A cancel leaves the file uncommitted: QSaveFile drops what was written.
        if (!file.commit()) {
            tell(kExportTitle, failed + QStringLiteral("\n\n") + file.errorString(),
                 platform::Icon::Critical);
            return;
        }
        tell(kExportTitle,
             QStringLiteral("%1 contact(s) were exported to '%2'.").arg(written).arg(shown),
             platform::Icon::Information);
    });
}

} // namespace

bool toldOnFailure(const QString& title, const QString& what, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const interchange::Cancelled&) {
        tell(title, QStringLiteral("%1 was cancelled. %2").arg(title, what),
             platform::Icon::Information);
    } catch (const platform::RunTimeError& error) {
        if (error.number() == platform::err::ConcurrencyViolation)
            tell(title, records::changedElsewhereMessage(what), platform::Icon::Exclamation);
        else
            tell(title, what + QStringLiteral("\n\n") + error.description(),
                 platform::Icon::Critical);
    } catch (const std::exception& error) {
        tell(title, what + QStringLiteral("\n\n") + tovren::asRunTimeError(error).description(),
             platform::Icon::Critical);
    }
    return false;
}

bool cardIsBusy(const QString& title, const QString& doing)
{
    const frmAddress* card = frmAddress::instance();
    if (!card)
        return false;
    if (card->bAdd() || card->bEdit()) {
        tell(title, QStringLiteral("Save or cancel the contact on the card before %1.").arg(doing),
             platform::Icon::Exclamation);
        return true;
    }
    if (frmAddress::isFilterEntry()) {
        tell(title, QStringLiteral("Apply or leave the filter on the card before %1.").arg(doing),
             platform::Icon::Exclamation);
        return true;
    }
    return false;
}

void showBookChanged()
{
    frmAddress* card = frmAddress::instance();
    if (!card)
        return;
    // A card that was empty leaves its no-records state, as after the
    // first contact saved.
    if (card->cls1()->RecCount() <= 0) {
        DisNoRecBtns(tovren::Mode::Normal);
        LckCtrls(card, false);
    }
    Refresh(card);
}

void ImportContacts()
{
    if (cardIsBusy(kImportTitle, QStringLiteral("importing contacts")))
        return;
    const QString path = platform::prompts().openFile(
        {kImportTitle,
         QStringLiteral("vCard and CSV files|*.vcf;*.vcard;*.csv|vCard files|*.vcf;*.vcard|"
                        "CSV files|*.csv|All Files|*"),
         QDir::homePath()});
    if (!path.isEmpty())
        importFile(path);
}

void ImportContactsFrom(const QString& path)
{
    if (!cardIsBusy(kImportTitle, QStringLiteral("importing contacts")))
        importFile(path);
}

void ExportContacts()
{
    const platform::SaveFileChoice choice =
        platform::prompts().saveFile({kExportTitle, formatFilter(),
                                      QDir(QDir::homePath()).filePath(QStringLiteral("contacts"))});
    if (choice.path.isEmpty())
        return;
    const int index = choice.filterIndex >= 0 && choice.filterIndex < int(std::size(kFormats))
                          ? choice.filterIndex
                          : 0;
    exportTo(choice.path, kFormats[index]);
}

} // namespace modGenProcedures
