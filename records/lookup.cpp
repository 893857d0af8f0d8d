#include "lookup.h"

#include "recordset_access.h"

#include "core/traced.h"
#include "platform/characters.h"
#include "platform/prompts.h"

namespace records {

LookUp::LookUp() : RecordPosition("LookUp") {}

QString LookUp::keyColumn() const
{
    return m_RecSrc + QStringLiteral("Id");
}

QVariant LookUp::currentKey() const
{
    return rs->value(keyColumn());
}

QString LookUp::RecSrc() const
{
    return tovren::traced("LookUp.Get_RecSrc", [&] { return m_RecSrc; });
}

void LookUp::setRecSrc(const QString& vNewVal)
{
    tovren::traced("LookUp.Let_RecSrc", {{"vNewVal", "String", vNewVal}},
                   [&] { m_RecSrc = vNewVal; });
}

qint32 LookUp::Id() const
{
    return tovren::traced("LookUp.Get_Id", [&] { return m_Id; });
}

void LookUp::setId(qint32 vNewVal)
{
    tovren::traced("LookUp.Let_Id", {{"vNewVal", "Long", vNewVal}}, [&] {
        if (vNewVal == 0)
            bValDat = false;
        m_Id = vNewVal;
    });
}

QString LookUp::FldName() const
{
    return tovren::traced("LookUp.Get_FldName", [&] { return m_FldName; });
}

void LookUp::setFldName(const QString& vNewVal)
{
    tovren::traced("LookUp.Let_FldName", {{"vNewVal", "String", vNewVal}}, [&] {
        // The limits are the widths the card's combos show; the comparison of
        // the table's name is exact.
        const auto refuse = [this](const QString& message) {
            bValDat = false;
            platform::MsgBox(message, platform::Buttons::OK, platform::Icon::Critical,
                             QStringLiteral("Save"));
        };
        if (!vNewVal.isEmpty()) {
            if (m_RecSrc == QLatin1String("Salutation") && platform::characterCount(vNewVal) > 6)
                refuse(QStringLiteral("You cannot have salutation for more than 6 characters."));
            else if (m_RecSrc == QLatin1String("Religion")
                     && platform::characterCount(vNewVal) > 15)
                refuse(QStringLiteral("You cannot have Religion for more than 15 characters."));
        }
        m_FldName = vNewVal;
        if (!bAdd)
            setId(qint32(currentKey().toLongLong()));
    });
}

void LookUp::OpenRec()
{
    tovren::traced("LookUp.OpenRec", [&] {
        if (rs->isOpen())
            rs->Close();
        openDisconnected(*rs, m_RecSrc);
        m_dts.setRecs(rs);
        if (rs->RecordCount() >= 1)
            AssValToProp();
    });
}

void LookUp::Add()
{
    tovren::traced("LookUp.Add", [&] {
        bAdd = true;
        m_dts.Add();
    });
}

void LookUp::Update()
{
    tovren::traced("LookUp.Update", [&] {
        AssValToRecFlds();
        m_dts.Update();
    });
}

void LookUp::CancelUpdate()
{
    tovren::traced("LookUp.CancelUpdate", [&] {
        AssValToRecFlds();
        m_dts.CancelUpdate();
        bAdd = false;
        AssValToProp();
    });
}

void LookUp::Del()
{
    tovren::traced("LookUp.Del", [&] {
        m_dts.Del();
        AssValToProp();
    });
}

void LookUp::Save()
{
    tovren::traced("LookUp.Save", [&] {
        AssValToRecFlds();
        m_dts.Save();
        bAdd = false;
        AssValToProp();
    });
}

void LookUp::Cancel()
{
    tovren::traced("LookUp.Cancel", [&] {
        m_dts.Cancel();
        reopen(*rs, !bAdd);
        bAdd = false;
        AssValToProp();
    });
}

void LookUp::Class_GetDataMember(const QString& DataMember,
                                 std::shared_ptr<data::Recordset>& Data)
{
    tovren::traced("LookUp.Class_GetDataMember",
                   {{"DataMember", "String", DataMember}, {"Data", "Object", recordsetArg(Data)}},
                   [&] { Data = rs; });
}

void LookUp::AssValToProp()
{
    tovren::traced("LookUp.AssValToProp", [&] {
        if (rs->isBOF() || rs->isEOF())
            return;
        // Stored values go in as they are, without the setters' checks.
        if (!bAdd)
            m_Id = qint32(currentKey().toLongLong());
        m_FldName = rs->value(m_RecSrc).toString();
    });
}

void LookUp::AssValToRecFlds()
{
    tovren::traced("LookUp.AssValToRecFlds", [&] {
        // With every entry deleted there is no row to write into, and the
        // deletions must still reach the database.
        if (rs->isBOF() || rs->isEOF())
            return;
        rs->setValue(m_RecSrc, m_FldName.isNull() ? QStringLiteral("") : m_FldName);
    });
}

} // namespace records
