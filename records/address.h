#pragma once
// Address: the record object behind the address card. It owns the
// recordset of the Address table, keeps the current row's values in typed
// properties and writes them back when the card saves. Every change of the
// current row ends by loading the new current row into the properties.
//
// A property's setter checks the value (a message box titled "Save" and a
// cleared bValDat for a refused one) and stores it either way. Loading a
// row stores the column values without checking them: a stored value is
// shown as it is, and only what the card assigns before saving is checked.

#include "data_source.h"

#include "record_position.h"

#include "data/recordset.h"

#include <QString>
#include <QVariant>

#include <array>
#include <memory>

namespace records {

class Address : public RecordPosition {
public:
    // The columns the properties mirror, in the order they are written.
    enum class Fld {
        SalutationId,
        Name,
        Company,
        ReligionId,
        Address1,
        Address2,
        Address3,
        City,
        PinCode,
        State,
        Country,
        PhOff1,
        PhOff2,
        PhExt,
        PhFax,
        PhRes1,
        PhRes2,
        PhCell,
        PhPager,
        DtBirth,
        DtMarriage,
        DtJoining,
        EmlAddr,
        Count
    };

    // Reads the whole Address table and loads its first row, if any.
    Address();

    // The column a property mirrors.
    static const char* column(Fld field);
    // The most characters the column holds, 0 for a date (the ids: the
    // width of their pick list's text).
    static int width(Fld field);
    static bool isDate(Fld field);
    // Why the record refuses `value` for the text property `field`, or ""
    // when it takes it; the Name is checked against `company`, the Company
    // being saved. The checks need no database, so that contacts arriving
    // from elsewhere meet the same rules as a typed card.
    static QString problem(Fld field, const QString& value, const QString& company);

    bool bValDat = false; // cleared by a refused value; set only by the caller
    bool bAdd = false;    // a new row is pending

    qint32 SalutationId() const { return id(Fld::SalutationId); }
    void setSalutationId(qint32 vNewVal) { letId(Fld::SalutationId, vNewVal); }
    QString Name() const { return text(Fld::Name); }
    void setName(const QString& vNewVal) { letText(Fld::Name, vNewVal); }
    QString Company() const { return text(Fld::Company); }
    void setCompany(const QString& vNewVal) { letText(Fld::Company, vNewVal); }
    qint32 ReligionId() const { return id(Fld::ReligionId); }
    void setReligionId(qint32 vNewVal) { letId(Fld::ReligionId, vNewVal); }
    QString Address1() const { return text(Fld::Address1); }
    void setAddress1(const QString& vNewVal) { letText(Fld::Address1, vNewVal); }
    QString Address2() const { return text(Fld::Address2); }
    void setAddress2(const QString& vNewVal) { letText(Fld::Address2, vNewVal); }
    QString Address3() const { return text(Fld::Address3); }
    void setAddress3(const QString& vNewVal) { letText(Fld::Address3, vNewVal); }
    QString City() const { return text(Fld::City); }
    void setCity(const QString& vNewVal) { letText(Fld::City, vNewVal); }
    QString PinCode() const { return text(Fld::PinCode); }
    void setPinCode(const QString& vNewVal) { letText(Fld::PinCode, vNewVal); }
    QString State() const { return text(Fld::State); }
    void setState(const QString& vNewVal) { letText(Fld::State, vNewVal); }
    QString Country() const { return text(Fld::Country); }
    void setCountry(const QString& vNewVal) { letText(Fld::Country, vNewVal); }
    QString PhOff1() const { return text(Fld::PhOff1); }
    void setPhOff1(const QString& vNewVal) { letText(Fld::PhOff1, vNewVal); }
    QString PhOff2() const { return text(Fld::PhOff2); }
    void setPhOff2(const QString& vNewVal) { letText(Fld::PhOff2, vNewVal); }
    QString PhExt() const { return text(Fld::PhExt); }
    void setPhExt(const QString& vNewVal) { letText(Fld::PhExt, vNewVal); }
    QString PhFax() const { return text(Fld::PhFax); }
    void setPhFax(const QString& vNewVal) { letText(Fld::PhFax, vNewVal); }
    QString PhRes1() const { return text(Fld::PhRes1); }
    void setPhRes1(const QString& vNewVal) { letText(Fld::PhRes1, vNewVal); }
    QString PhRes2() const { return text(Fld::PhRes2); }
    void setPhRes2(const QString& vNewVal) { letText(Fld::PhRes2, vNewVal); }
    QString PhCell() const { return text(Fld::PhCell); }
    void setPhCell(const QString& vNewVal) { letText(Fld::PhCell, vNewVal); }
    QString PhPager() const { return text(Fld::PhPager); }
    void setPhPager(const QString& vNewVal) { letText(Fld::PhPager, vNewVal); }
    // Dates are texts in the program's date form; "" is no date.
    QString DtBirth() const { return text(Fld::DtBirth); }
    void setDtBirth(const QString& vNewVal) { letText(Fld::DtBirth, vNewVal); }
    QString DtMarriage() const { return text(Fld::DtMarriage); }
    void setDtMarriage(const QString& vNewVal) { letText(Fld::DtMarriage, vNewVal); }
    QString DtJoining() const { return text(Fld::DtJoining); }
    void setDtJoining(const QString& vNewVal) { letText(Fld::DtJoining, vNewVal); }
    QString EmlAddr() const { return text(Fld::EmlAddr); }
    void setEmlAddr(const QString& vNewVal) { letText(Fld::EmlAddr, vNewVal); }

    void MoveFirst();
    void MoveLast();
    void MovePrevious();
    void MoveNext();
    // A new, empty row becomes current; the properties keep their values
    // (the card clears its own fields).
    void Add();
    // Writes the properties into the current row and sends it.
    void Save();
    // Drops every pending change, reads the table again and returns to the
    // row that was current, or to the first row after an Add.
    void Cancel();
    // Asks first.
    void Delete();
    void Find(QString& Criteria, qint32& SkipRecords, qint32& SearchDirection, QVariant& Start);
    void Refresh();
    void sort(QString sFld, QString sDirection);
    // `sFilter` may come back rewritten (see DataSource::Filter).
    void Filter(QString& sFilter);

private:
    qint32 id(Fld field) const;
    QString text(Fld field) const;
    void letId(Fld field, qint32 vNewVal);
    void letText(Fld field, const QString& vNewVal);
    // Shows `message` for a refused value and clears bValDat.
    void refuse(const QString& message);
    void check(Fld field, const QString& value);

    void AssValToProp() override;
    void AssValToRecFlds();

    DataSource m_dataSource;
    std::array<QVariant, size_t(Fld::Count)> m_values;
};

} // namespace records
