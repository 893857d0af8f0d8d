#include "postgres_session.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <libpq-fe.h>

#include <map>
#include <mutex>

#include <unistd.h>

namespace data::pg {
namespace {

// The settings every session needs, whatever the string says: texts in
// UTF-8 and dates in ISO order, and a wait for another person's lock that
// ends, so that a save never hangs behind a stalled peer.
const std::pair<const char*, const char*> kFixedSettings[] = {
    {"client_encoding", "UTF8"},
    {"application_name", "Tovren"},
    {"options", "-c DateStyle=ISO,YMD -c lock_timeout=5s"},
};

// The connection string's keys and the client library's names for them.
const std::pair<const char*, const char*> kKeys[] = {
    {"Host", "host"},
    {"Server", "host"},
    {"Port", "port"},
    {"Database", "dbname"},
    {"Initial Catalog", "dbname"},
    {"User ID", "user"},
    {"User", "user"},
    {"Username", "user"},
    {"Password", "password"},
    {"Pwd", "password"},
    {"Service", "service"},
    {"SSL Mode", "sslmode"},
    {"SslMode", "sslmode"},
    {"Connect Timeout", "connect_timeout"},
};

// Whether a kept session still reaches its server: one that was ended
// meanwhile (the server restarted, or the session was terminated) is only
// found out by a round trip, which costs a fraction of a new session.
bool isAlive(PGconn* conn)
{
    if (PQstatus(conn) != CONNECTION_OK || PQtransactionStatus(conn) != PQTRANS_IDLE)
        return false;
    PGresult* result = PQexec(conn, "");
    const bool alive = PQresultStatus(result) == PGRES_EMPTY_QUERY;
    PQclear(result);
    return alive && PQstatus(conn) == CONNECTION_OK;
}

// Idle sessions by their settings. A few per settings are kept: the
// program holds at most a handful of connections at once.
//
// The sessions are those of one process. A child made by fork() inherits
// their sockets: were it to use one, its statements and its parent's would
// mix on one server session, and were it to end one, the parent's would end
// too. So a child starts with none and leaves the inherited ones alone.
class IdleSessions {
public:
    static IdleSessions& instance()
    {
        static IdleSessions sessions;
        return sessions;
    }
    ~IdleSessions()
    {
        if (m_owner != getpid())
            return;
        for (auto& [key, conn] : m_idle)
            PQfinish(conn);
    }
    PGconn* take(const QByteArray& key)
    {
        while (PGconn* conn = takeAny(key)) {
            if (isAlive(conn))
                return conn;
            PQfinish(conn);
        }
        return nullptr;
    }
    void give(const QByteArray& key, PGconn* conn)
    {
        const std::lock_guard lock(m_mutex);
        forgetInherited();
        if (PQstatus(conn) != CONNECTION_OK || PQtransactionStatus(conn) != PQTRANS_IDLE
            || m_idle.count(key) >= kKept) {
            PQfinish(conn);
            return;
        }
        m_idle.emplace(key, conn);
    }

private:
    PGconn* takeAny(const QByteArray& key)
    {
        const std::lock_guard lock(m_mutex);
        forgetInherited();
        const auto found = m_idle.find(key);
        if (found == m_idle.end())
            return nullptr;
        PGconn* conn = found->second;
        m_idle.erase(found);
        return conn;
    }

    void forgetInherited()
    {
        if (m_owner == getpid())
            return;
        m_owner = getpid();
        m_idle.clear();
    }

    static constexpr size_t kKept = 4;
    pid_t m_owner = getpid();
    std::mutex m_mutex;
    std::multimap<QByteArray, PGconn*> m_idle;
};

} // namespace

void ResultDeleter::operator()(pg_result* result) const
{
    PQclear(result);
}

ServerTarget serverTarget(const ConnectionTarget& connection)
{
    ServerTarget target;
    // A server that does not answer at all is given up after a while
    // unless the string says how long to wait.
    target.settings.emplace_back("connect_timeout", "10");
    for (const auto& [key, value] : connection.values) {
        for (const auto& [ours, theirs] : kKeys) {
            if (key.compare(QLatin1String(ours), Qt::CaseInsensitive) == 0)
                target.settings.emplace_back(theirs, value.toUtf8());
        }
    }
    for (const auto& [key, value] : kFixedSettings)
        target.settings.emplace_back(key, value);
    // Named as the library will use them: the last value a setting is given.
    const auto setting = [&target](const char* name) {
        for (auto it = target.settings.rbegin(); it != target.settings.rend(); ++it) {
            if (it->first == name)
                return QString::fromUtf8(it->second);
        }
        return QString();
    };
    const QString host = setting("host");
    const QString service = setting("service");
    const QString server = !host.isEmpty()      ? QStringLiteral("server ") + host
                           : !service.isEmpty() ? QStringLiteral("service ") + service
                                                : QStringLiteral("the local server");
    const QString database = setting("dbname");
    const QString port = setting("port");
    target.location = QStringLiteral("database %1 on %2, port %3")
                          .arg(database.isEmpty() ? QStringLiteral("(default)") : database, server,
                               port.isEmpty() ? QStringLiteral("5432") : port);
    return target;
}

QString failureText(pg_conn* conn)
{
    // The library ends its words with a line break and indents hints on
    // further lines; one line reads better in a message box.
    return QString::fromUtf8(PQerrorMessage(conn)).simplified();
}

Session::Session(const ServerTarget& target)
{
    std::vector<const char*> keys;
    std::vector<const char*> values;
    for (const auto& [key, value] : target.settings) {
        keys.push_back(key.constData());
        values.push_back(value.constData());
        m_key += key + '\0' + value + '\0';
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    m_owner = getpid();
    m_conn = IdleSessions::instance().take(m_key);
    if (m_conn)
        return;
    m_conn = PQconnectdbParams(keys.data(), values.data(), 0);
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString reason = failureText(m_conn);
        PQfinish(m_conn);
        m_conn = nullptr;
        platform::raise(platform::err::ServerUnreachable,
                        QStringLiteral("The address book (%1) could not be opened: %2")
                            .arg(target.location, reason));
    }
}

Session::Session(Session&& other) noexcept
    : m_key(std::move(other.m_key)), m_conn(std::exchange(other.m_conn, nullptr)),
      m_owner(other.m_owner)
{}

Session::~Session()
{
    // A session the parent opened before a fork() stays the parent's.
    if (m_conn && m_owner == getpid())
        IdleSessions::instance().give(m_key, m_conn);
}

} // namespace data::pg
