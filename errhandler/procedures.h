#pragma once
// The recorded arguments of the procedures on the stack: one Parameter per
// argument, one Procedures per procedure.

#include "Vostrel.h"

#include <memory>
#include <vector>

namespace Vostrel {

class ParameterImpl final : public Parameter {
public:
    QString Param() const override { return m_param; }
    void setParam(const QString& value) override { m_param = value; }
    QString PrmType() const override { return m_prmType; }
    void setPrmType(const QString& value) override { m_prmType = value; }
    QVariant Value() const override { return m_value; }
    void setValue(const QVariant& value) override { m_value = value; }

private:
    QString m_param;
    QString m_prmType;
    QVariant m_value; // an object is held as its pointer, anything else as a copy
};

class ProceduresImpl final : public Procedures {
public:
    Parameter& Add(const QString& sParam, const QString& sType, const QVariant& vVal) override;
    QVariant ReadParams() const override;

private:
    std::vector<std::unique_ptr<ParameterImpl>> m_parameters;
};

// "st", "nd", "rd" or "th" for the counter that heads a parameter.
QString ordinalSuffix(qint64 number);

} // namespace Vostrel
