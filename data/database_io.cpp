#include "database_io.h"

namespace data {

QString quotedName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\""))
           + QLatin1Char('"');
}

std::vector<int> columnsToWrite(const RecordStore& store, int keyColumn, const PendingRow& pending)
{
    std::vector<int> columns;
    for (int c = 0; c < store.columnCount(); ++c) {
        if (c == keyColumn)
            continue;
        if (pending.kind != PendingRow::Kind::Update
            || store.value(pending.row, c) != (*pending.originals)[size_t(c)])
            columns.push_back(c);
    }
    return columns;
}

} // namespace data
