#include "record_position.h"

#include "core/traced.h"

namespace records {

RecordPosition::RecordPosition(const char* className)
    : rs(std::make_shared<data::Recordset>()), m_className(className)
{}

QByteArray RecordPosition::traceName(const char* member) const
{
    return QByteArray(m_className) + '.' + member;
}

QVariant RecordPosition::varBkMk() const
{
    return tovren::traced(traceName("Get_varBkMk").constData(), [&] { return rs->bookmark(); });
}

void RecordPosition::setVarBkMk(const QVariant& vNewValue)
{
    tovren::traced(traceName("Let_varBkMk").constData(), {{"vNewValue", "Variant", vNewValue}},
                   [&] {
                       rs->setBookmark(vNewValue);
                       AssValToProp();
                   });
}

qint32 RecordPosition::RecCount() const
{
    return tovren::traced(traceName("Get_RecCount").constData(), [&] { return rs->RecordCount(); });
}

qint32 RecordPosition::AbsPos() const
{
    return tovren::traced(traceName("Get_AbsPos").constData(),
                          [&] { return rs->AbsolutePosition(); });
}

bool RecordPosition::isEOF() const
{
    return tovren::traced(traceName("Get_EOF").constData(), [&] { return rs->isEOF(); });
}

bool RecordPosition::isBOF() const
{
    return tovren::traced(traceName("Get_BOF").constData(), [&] { return rs->isBOF(); });
}

} // namespace records
