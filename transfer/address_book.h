#pragma once
// The address book as contacts leave and enter it: the Address rows and
// both pick lists, read through one connection.

#include "data/recordset.h"

#include <memory>

namespace data {
class Connection;
}

namespace transfer {

struct AddressBook {
    // Reads the three tables; raises the data layer's errors.
    explicit AddressBook(std::shared_ptr<data::Connection> connection);

    std::shared_ptr<data::Connection> connection;
    data::Recordset addresses;
    data::Recordset salutations;
    data::Recordset religions;
};

// Runs `work` on `book`, closing its recordsets when it fails: what they
// hold in memory was never stored.
template <typename Work>
void closedOnFailure(AddressBook& book, Work work)
{
    try {
        work();
    } catch (...) {
        for (data::Recordset* rows : {&book.addresses, &book.salutations, &book.religions})
            rows->Close();
        throw;
    }
}

} // namespace transfer
