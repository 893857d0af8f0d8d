#pragma once
// A connection to a Tovren database file, opened from a connection string.
// Opening never creates a file: a missing file, a file that cannot be read
// and a file that is not a Tovren database all fail with the "unspecified
// failure" number (-2147467259) and a description that names the file.
// The connection collects the driver errors of its failed calls, which the
// error handler lists in its reports.

#include "errhandler/Vostrel.h"

#include <QSqlDatabase>
#include <QVector>

#include <memory>
#include <source_location>

class QSqlError;

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

// "The address book '<path>' is in use by another program.": what a busy
// or locked database file is told as (error DatabaseBusy).
QString inUseDescription(const QString& path);

class DatabaseIo;

class Connection final : public Vostrel::DbConnection {
public:
    // Relative data sources are taken from `baseFolder` (the current folder
    // when it is empty). Raises RunTimeError.
    static std::shared_ptr<Connection> open(const QString& connectionString,
                                            const QString& baseFolder = QString());
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QString ConnectionString() const override { return m_connectionString; }
    Vostrel::DbErrors& Errors() override { return m_errors; }

    QSqlDatabase database() const;
    // How the recordsets read and write through this connection.
    DatabaseIo& io() { return *m_io; }
    const QString& filePath() const { return m_filePath; }
    bool isReadOnly() const { return m_readOnly; }

    // Records a failed driver call in the errors that reports list.
    void record(const QSqlError& error, qint32 number);
    // Records a failed driver call and raises the run-time error `number`
    // with `description` followed by the driver's own words.
    [[noreturn]] void fail(const QSqlError& error, qint32 number, const QString& description,
                           std::source_location where = std::source_location::current());

private:
    Connection(QString connectionString, QString name, QString filePath, bool readOnly);

    QString m_connectionString;
    QString m_name;
    QString m_filePath;
    bool m_readOnly;
    ErrorList m_errors;
    std::unique_ptr<DatabaseIo> m_io;
};

} // namespace data
