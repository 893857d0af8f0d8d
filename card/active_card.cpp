#include "active_card.h"

#include "frmaddress.h"

#include "core/frame.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

namespace tovren {

frmAddress& activeCard()
{
    tovren::Frame* main = tovren::frame();
    auto* card = main ? qobject_cast<frmAddress*>(main->ActiveForm()) : nullptr;
    if (!card)
        platform::raise(platform::err::ObjectNotSet, QStringLiteral("No address card is open."));
    return *card;
}

} // namespace tovren
