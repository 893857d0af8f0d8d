#include "recordset_access.h"

#include "core/program.h"

namespace records {

void openDisconnected(data::Recordset& rs, const QString& source)
{
    rs.setActiveConnection(tovren::connectionString());
    rs.Open(source);
    rs.disconnect();
}

void reopen(data::Recordset& rs, bool keepRow)
{
    // An empty set, or one left past its ends by a find, has no row to
    // return to; asking for its bookmark would only raise an error.
    QVariant varBkMk;
    if (keepRow && !rs.isBOF() && !rs.isEOF())
        varBkMk = rs.bookmark();
    // Read again only if the book changed since the rows were read.
    rs.setActiveConnection(tovren::connectionString());
    rs.Requery();
    rs.disconnect();
    if (varBkMk.isValid())
        rs.setBookmark(varBkMk);
}

QVariant recordsetArg(const std::shared_ptr<data::Recordset>& rs)
{
    return QVariant::fromValue(rs.get());
}

} // namespace records
