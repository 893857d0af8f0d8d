#include "active_card.h"

#include "frmaddress.h"

#include "core/active_control.h"
#include "core/frame.h"
#include "platform/error_numbers.h"
#include "platform/prompts.h"
#include "platform/runtime_error.h"
#include "widgets/data_combo.h"

#include <QApplication>

namespace tovren {

frmAddress& activeCard()
{
    tovren::Frame* main = tovren::frame();
    return cardOf(main ? main->ActiveForm() : nullptr);
}

frmAddress& cardOf(QWidget* frm)
{
    auto* card = qobject_cast<frmAddress*>(frm);
    if (!card)
        platform::raise(platform::err::ObjectNotSet, QStringLiteral("No address card is open."));
    return *card;
}

QWidget* focusedField(const frmAddress& card)
{
    QWidget* focused = controlOf(QApplication::focusWidget());
    if (!focused || !card.isAncestorOf(focused) || dataFieldOf(*focused).isEmpty())
        return nullptr;
    return focused;
}

bool requireField(const QWidget* field, const char* toDo, const char* title)
{
    if (!field)
        platform::MsgBox(
            QStringLiteral("Put the cursor in the field to %1.").arg(QLatin1String(toDo)),
            platform::Buttons::OK, platform::Icon::Information, QLatin1String(title));
    return field;
}

QString dataFieldOf(const QWidget& field)
{
    if (const auto* combo = qobject_cast<const widgets::DataCombo*>(&field))
        return combo->DataField();
    return field.property("DataField").toString();
}

} // namespace tovren
