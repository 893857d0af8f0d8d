#pragma once
// A connection to a Tovren address book, opened from a connection string:
// the embedded database file, or a database on a PostgreSQL server.
// Opening never creates a book: a missing file, a file that cannot be read
// and a database that is not a Tovren address book all fail with the
// "unspecified failure" number (-2147467259) and a description that names
// it; a server that cannot be reached or refuses the login fails with
// ServerUnreachable. The connection collects the driver errors of its failed
// calls, which the error handler lists in its reports.

#include "errhandler/Vostrel.h"

#include <QVector>

#include <memory>
#include <source_location>

namespace data {

class ErrorList final : public Vostrel::DbErrors {
public:
    int Count() const override { return int(m_errors.size()); }
    Vostrel::DbError Item(int index) const override { return m_errors.value(index); }
    void Clear() override { m_errors.clear(); }
    void Refresh() override {} // the list is always current
    void add(const Vostrel::DbError& error) { m_errors << error; }

private:
    QVector<Vostrel::DbError> m_errors;
};

// "The address book '<where>' is in use by another program.": what a busy
// or locked database is told as (error DatabaseBusy).
QString inUseDescription(const QString& where);
// "The address book '<where>' is read-only ...": what a write to a book that
// may only be read is told as (error ReadOnlyBook).
QString readOnlyDescription(const QString& where);

class DatabaseIo;
struct OpenedBook;

class Connection final : public Vostrel::DbConnection {
public:
    // Relative data sources are taken from `baseFolder` (the current folder
    // when it is empty). Raises RunTimeError.
    static std::shared_ptr<Connection> open(const QString& connectionString,
                                            const QString& baseFolder = QString());
    // A database on a server that holds no address book yet, to make one
    // in it. Raises InvalidCall for a string that names no server.
    static std::shared_ptr<Connection> openEmpty(const QString& connectionString);
    // The location() a book opened from `connectionString` would have,
    // found without opening it: for naming a book that could not be opened.
    static QString locationOf(const QString& connectionString,
                              const QString& baseFolder = QString());
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The string it was opened with, its password masked: this is what
    // reports and logs show.
    QString ConnectionString() const override { return m_shownString; }
    Vostrel::DbErrors& Errors() override { return m_errors; }

    // How the recordsets read and write through this connection.
    DatabaseIo& io() { return *m_io; }
    // The book as a person knows it: the file's path, or the database and
    // its server.
    const QString& location() const { return m_location; }
    bool isReadOnly() const { return m_readOnly; }

    // Records a failed driver call in the errors that reports list.
    void record(const Vostrel::DbError& error) { m_errors.add(error); }
    // Records a failed driver call and raises its run-time error with
    // `description` followed by the driver's own words.
    [[noreturn]] void fail(const Vostrel::DbError& error, const QString& description,
                           std::source_location where = std::source_location::current());

private:
    explicit Connection(QString shownString);
    void take(OpenedBook book);

    QString m_shownString;
    QString m_location;
    bool m_readOnly = false;
    ErrorList m_errors;
    std::unique_ptr<DatabaseIo> m_io;
};

} // namespace data
