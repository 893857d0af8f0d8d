#include "component.h"

#include "err_handler.h"

namespace Vostrel {

std::unique_ptr<clsErrHandler> ComponentFactory::createErrHandler()
{
    return std::make_unique<ErrHandler>();
}

} // namespace Vostrel
