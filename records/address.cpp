#include "address.h"

#include "recordset_access.h"

#include "core/traced.h"
#include "platform/date_text.h"
#include "platform/prompts.h"

#include <QLocale>

#include <iterator>

namespace records {
namespace {

using Fld = Address::Fld;

const char* const kColumns[] = {"SalutationId", "Name",      "Company", "ReligionId", "Address1",
                                "Address2",     "Address3",  "City",    "PinCode",    "State",
                                "Country",      "PhOff1",    "PhOff2",  "PhExt",      "PhFax",
                                "PhRes1",       "PhRes2",    "PhCell",  "PhPager",    "DtBirth",
                                "DtMarriage",   "DtJoining", "EmlAddr"};
static_assert(std::size(kColumns) == size_t(Fld::Count));

// As wide as the schema's columns; the ids take the widths of the pick
// lists' texts, which is what an imported salutation or religion must fit.
const int kWidths[] = {6,  40, 50, 15, 35, 35, 35, 20, 7, 20, 40, 15,
                       15, 5,  15, 15, 15, 15, 15, 0,  0, 0,  150};
static_assert(std::size(kWidths) == size_t(Fld::Count));

bool isId(Fld field)
{
    return field == Fld::SalutationId || field == Fld::ReligionId;
}

QByteArray accessor(const char* kind, Fld field)
{
    return QByteArray("Address.") + kind + kColumns[size_t(field)];
}

bool isNumeric(const QString& text)
{
    bool ok = false;
    QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

// The message for an e-mail address that is refused, or "" when it passes.
QString emailProblem(const QString& s)
{
    if (s.isEmpty())
        return QString();
    const qsizetype at = s.indexOf(QLatin1Char('@'));
    if (at < 1)
        return QStringLiteral("You have entered incorrect email address. An email address should "
                              "have an '@' sign.");
    // A dot right at the end leaves no server name; no dot at all passes.
    const qsizetype dot = s.indexOf(QLatin1Char('.'), at);
    if (dot == s.size() - 1)
        return QStringLiteral("You have not entered email hosting server.");
    return QString();
}

} // namespace

const char* Address::column(Fld field)
{
    return kColumns[size_t(field)];
}

int Address::width(Fld field)
{
    return kWidths[size_t(field)];
}

bool Address::isDate(Fld field)
{
    return field == Fld::DtBirth || field == Fld::DtMarriage || field == Fld::DtJoining;
}

QString Address::problem(Fld field, const QString& value, const QString& company)
{
    switch (field) {
    case Fld::Name:
        if (value.isEmpty() && company.isEmpty())
            return QStringLiteral("You have to enter either Name of person or Company. No changes "
                                  "will be made till you enter either one or both of them.");
        return QString();
    case Fld::PinCode:
        return !value.isEmpty() && !isNumeric(value)
                   ? QStringLiteral("You have entered invalid pincode")
                   : QString();
    case Fld::DtBirth:
    case Fld::DtMarriage:
    case Fld::DtJoining:
        if (!value.isEmpty() && !platform::parseDate(value)) {
            const char* what = field == Fld::DtBirth      ? "birth"
                               : field == Fld::DtMarriage ? "marriage"
                                                          : "joining";
            return QStringLiteral("You have not entered correct date of %1.")
                .arg(QLatin1String(what));
        }
        return QString();
    case Fld::EmlAddr:
        return emailProblem(value);
    default:
        return QString();
    }
}

Address::Address() : RecordPosition("Address")
{
    for (size_t i = 0; i < m_values.size(); ++i)
        m_values[i] = isId(Fld(i)) ? QVariant(qint32(0)) : QVariant(QString());
    tovren::traced("Address.Class_Initialize", [&] {
        openDisconnected(*rs, QStringLiteral("Address"));
        m_dataSource.setRecs(rs);
        if (rs->RecordCount() > 0)
            AssValToProp();
    });
}

qint32 Address::id(Fld field) const
{
    return tovren::traced(accessor("Get_", field).constData(),
                          [&] { return m_values[size_t(field)].toInt(); });
}

QString Address::text(Fld field) const
{
    return tovren::traced(accessor("Get_", field).constData(),
                          [&] { return m_values[size_t(field)].toString(); });
}

void Address::letId(Fld field, qint32 vNewVal)
{
    tovren::traced(accessor("Let_", field).constData(), {{"vNewVal", "Long", vNewVal}}, [&] {
        // No salutation or religion chosen: the card asks about it itself.
        if (vNewVal == 0)
            bValDat = false;
        m_values[size_t(field)] = vNewVal;
    });
}

void Address::letText(Fld field, const QString& vNewVal)
{
    tovren::traced(accessor("Let_", field).constData(), {{"vNewVal", "String", vNewVal}}, [&] {
        check(field, vNewVal);
        m_values[size_t(field)] = vNewVal;
    });
}

void Address::refuse(const QString& message)
{
    bValDat = false;
    platform::MsgBox(message, platform::Buttons::OK, platform::Icon::Critical,
                     QStringLiteral("Save"));
}

void Address::check(Fld field, const QString& value)
{
    // The card assigns Company first, so the Name sees the company being saved.
    const QString company = m_values[size_t(Fld::Company)].toString();
    if (const QString message = problem(field, value, company); !message.isEmpty())
        refuse(message);
}

void Address::AssValToProp()
{
    tovren::traced("Address.AssValToProp", [&] {
        if (rs->isBOF() || rs->isEOF())
            return;
        // Stored values go in as they are, without the setters' checks: a
        // row that is only being looked at raises no messages.
        for (size_t i = 0; i < m_values.size(); ++i) {
            const Fld field = Fld(i);
            const QVariant value = rs->value(QString::fromLatin1(column(field)));
            if (isId(field))
                m_values[i] = value.isValid() ? qint32(value.toLongLong()) : qint32(0);
            else if (isDate(field))
                m_values[i] = value.isValid() ? platform::dateText(value.toDate()) : QString();
            else
                m_values[i] = value.isValid() ? value.toString() : QString();
        }
    });
}

void Address::AssValToRecFlds()
{
    tovren::traced("Address.AssValToRecFlds", [&] {
        const bool stored = !rs->isNewRow();
        for (size_t i = 0; i < m_values.size(); ++i) {
            const Fld field = Fld(i);
            const QString name = QString::fromLatin1(column(field));
            // A stored Null the person left as it showed ("" or no choice)
            // stays Null: the column is neither written nor checked when the
            // row is sent, so it cannot clash with someone else's change.
            const bool showsAsNull =
                isId(field) ? m_values[i].toInt() == 0 : m_values[i].toString().isEmpty();
            if (stored && showsAsNull && !rs->value(name).isValid())
                continue;
            if (isId(field)) {
                rs->setValue(name, qint64(m_values[i].toInt()));
                continue;
            }
            // Only a date column takes Null, for no date; the recordset
            // turns a date's text into the date. Other texts go as "".
            const QString value = m_values[i].toString();
            if (isDate(field))
                rs->setValue(name, value.isEmpty() ? QVariant() : QVariant(value));
            else
                rs->setValue(name, value.isNull() ? QStringLiteral("") : value);
        }
    });
}

void Address::MoveFirst()
{
    tovren::traced("Address.MoveFirst", [&] {
        m_dataSource.MoveFirst();
        AssValToProp();
    });
}

void Address::MoveLast()
{
    tovren::traced("Address.MoveLast", [&] {
        m_dataSource.MoveLast();
        AssValToProp();
    });
}

void Address::MovePrevious()
{
    tovren::traced("Address.MovePrevious", [&] {
        m_dataSource.MovePrevious();
        AssValToProp();
    });
}

void Address::MoveNext()
{
    tovren::traced("Address.MoveNext", [&] {
        m_dataSource.MoveNext();
        AssValToProp();
    });
}

void Address::Add()
{
    tovren::traced("Address.Add", [&] {
        bAdd = true;
        m_dataSource.Add();
    });
}

void Address::Save()
{
    tovren::traced("Address.Save", [&] {
        AssValToRecFlds();
        m_dataSource.Save();
        bAdd = false;
        AssValToProp();
    });
}

void Address::Cancel()
{
    tovren::traced("Address.Cancel", [&] {
        m_dataSource.Cancel();
        reopen(*rs, !bAdd);
        bAdd = false;
        AssValToProp();
    });
}

void Address::Delete()
{
    tovren::traced("Address.Delete", [&] {
        m_dataSource.Delete();
        AssValToProp();
    });
}

void Address::Find(QString& Criteria, qint32& SkipRecords, qint32& SearchDirection, QVariant& Start)
{
    tovren::traced("Address.Find",
                   {{"Criteria", "String", Criteria},
                    {"SkipRecords", "Long", SkipRecords},
                    {"SearchDirection", "SearchDirectionEnum", SearchDirection},
                    {"Start", "Variant", Start}},
                   [&] {
                       m_dataSource.Find(Criteria, SkipRecords, SearchDirection, Start);
                       AssValToProp();
                   });
}

void Address::Refresh()
{
    tovren::traced("Address.Refresh", [&] {
        m_dataSource.Refresh();
        AssValToProp();
    });
}

void Address::sort(QString sFld, QString sDirection)
{
    tovren::traced("Address.sort", {{"sFld", "String", sFld}, {"sDirection", "String", sDirection}},
                   [&] {
                       m_dataSource.sort(sFld, sDirection);
                       AssValToProp();
                   });
}

void Address::Filter(QString& sFilter)
{
    tovren::traced("Address.Filter", {{"sFilter", "String", sFilter}}, [&] {
        m_dataSource.Filter(sFilter);
        AssValToProp();
    });
}

} // namespace records
