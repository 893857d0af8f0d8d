#pragma once
// The one run-time error type of Tovren and Vostrel. A procedure raises it
// with the number callers and reports rely on; the procedure's error block
// catches it and hands it to the error handler.

#include <QString>

#include <exception>
#include <source_location>

namespace platform {

class RunTimeError : public std::exception {
public:
    RunTimeError(qint32 number, QString description, QString source = QStringLiteral("Tovren"),
                 std::source_location where = std::source_location::current());

    qint32 number() const { return m_number; }
    const QString& description() const { return m_description; }
    const QString& source() const { return m_source; }
    int line() const { return int(m_where.line()); }
    const std::source_location& where() const { return m_where; }
    const char* what() const noexcept override;

private:
    qint32 m_number;
    QString m_description;
    QString m_source;
    std::source_location m_where;
    QByteArray m_what;
};

[[noreturn]] void raise(qint32 number, const QString& description,
                        std::source_location where = std::source_location::current());

} // namespace platform
