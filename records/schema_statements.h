#pragma once
// The statements that make a Tovren address book, for the embedded file
// and for a PostgreSQL server: the same tables, columns and widths (the
// Address record's), the label query and the default pick lists.

#include <QStringList>

namespace records {

enum class Dialect { Embedded, Server };

// The tables and the label query, then the default pick lists when asked.
QStringList schemaStatements(Dialect dialect, bool withPickLists = true);

// The tables in the order their rows are copied (the pick lists before the
// addresses that name them), each with its generated key column.
struct BookTable {
    const char* name;
    const char* key;
};
inline constexpr BookTable kBookTables[] = {
    {"Salutation", "SalutationId"}, {"Religion", "ReligionId"}, {"Address", "AddressId"}};

} // namespace records
