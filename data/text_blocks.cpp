#include "text_blocks.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QString>

namespace data {

void tooMuchText()
{
    platform::raise(platform::err::OutOfMemory,
                    QStringLiteral("A column of the address book holds more text than the "
                                   "program can keep in memory."));
}

} // namespace data
