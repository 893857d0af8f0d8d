#pragma once
// What DataSource and DtsLookUp have in common: the wrapped recordset,
// created empty on first use, moves that never leave the recordset before
// its first or after its last row, adding a row, and the question asked
// before a row is deleted. Each operation is traced under the name of the
// class that inherits it ("DataSource.MoveFirst", "DtsLookUp.MoveFirst").

#include "data/recordset.h"

#include <QByteArray>

#include <memory>

namespace records {

class RecordsetWrapper {
public:
    std::shared_ptr<data::Recordset> Recs();
    void setRecs(std::shared_ptr<data::Recordset> Value);

    void MoveFirst();
    void MoveLast();
    void MovePrevious();
    void MoveNext();
    void Add();

protected:
    explicit RecordsetWrapper(const char* className);
    ~RecordsetWrapper();
    RecordsetWrapper(const RecordsetWrapper&) = delete;
    RecordsetWrapper& operator=(const RecordsetWrapper&) = delete;

    // The wrapped recordset without tracing, created empty on first use.
    data::Recordset& recs();
    // "<class>.<operation>", the name a procedure is traced under.
    QByteArray procName(const char* operation) const;
    // Asks whether the current row is to be deleted; true for Yes.
    static bool confirmDelete();

private:
    QByteArray m_className;
    std::shared_ptr<data::Recordset> m_recs;
};

} // namespace records
