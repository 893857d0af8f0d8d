#pragma once
// LookUp: one entry of a pick list (the Salutation or Religion table) and
// the table's recordset, which the maintenance dialog's list shows
// directly. Additions, changes and deletions stay pending in memory until
// Save sends them all; Cancel drops them and reads the table again.
//
// The course of one dialog: OpenRec; then any number of Add + setFldName +
// Update (new entries), setFldName + Update (changed entries), Del
// (deleted entries) and CancelUpdate (an abandoned add or change); then
// Save or Cancel.

#include "dts_lookup.h"

#include "record_position.h"

#include "data/recordset.h"

#include <QString>
#include <QVariant>

#include <memory>

namespace records {

class LookUp : public RecordPosition {
public:
    LookUp();

    bool bValDat = false; // cleared by a refused Id or FldName; set only by the caller
    bool bAdd = false;    // between Add and Save, CancelUpdate or Cancel

    // The table's name, "Salutation" or "Religion"; also the name of its
    // text column. Its key column is RecSrc + "Id".
    QString RecSrc() const;
    void setRecSrc(const QString& vNewVal);
    qint32 Id() const;
    void setId(qint32 vNewVal);
    QString FldName() const;
    void setFldName(const QString& vNewVal);

    void OpenRec();
    void Add();
    void Update();
    void CancelUpdate();
    void Del();
    void Save();
    void Cancel();

    // The data a bound list asks for: the table's rows, whatever the member.
    void Class_GetDataMember(const QString& DataMember, std::shared_ptr<data::Recordset>& Data);

private:
    QString keyColumn() const;
    QVariant currentKey() const;
    void AssValToProp() override;
    void AssValToRecFlds();

    DtsLookUp m_dts;
    QString m_RecSrc;
    qint32 m_Id = 0;
    QString m_FldName;
};

} // namespace records
