#pragma once
// What a record object tells about its place in its rows, and moving to a
// bookmarked row: the same for the contact record and the pick-list entry,
// traced under each one's own class name.

#include "data/recordset.h"

#include <QByteArray>
#include <QVariant>

#include <memory>

namespace records {

class RecordPosition {
public:
    std::shared_ptr<data::Recordset> rs;

    QVariant varBkMk() const;
    // Moves to the bookmarked row and loads it.
    void setVarBkMk(const QVariant& vNewValue);
    qint32 RecCount() const;
    qint32 AbsPos() const;
    bool isEOF() const;
    bool isBOF() const;

protected:
    explicit RecordPosition(const char* className);
    virtual ~RecordPosition() = default;
    // Loads the current row into the properties.
    virtual void AssValToProp() = 0;
    // "Address.Get_RecCount" for the member "Get_RecCount" of an Address.
    QByteArray traceName(const char* member) const;

private:
    const char* m_className;
};

} // namespace records
