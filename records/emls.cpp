#include "emls.h"

#include "recordset_access.h"

#include "core/traced.h"
#include "platform/error_numbers.h"

namespace records {

data::Recordset& Emls::recs() const
{
    if (!m_recs)
        platform::raise(platform::err::ObjectNotSet,
                        QStringLiteral("Object variable or With block variable not set"));
    return *m_recs;
}

void Emls::setRecs(std::shared_ptr<data::Recordset> Recset)
{
    tovren::traced("Emls.Let_Recs", {{"Recset", "adodb.Recordset", recordsetArg(Recset)}},
                   [&] { m_recs = std::move(Recset); });
}

void Emls::MoveFirst()
{
    tovren::traced("Emls.MoveFirst", [&] {
        recs().MoveFirst();
        AssValToProp();
    });
}

void Emls::MoveNext()
{
    tovren::traced("Emls.MoveNext", [&] {
        recs().MoveNext();
        AssValToProp();
    });
}

QString Emls::EmlAddr() const
{
    return tovren::traced("Emls.Get_EmlAddr", [&] { return m_EmlAddr; });
}

QString Emls::Name() const
{
    return tovren::traced("Emls.Get_Name", [&] { return m_Name; });
}

qint32 Emls::RecCount() const
{
    return tovren::traced("Emls.Get_RecCount", [&] { return recs().RecordCount(); });
}

qint32 Emls::AbsPos() const
{
    return tovren::traced("Emls.Get_AbsPos", [&] { return recs().AbsolutePosition(); });
}

bool Emls::isEOF() const
{
    return tovren::traced("Emls.Get_EOF", [&] { return recs().isEOF(); });
}

bool Emls::isBOF() const
{
    return tovren::traced("Emls.Get_BOF", [&] { return recs().isBOF(); });
}

void Emls::AssValToProp()
{
    tovren::traced("Emls.AssValToProp", [&] {
        data::Recordset& rs = recs();
        if (rs.isBOF() || rs.isEOF())
            return;
        m_EmlAddr = rs.value(u"EmlAddr").toString();
        m_Name = rs.value(u"Name").toString();
    });
}

} // namespace records
