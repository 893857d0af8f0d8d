#include "active_card.h"

#include "frmaddress.h"

#include "core/frame.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

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

} // namespace tovren
