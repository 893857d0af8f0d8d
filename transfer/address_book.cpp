#include "address_book.h"

namespace transfer {

AddressBook::AddressBook(std::shared_ptr<data::Connection> connection)
    : connection(std::move(connection))
{
    const std::pair<data::Recordset*, const char*> tables[] = {
        {&addresses, "Address"}, {&salutations, "Salutation"}, {&religions, "Religion"}};
    for (const auto& [rows, table] : tables) {
        rows->setActiveConnection(this->connection);
        rows->Open(QString::fromLatin1(table));
    }
}

} // namespace transfer
