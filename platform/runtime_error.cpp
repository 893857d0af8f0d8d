#include "runtime_error.h"

namespace platform {

RunTimeError::RunTimeError(qint32 number, QString description, QString source,
                           std::source_location where)
    : m_number(number), m_description(std::move(description)), m_source(std::move(source)),
      m_where(where),
      m_what(QString(QString::number(number) + QStringLiteral(": ") + m_description).toUtf8())
{}

const char* RunTimeError::what() const noexcept
{
    return m_what.constData();
}

void raise(qint32 number, const QString& description, std::source_location where)
{
    throw RunTimeError(number, description, QStringLiteral("Tovren"), where);
}

} // namespace platform
