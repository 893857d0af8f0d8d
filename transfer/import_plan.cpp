#include "import_plan.h"

#include "pick_list.h"

#include "interchange/contacts_file.h"
#include "interchange/record_checks.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace transfer {
namespace {

using interchange::Column;
using Fate = PlannedContact::Fate;

QString identity(const interchange::Contact& contact)
{
    const QString& who =
        contact[Column::Name].isEmpty() ? contact[Column::Company] : contact[Column::Name];
    return who.trimmed().toCaseFolded() + QLatin1Char('\n')
           + contact[Column::EmlAddr].trimmed().toCaseFolded();
}

QSet<QString> identitiesOf(data::Recordset& addresses)
{
    QSet<QString> identities;
    if (addresses.RecordCount() == 0)
        return identities;
    identities.reserve(addresses.RecordCount());
    for (addresses.MoveFirst(); !addresses.isEOF(); addresses.MoveNext()) {
        interchange::Contact contact;
        for (Column column : {Column::Name, Column::Company, Column::EmlAddr})
            contact[column] = addresses.value(QString(interchange::columnName(column))).toString();
        identities.insert(identity(contact));
    }
    return identities;
}

} // namespace

std::vector<ContactFile> readContactFiles(const QStringList& paths)
{
    std::vector<ContactFile> files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir()) {
            files.push_back({path, interchange::readContactsFile(path)});
            continue;
        }
        const QDir folder(path);
        const QStringList cards =
            folder.entryList({QStringLiteral("*.vcf")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
        if (cards.isEmpty()) {
            interchange::ContactsRead none;
            none.problems << QStringLiteral("The folder holds no .vcf files.");
            files.push_back({path, std::move(none)});
        }
        for (const QString& card : cards) {
            const QString file = folder.filePath(card);
            files.push_back({file, interchange::readContactsFile(file)});
        }
    }
    return files;
}

int ImportPlan::count(Fate fate) const
{
    return int(std::count_if(contacts.begin(), contacts.end(),
                             [fate](const PlannedContact& c) { return c.fate == fate; }));
}

ImportPlan planImport(std::vector<ContactFile> files, AddressBook& book)
{
    ImportPlan plan;
    QSet<QString> present = identitiesOf(book.addresses);
    PickListMatching salutations(book.salutations, QStringLiteral("Salutation"),
                                 Column::SalutationId, plan.newSalutations);
    PickListMatching religions(book.religions, QStringLiteral("Religion"), Column::ReligionId,
                               plan.newReligions);
    for (ContactFile& file : files) {
        const QString name = QFileInfo(file.path).fileName();
        for (const QString& problem : std::as_const(file.read.problems))
            plan.problems << name + QStringLiteral(": ") + problem;
        for (interchange::Contact& contact : file.read.contacts) {
            PlannedContact planned{std::move(contact), name, Fate::Add, QString()};
            planned.refusal = interchange::fitToRecord(planned.contact);
            if (!planned.refusal.isEmpty()) {
                planned.fate = Fate::Refused;
            } else if (present.contains(identity(planned.contact))) {
                planned.fate = Fate::AlreadyPresent;
            } else {
                present.insert(identity(planned.contact));
                salutations.match(planned.contact);
                religions.match(planned.contact);
            }
            plan.contacts.push_back(std::move(planned));
        }
    }
    return plan;
}

} // namespace transfer
