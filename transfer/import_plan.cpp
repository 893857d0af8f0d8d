#include "import_plan.h"

#include "pick_list.h"

#include "interchange/contacts_file.h"
#include "interchange/record_checks.h"
#include "platform/characters.h"

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

// A pick list with the entries this import adds to it.
class Matching {
public:
    Matching(data::Recordset& rows, const QString& table, Column column, QStringList& added)
        : m_list(rows, table), m_column(column), m_added(added)
    {}

    // Puts the list's own spelling in the contact, or adds the text when it
    // fits the list, or notes it and leaves it out.
    void match(interchange::Contact& contact)
    {
        QString& text = contact[m_column];
        text = text.trimmed();
        if (text.isEmpty())
            return;
        if (m_list.idOf(text) != 0) {
            text = m_list.textOf(m_list.idOf(text));
            return;
        }
        const auto same = [&text](const QString& entry) {
            return entry.compare(text, Qt::CaseInsensitive) == 0;
        };
        if (const auto known = std::find_if(m_added.begin(), m_added.end(), same);
            known != m_added.end()) {
            text = *known;
            return;
        }
        const int width = interchange::columnWidth(m_column);
        if (platform::characterCount(text) > width) {
            contact.notes << QStringLiteral("%1 '%2' is longer than the %3 characters its pick "
                                            "list keeps and is not kept.")
                                 .arg(interchange::columnName(m_column), text)
                                 .arg(width);
            text.clear();
            return;
        }
        m_added << text;
    }

private:
    PickList m_list;
    Column m_column;
    QStringList& m_added;
};

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
    Matching salutations(book.salutations, QStringLiteral("Salutation"), Column::SalutationId,
                         plan.newSalutations);
    Matching religions(book.religions, QStringLiteral("Religion"), Column::ReligionId,
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
