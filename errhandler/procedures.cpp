#include "procedures.h"

#include "value_text.h"

namespace Vostrel {

Parameter& ProceduresImpl::Add(const QString& sParam, const QString& sType, const QVariant& vVal)
{
    auto parameter = std::make_unique<ParameterImpl>();
    parameter->setParam(sParam);
    parameter->setPrmType(sType);
    parameter->setValue(vVal);
    m_parameters.push_back(std::move(parameter));
    return *m_parameters.back();
}

QVariant ProceduresImpl::ReadParams() const
{
    if (m_parameters.empty())
        return QVariant();
    const QString crlf = QStringLiteral("\r\n");
    QString text;
    qint64 counter = 0;
    for (const auto& parameter : m_parameters) {
        ++counter;
        const std::optional<QString> value = variantText(parameter->Value());
        text += QString::number(counter) + ordinalSuffix(counter) + QStringLiteral(" Param:") + crlf
                + QStringLiteral("Name: ") + parameter->Param() + crlf + QStringLiteral("Type: ")
                + parameter->PrmType() + crlf
                + (value ? QStringLiteral("Value: ") + *value : QStringLiteral("Value: -----"))
                + crlf;
    }
    return text;
}

QString ordinalSuffix(qint64 number)
{
    const QString digits = QString::number(number);
    const auto endsIn = [&digits](const char* tail, const char* unlessTail) {
        return digits.endsWith(QLatin1String(tail)) && !digits.endsWith(QLatin1String(unlessTail));
    };
    if (endsIn("1", "11"))
        return QStringLiteral("st");
    if (endsIn("2", "12"))
        return QStringLiteral("nd");
    if (endsIn("3", "13"))
        return QStringLiteral("rd");
    return QStringLiteral("th");
}

} // namespace Vostrel
