#include "frame.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

namespace tovren {
namespace {

Frame*& slot()
{
    static Frame* current = nullptr;
    return current;
}

} // namespace

Frame* frame()
{
    return slot();
}

Frame& requireFrame()
{
    if (!slot())
        platform::raise(platform::err::ObjectNotSet,
                        QStringLiteral("The main window is not open."));
    return *slot();
}

void setFrame(Frame* frame)
{
    slot() = frame;
}

} // namespace tovren
