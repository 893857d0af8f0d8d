#include "pick_list.h"

namespace transfer {

PickList::PickList(data::Recordset& rows, const QString& table)
{
    if (rows.RecordCount() == 0)
        return;
    const QString key = table + QStringLiteral("Id");
    for (rows.MoveFirst(); !rows.isEOF(); rows.MoveNext()) {
        const qint64 id = rows.value(key).toLongLong();
        const QString text = rows.value(table).toString();
        m_texts.insert(id, text);
        // The first of two entries that differ only in case is the one used.
        if (!m_ids.contains(text.toCaseFolded()))
            m_ids.insert(text.toCaseFolded(), id);
    }
}

} // namespace transfer
