#pragma once
// A pick list (Salutation or Religion) as import and export see it: its
// entries' texts by id, and ids by text without regard to case, since
// "mr." in a file is the list's "Mr.".

#include "interchange/contact.h"

#include "data/recordset.h"

#include <QHash>
#include <QString>

namespace transfer {

class PickList {
public:
    // Walks `rows`, the table whose text column is `table` and whose key is
    // `table` + "Id".
    PickList(data::Recordset& rows, const QString& table);

    // The entry's id, or 0 when the list has no such text.
    qint64 idOf(const QString& text) const { return m_ids.value(text.toCaseFolded()); }
    // The entry's text, or "" for an id the list does not hold.
    QString textOf(qint64 id) const { return m_texts.value(id); }

private:
    QHash<QString, qint64> m_ids;
    QHash<qint64, QString> m_texts;
};

// A pick list with the entries that contacts on their way into the book add
// to it.
class PickListMatching {
public:
    // `added` collects the new entries, to be stored with the contacts.
    PickListMatching(data::Recordset& rows, const QString& table, interchange::Column column,
                     QStringList& added)
        : m_list(rows, table), m_column(column), m_added(added)
    {}

    // Puts the list's own spelling in the contact, or adds the text when it
    // fits the list, or notes it and leaves it out.
    void match(interchange::Contact& contact);

private:
    PickList m_list;
    interchange::Column m_column;
    QStringList& m_added;
};

// Stores `entries` as new rows of the pick list `rows` (its text column `table`).
void addPickListEntries(data::Recordset& rows, const QString& table, const QStringList& entries);

} // namespace transfer
