#include "search_commands.h"

#include "active_card.h"
#include "frmaddress.h"
#include "record_commands.h"

#include "core/field_helpers.h"
#include "core/frame.h"
#include "core/toolbar_state.h"
#include "core/traced.h"
#include "platform/input_box.h"
#include "platform/prompts.h"
#include "records/address.h"
#include "widgets/data_combo.h"

#include <QLineEdit>
#include <QLocale>

namespace modGenProcedures {
namespace {

// What Find keeps from one call to the next while the program runs: the
// last criterion, and the record to come back to when nothing is found.
QString sFindText;
QVariant vFindBkMk;

// "Column = 12" for a text that reads as a number, else
// "Column Like 'text'" (the text's apostrophes already doubled).
QString findCriterion(const QString& column, const QString& text)
{
    bool number = false;
    QLocale().toDouble(text, &number);
    if (!number)
        QLocale::c().toDouble(text, &number);
    if (number)
        return column + QStringLiteral(" = ") + text;
    return column + QStringLiteral(" Like '") + text + QLatin1Char('\'');
}

// Asks for the value to find in `field`, again while it holds "**"; the
// answer with its apostrophes doubled, "" when the person cancelled.
QString askFindText(QWidget& field)
{
    while (true) {
        const auto* combo = qobject_cast<const widgets::DataCombo*>(&field);
        const auto* box = qobject_cast<const QLineEdit*>(&field);
        QString text = platform::InputBox(QStringLiteral("Find values containing:"),
                                          QStringLiteral("Searching ") + field.toolTip(),
                                          combo ? combo->BoundText()
                                          : box ? box->text()
                                                : QString());
        text.replace(QLatin1Char('\''), QStringLiteral("''"));
        if (!text.contains(QStringLiteral("**")))
            return text;
        platform::MsgBox(QStringLiteral(" ** is Illegal character."), platform::Buttons::OK,
                         platform::Icon::Critical, QStringLiteral("Find"));
    }
}

// Whether the rows can answer `criteria`; when not (a number for a date,
// a word for a number) the person is told plainly, naming the field and
// the value, and nothing moves.
bool answerable(records::Address& record, const QString& criteria, const QWidget& field,
                const QString& value)
{
    const std::optional<QString> refusal = record.rs->refusal(criteria);
    if (refusal)
        platform::MsgBox(QStringLiteral("'%1' cannot be looked for in %2: %3.")
                             .arg(value, field.toolTip(), *refusal),
                         platform::Buttons::OK, platform::Icon::Exclamation,
                         QStringLiteral("Find"));
    return !refusal;
}

} // namespace

void Find(QWidget* frm, QString Direction)
{
    tovren::traced(
        "modGenProcedures.Find",
        {{"frm", "Form", tovren::objectArg(frm)}, {"Direction", "String", Direction}}, [&] {
            frmAddress& active = tovren::activeCard();
            if (active.bEdit() && bytSavCanRec() == 2)
                return;
            records::Address& record = *active.cls1();
            if (record.isBOF() || !record.isEOF())
                vFindBkMk = record.varBkMk();
            else if (vFindBkMk.isValid())
                record.setVarBkMk(vFindBkMk);
            records::Address& searched = *tovren::cardOf(frm).cls1();
            if (Direction == QLatin1String("First")) {
                QWidget* field = tovren::focusedField(active);
                // With the focus on no field there is no column to search.
                if (!tovren::requireField(field, "search, then find again", "Find"))
                    return;
                const QString value = askFindText(*field);
                sFindText =
                    value.isEmpty() ? value : findCriterion(tovren::dataFieldOf(*field), value);
                if (sFindText.isEmpty() || !answerable(searched, sFindText, *field, value)) {
                    sFindText.clear();
                    return;
                }
                qint32 skip = 0;
                qint32 direction = data::adSearchForward;
                QVariant start(data::adBookmarkFirst);
                searched.Find(sFindText, skip, direction, start);
            } else if (Direction == QLatin1String("Next") || Direction == QLatin1String("Prev")) {
                if (sFindText.isEmpty())
                    return;
                qint32 skip = 1;
                qint32 direction = Direction == QLatin1String("Next") ? data::adSearchForward
                                                                      : data::adSearchBackward;
                QVariant current;
                searched.Find(sFindText, skip, direction, current);
            }
            if (record.isBOF() || record.isEOF()) {
                record.setVarBkMk(vFindBkMk);
                platform::MsgBox(QStringLiteral("Search Completed."));
            }
            AssgnValToCtrls(&active);
            writeRecordCounter(&active);
        });
}

void sort(QString sOrder)
{
    tovren::traced("modGenProcedures.sort", {{"sOrder", "String", sOrder}}, [&] {
        frmAddress& active = tovren::activeCard();
        QWidget* field = tovren::focusedField(active);
        // A button or the window itself has no column to order by.
        if (!tovren::requireField(field, "sort on, then sort again", "Sort"))
            return;
        if (active.bEdit() && bytSavCanRec() == 2)
            return;
        active.cls1()->sort(tovren::dataFieldOf(*field), sOrder);
        AssgnValToCtrls(&active);
        writeRecordCounter(&active);
    });
}

void Refresh(QWidget* frm)
{
    tovren::traced("modGenProcedures.Refresh", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        frmAddress& card = tovren::cardOf(frm);
        card.cls1()->Refresh();
        AssgnValToCtrls(frm);
        TbrMnuBtns(tovren::Group::Save, false);
        // A book emptied by another program: as after deleting the last
        // record.
        card.cls1()->RecCount() > 0 ? writeRecordCounter(frm) : showNoRecords(frm);
    });
}

} // namespace modGenProcedures
