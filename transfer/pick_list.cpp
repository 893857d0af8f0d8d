#include "pick_list.h"

#include "platform/characters.h"

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

void PickListMatching::match(interchange::Contact& contact)
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

void addPickListEntries(data::Recordset& rows, const QString& table, const QStringList& entries)
{
    for (const QString& entry : entries) {
        rows.AddNew();
        rows.setValue(table, entry);
        rows.Update();
    }
    rows.UpdateBatch();
}

} // namespace transfer
