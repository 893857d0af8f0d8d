#include "filter_commands.h"

#include "active_card.h"
#include "card_layout.h"
#include "frmaddress.h"
#include "record_commands.h"

#include "core/field_helpers.h"
#include "core/frame.h"
#include "core/program.h"
#include "core/toolbar_button.h"
#include "core/toolbar_state.h"
#include "core/traced.h"
#include "data/record_store.h"
#include "platform/prompts.h"
#include "records/address.h"
#include "widgets/data_combo.h"

#include <QLineEdit>
#include <QRegularExpression>

namespace modGenProcedures {

namespace {

bool filterOn()
{
    return tovren::requireFrame().button(tovren::Cmd::Filter)->mixedState();
}
bool applyOn()
{
    return tovren::requireFrame().button(tovren::Cmd::AppFilter)->mixedState();
}
void setModeLook(bool filter, bool apply)
{
    tovren::requireFrame().button(tovren::Cmd::Filter)->setMixedState(filter);
    tovren::requireFrame().button(tovren::Cmd::AppFilter)->setMixedState(apply);
}

// A word to a screen reader as the card enters or leaves a mode.
void announce(const char* change)
{
    tovren::requireFrame().announce(QString::fromLatin1(change));
}
constexpr char kFilterRemoved[] = "Filter removed, all records";

void refused(QWidget* field, const QString& text, platform::Icon icon, const QString& title)
{
    platform::MsgBox(text, platform::Buttons::OK, icon, title);
    field->setFocus();
}

// One field's term: "Column = 12" or "Column Like 'PUNE'", its " OR "
// alternatives as comparisons on the same column. Apostrophes are doubled
// here, in the filter, never in the field the person typed.
QString term(const QString& column, const QString& value, bool numeric)
{
    QString upper = value.toUpper();
    if (numeric)
        return column + QStringLiteral(" = ")
               + upper.replace(QStringLiteral(" OR "),
                               QStringLiteral(" OR ") + column + QStringLiteral(" = "));
    upper.replace(QLatin1Char('\''), QStringLiteral("''"));
    return column + QStringLiteral(" Like '")
           + upper.replace(QStringLiteral(" OR "),
                           QStringLiteral("' OR ") + column + QStringLiteral(" Like '"))
           + QLatin1Char('\'');
}

// Whether an alternative of `value` holds a '*' that is not at its start
// or end.
bool hasInnerWildcard(const QString& value)
{
    static const QRegularExpression orWord(QStringLiteral(" or "),
                                           QRegularExpression::CaseInsensitiveOption);
    for (const QString& alternative : value.split(orWord)) {
        if (alternative.size() > 2 && alternative.mid(1).chopped(1).contains(QLatin1Char('*')))
            return true;
    }
    return false;
}

bool isNumeric(int type, bool combo)
{
    return type == data::adType::SmallInt || type == data::adType::Integer
           || (combo && type == data::adType::UnsignedTinyInt);
}

// The filter of the values typed into the card, in the card's order; empty
// with `ok` false when a field was refused.
QString typedFilter(frmAddress& card, bool& ok)
{
    records::Address& record = *card.cls1();
    QStringList terms;
    ok = true;
    for (int i = 0; i < tovren::kCardFieldCount; ++i) {
        const tovren::CardField& spec = tovren::kCardFields[i];
        if (spec.kind == tovren::CardControl::Combo) {
            widgets::DataCombo* combo = card.dbcFld[spec.index];
            if (combo->BoundText().isEmpty())
                continue;
            terms << term(combo->BoundColumn(), combo->BoundText(),
                          isNumeric(record.rs->fieldType(combo->BoundColumn()), true));
            continue;
        }
        if (spec.kind == tovren::CardControl::CalendarButton)
            continue;
        QLineEdit* field = spec.kind == tovren::CardControl::Text ? card.txtFld[spec.index]
                                                                  : card.txtDt[spec.index];
        if (field->text().isEmpty())
            continue;
        const QString column = QString::fromLatin1(spec.dataField);
        const bool numeric = isNumeric(record.rs->fieldType(column), false);
        if (!bChkStr(field)) {
            ok = false;
            return QString();
        }
        if (numeric && field->text().contains(QLatin1Char('*'))) {
            refused(field, QStringLiteral("You cannot have wildcards in numeric fields."),
                    platform::Icon::Exclamation, QStringLiteral("Wildcards"));
            ok = false;
            return QString();
        }
        // A wildcard stands at the end of a value or at both ends; anywhere
        // else the filter could not be read.
        if (hasInnerWildcard(field->text())) {
            refused(field,
                    QStringLiteral("A '*' may stand only at the end of a value, or at both ends."),
                    platform::Icon::Critical, QStringLiteral("Filter"));
            ok = false;
            return QString();
        }
        terms << term(column, field->text(), numeric);
    }
    return terms.join(QStringLiteral(" And "));
}

frmAddress& cardFor(QWidget* frm)
{
    auto* card = qobject_cast<frmAddress*>(frm);
    return card ? *card : tovren::activeCard();
}

// Back to the record kept in the card, shown with its place.
void showKeptRecord(frmAddress& card)
{
    records::Address& record = *card.cls1();
    if (record.RecCount() > 0 && card.mvarBkmk().isValid())
        record.setVarBkMk(card.mvarBkmk());
    AssgnValToCtrls(&card);
    EnabCmdBtns(&card, true);
    writeRecordCounter(&card);
}

} // namespace

void Filter(QWidget* frm)
{
    tovren::traced("modGenProcedures.Filter", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        if (tovren::activeCard().bEdit() && bytSavCanRec() == 2)
            return;
        frmAddress& card = cardFor(frm);
        records::Address& record = *card.cls1();
        QString none;
        if (!filterOn()) {
            // Normal: the card becomes a query form.
            card.rememberRecord(record.varBkMk());
            card.frmLetFilterTbrbtns();
            DisNoRecBtns(tovren::Mode::Filter);
            setModeLook(true, false);
            tovren::requireFrame().button(tovren::Cmd::AppFilter)->setEnabled(true);
            ControlClear(&card);
            tovren::requireFrame().setRecordCounter(QStringLiteral(" / "));
            announce("Query by form: type values to find");
        } else if (!applyOn()) {
            // The query form, left without applying.
            card.frmGetFilterTbrbtns();
            setModeLook(false, false);
            TbrMnuBtns(tovren::Group::AppFilter, false);
            ControlClear(&card);
            if (record.RecCount() <= 0)
                record.Filter(none);
            sPrintFilter.clear();
            announce("Query by form left");
            showKeptRecord(card);
        } else {
            // The applied filter ends on the record it shows.
            card.rememberRecord(record.varBkMk());
            record.Filter(none);
            sPrintFilter.clear();
            card.frmGetFilterTbrbtns();
            setModeLook(false, false);
            announce(kFilterRemoved);
            showKeptRecord(card);
        }
    });
}

void AppFilter(QWidget* frm)
{
    tovren::traced("modGenProcedures.AppFilter", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        frmAddress& card = cardFor(frm);
        records::Address& record = *card.cls1();
        if (filterOn() && !applyOn()) {
            bool ok = false;
            QString filter = typedFilter(card, ok);
            if (!ok)
                return;
            // A value the rows cannot compare (a word for a date) is told
            // plainly, and the query form stays as typed.
            if (const std::optional<QString> why = record.rs->refusal(filter, true)) {
                platform::MsgBox(QStringLiteral("The filter cannot be applied: %1.").arg(*why),
                                 platform::Buttons::OK, platform::Icon::Exclamation,
                                 QStringLiteral("Filter"));
                return;
            }
            record.Filter(filter);
            sPrintFilter = filter;
            if (record.RecCount() <= 0) {
                platform::MsgBox(QStringLiteral("No data available for the selected criteria(s)"),
                                 platform::Buttons::OK, platform::Icon::None,
                                 QStringLiteral("Filter"));
                return;
            }
            card.rememberRecord(record.varBkMk());
            announce("Filter applied");
            writeRecordCounter(&card);
            for (const tovren::Group group : {tovren::Group::Navigation, tovren::Group::Find,
                                              tovren::Group::Order, tovren::Group::Print})
                TbrMnuBtns(group, true);
            EnabCmdBtns(&card, true);
            setModeLook(true, true);
            AssgnValToCtrls(&card);
        } else if (filterOn() && applyOn()) {
            if (tovren::activeCard().bEdit() && bytSavCanRec() == 2)
                return;
            if (record.RecCount() > 0)
                card.rememberRecord(record.varBkMk());
            sPrintFilter.clear();
            QString none;
            record.Filter(none);
            card.frmGetFilterTbrbtns();
            setModeLook(false, false);
            tovren::requireFrame().button(tovren::Cmd::AppFilter)->setEnabled(false);
            tovren::requireFrame().menuItem(tovren::Cmd::AppFilter)->setEnabled(false);
            announce(kFilterRemoved);
            showKeptRecord(card);
        } else {
            AssgnValToCtrls(&card);
        }
    });
}

bool bChkStr(QLineEdit* ctrl)
{
    bool result = true;
    tovren::traced("modGenProcedures.bChkStr", {{"ctrl", "Control", tovren::objectArg(ctrl)}}, [&] {
        const QString text = ctrl->text();
        const auto refuse = [&](const QString& message) {
            refused(ctrl, message, platform::Icon::Critical, QStringLiteral("Filter"));
            result = false;
        };
        const QString illegal = QStringLiteral("Illegal characters are not allowed");
        if (text.contains(QStringLiteral("''")))
            refuse(illegal);
        if (text == QLatin1String("*"))
            refuse(illegal);
        if (text.size() == 2 && text.startsWith(QLatin1Char('*'))
            && text.endsWith(QLatin1Char('*')))
            refuse(illegal);
        if (text.startsWith(QLatin1Char('*')) && !text.endsWith(QLatin1Char('*')))
            refuse(QStringLiteral("If the filter string starts with '*' then it "
                                  "should terminate with a '*'"));
    });
    return result;
}

} // namespace modGenProcedures
