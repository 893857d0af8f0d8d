#pragma once
// Sessions on a PostgreSQL server through its own client library: the
// connection string's keys turned into the library's settings, and
// sessions kept open between the program's short-lived connections (each
// save opens one), so that a save does not pay for a new server process.

#include "connection_string.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

struct pg_conn;
struct pg_result;

namespace data::pg {

struct ResultDeleter {
    void operator()(pg_result* result) const;
};
using Result = std::unique_ptr<pg_result, ResultDeleter>;

// Where a connection string points: the client library's settings and the
// book's name as a person reads it ("database tovren on server db1, port
// 5432"), which never holds the password.
struct ServerTarget {
    std::vector<std::pair<QByteArray, QByteArray>> settings;
    QString location;
};
ServerTarget serverTarget(const ConnectionTarget& target);

// An open session, taken from the sessions kept for its settings or newly
// made, and handed back when it ends if it is still sound and idle.
class Session {
public:
    // Raises ServerUnreachable with the server, port and the library's
    // reason when no session can be opened.
    explicit Session(const ServerTarget& target);
    ~Session();
    Session(Session&&) noexcept;
    Session& operator=(Session&&) = delete;
    Session(const Session&) = delete;

    pg_conn* get() const { return m_conn; }

private:
    QByteArray m_key;
    pg_conn* m_conn = nullptr;
    int m_owner = 0; // the process that opened it
};

// The library's words for the last failure of `conn`, on one line.
QString failureText(pg_conn* conn);

} // namespace data::pg
