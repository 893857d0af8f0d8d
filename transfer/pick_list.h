#pragma once
// A pick list (Salutation or Religion) as import and export see it: its
// entries' texts by id, and ids by text without regard to case, since
// "mr." in a file is the list's "Mr.".

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

} // namespace transfer
