#include "listed_rows.h"

#include "data/recordset.h"

namespace widgets {

ListedRows listRows(data::Recordset& rows, const QStringList& columns)
{
    ListedRows listed;
    if (rows.RecordCount() == 0)
        return listed;
    for (const QString& column : columns)
        rows.fieldIndex(column);
    // A deleted current row has no bookmark to come back to.
    if (rows.AbsolutePosition() == data::adPosUnknown)
        rows.MoveNext();
    const qint32 position = rows.AbsolutePosition();
    const QVariant standing = position > 0 ? rows.bookmark() : QVariant();

    listed.rows.reserve(size_t(rows.RecordCount()));
    for (rows.MoveFirst(); !rows.isEOF(); rows.MoveNext()) {
        ListedRow row{rows.bookmark(), {}};
        for (const QString& column : columns)
            row.values << rows.value(column);
        listed.rows.push_back(std::move(row));
    }

    if (position > 0) {
        rows.setBookmark(standing);
        listed.current = position - 1;
    } else if (position == data::adPosBOF) {
        rows.MoveFirst();
        rows.MovePrevious();
    }
    return listed;
}

} // namespace widgets
