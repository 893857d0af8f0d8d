#include "stored_card.h"

#include "interchange/record_checks.h"
#include "interchange/vcard_lines.h"
#include "interchange/vcard_reader.h"
#include "platform/characters.h"

namespace tovren::sync {
namespace {

using interchange::Column;

constexpr Column kPickLists[] = {Column::SalutationId, Column::ReligionId};

} // namespace

std::optional<interchange::Contact> storedForm(QByteArrayView vcard)
{
    interchange::ContactsRead read = interchange::readVCards(QString::fromUtf8(vcard));
    if (read.contacts.empty())
        return std::nullopt;
    interchange::Contact contact = std::move(read.contacts.front());
    if (!interchange::fitToRecord(contact).isEmpty())
        return std::nullopt;
    // The book adds a text its list lacks, unless the list's width cannot
    // take it; then the row keeps none.
    for (const Column column : kPickLists) {
        QString& text = contact[column];
        text = text.trimmed();
        if (platform::characterCount(text) > interchange::columnWidth(column))
            text.clear();
    }
    contact.notes.clear();
    return contact;
}

bool sameContact(const interchange::Contact& row, const interchange::Contact& card)
{
    for (int i = 0; i < interchange::kColumnCount; ++i) {
        const Column column = Column(i);
        const bool pickList = column == kPickLists[0] || column == kPickLists[1];
        if (row[column].compare(card[column], pickList ? Qt::CaseInsensitive : Qt::CaseSensitive)
            != 0)
            return false;
    }
    return true;
}

QString uidOf(QByteArrayView vcard)
{
    QString uid;
    interchange::forEachProperty(QString::fromUtf8(vcard), interchange::kLongestLine,
                                 [&](const interchange::Property& property) {
                                     if (uid.isEmpty() && property.name == QLatin1String("UID"))
                                         uid = property.value.trimmed();
                                 });
    return uid;
}

} // namespace tovren::sync
