#include "connection.h"

#include "connection_string.h"
#include "database_io.h"
#include "postgres_io.h"
#include "postgres_session.h"
#include "sqlite_io.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

namespace data {

std::shared_ptr<Connection> Connection::open(const QString& connectionString,
                                             const QString& baseFolder)
{
    const ConnectionTarget target = parseConnectionString(connectionString);
    const bool postgres = isPostgresProvider(target.provider);
    if (!postgres && !isEmbeddedProvider(target.provider))
        throw platform::RunTimeError(
            platform::err::ProviderNotFound,
            QStringLiteral("Provider cannot be found. It may not be properly installed: '%1'.")
                .arg(target.provider),
            QStringLiteral("Tovren database"));
    std::shared_ptr<Connection> connection(
        new Connection(maskedConnectionString(connectionString)));
    connection->take(postgres ? openPostgresBook(*connection, target)
                              : openSqliteBook(*connection, target.dataSource, baseFolder));
    return connection;
}

std::shared_ptr<Connection> Connection::openEmpty(const QString& connectionString)
{
    const ConnectionTarget target = parseConnectionString(connectionString);
    if (!isPostgresProvider(target.provider))
        platform::raise(platform::err::InvalidCall,
                        QStringLiteral("Only a database on a PostgreSQL server is made into an "
                                       "address book from a connection string."));
    std::shared_ptr<Connection> connection(
        new Connection(maskedConnectionString(connectionString)));
    connection->take(openPostgresBook(*connection, target, true));
    return connection;
}

QString Connection::locationOf(const QString& connectionString, const QString& baseFolder)
{
    const ConnectionTarget target = parseConnectionString(connectionString);
    return isPostgresProvider(target.provider) ? pg::serverTarget(target).location
                                               : bookFilePath(target.dataSource, baseFolder);
}

void Connection::take(OpenedBook book)
{
    m_io = std::move(book.io);
    m_location = std::move(book.location);
    m_readOnly = book.readOnly;
}

QString inUseDescription(const QString& where)
{
    return QStringLiteral("The address book '%1' is in use by another program.").arg(where);
}

QString readOnlyDescription(const QString& where)
{
    return QStringLiteral("The address book '%1' is read-only: nothing can be saved in it.")
        .arg(where);
}

Connection::Connection(QString shownString) : m_shownString(std::move(shownString)) {}

Connection::~Connection() = default;

void Connection::fail(const Vostrel::DbError& error, const QString& description,
                      std::source_location where)
{
    record(error);
    throw platform::RunTimeError(
        error.Number, description + QStringLiteral(" (") + error.Description + QLatin1Char(')'),
        QStringLiteral("Tovren database"), where);
}

} // namespace data
