#include "transaction.h"

#include "connection.h"
#include "database_io.h"

namespace data {

Transaction::Transaction(std::shared_ptr<Connection> connection)
    : m_connection(std::move(connection))
{
    m_connection->io().beginWork();
    m_open = true;
}

Transaction::~Transaction()
{
    if (m_open)
        m_connection->io().rollbackWork();
}

void Transaction::commit()
{
    m_connection->io().commitWork();
    m_open = false;
}

} // namespace data
