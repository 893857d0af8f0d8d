#pragma once
// A transaction around several recordsets' UpdateBatch on one connection:
// what they send is stored at commit, and undone when the transaction ends
// without one (a failure on the way), so that nothing is half-written.
// The recordsets are opened before it begins; after a failure their rows
// in memory no longer match the database and they are read again or
// dropped.

#include <memory>

namespace data {

class Connection;

class Transaction {
public:
    explicit Transaction(std::shared_ptr<Connection> connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    std::shared_ptr<Connection> m_connection;
    bool m_open = false;
};

} // namespace data
