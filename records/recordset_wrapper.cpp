#include "recordset_wrapper.h"

#include "recordset_access.h"

#include "core/traced.h"
#include "platform/prompts.h"

namespace records {

RecordsetWrapper::RecordsetWrapper(const char* className) : m_className(className) {}

RecordsetWrapper::~RecordsetWrapper() = default;

data::Recordset& RecordsetWrapper::recs()
{
    if (!m_recs)
        m_recs = std::make_shared<data::Recordset>();
    return *m_recs;
}

QByteArray RecordsetWrapper::procName(const char* operation) const
{
    return m_className + '.' + operation;
}

std::shared_ptr<data::Recordset> RecordsetWrapper::Recs()
{
    return tovren::traced(procName("Get_Recs").constData(), [&] {
        recs();
        return m_recs;
    });
}

void RecordsetWrapper::setRecs(std::shared_ptr<data::Recordset> Value)
{
    tovren::traced(procName("Let_Recs").constData(),
                   {{"Value", "adodb.Recordset", recordsetArg(Value)}},
                   [&] { m_recs = std::move(Value); });
}

// A move happens only while a row is current: not on an empty set, and not
// after a find that matched nothing.

void RecordsetWrapper::MoveFirst()
{
    tovren::traced(procName("MoveFirst").constData(), [&] {
        data::Recordset& rs = recs();
        if (!rs.isEOF() && !rs.isBOF())
            rs.MoveFirst();
    });
}

void RecordsetWrapper::MoveLast()
{
    tovren::traced(procName("MoveLast").constData(), [&] {
        data::Recordset& rs = recs();
        if (!rs.isEOF() && !rs.isBOF())
            rs.MoveLast();
    });
}

void RecordsetWrapper::MovePrevious()
{
    tovren::traced(procName("MovePrevious").constData(), [&] {
        data::Recordset& rs = recs();
        if (rs.isEOF() || rs.isBOF())
            return;
        rs.MovePrevious();
        // Stepping back from the first row keeps the first row, if one is
        // left: deleting the only row leaves nothing to move to.
        if (rs.isBOF() && rs.RecordCount() > 0)
            rs.MoveFirst();
    });
}

void RecordsetWrapper::MoveNext()
{
    tovren::traced(procName("MoveNext").constData(), [&] {
        data::Recordset& rs = recs();
        if (rs.isEOF() || rs.isBOF())
            return;
        rs.MoveNext();
        if (rs.isEOF())
            rs.MoveLast();
    });
}

void RecordsetWrapper::Add()
{
    tovren::traced(procName("Add").constData(), [&] { recs().AddNew(); });
}

bool RecordsetWrapper::confirmDelete()
{
    const QString question = QStringLiteral("You are about to delete a record.\r\n"
                                            "Record once deleted would not be retrieved back.\r\n"
                                            "Are you sure you want to delete this record?");
    return platform::MsgBox(question, platform::Buttons::YesNo, platform::Icon::Critical,
                            QStringLiteral("Delete."))
           == platform::Answer::Yes;
}

} // namespace records
