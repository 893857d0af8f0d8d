#include "thread_state.h"

namespace Vostrel {

StackParams& stackParams()
{
    thread_local StackParams params;
    return params;
}

MailSettings& mailSettings()
{
    thread_local MailSettings settings;
    return settings;
}

} // namespace Vostrel
