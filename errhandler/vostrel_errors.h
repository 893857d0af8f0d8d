#pragma once
// The error numbers and texts that Vostrel itself raises or returns. Numbers
// from the object-error base up are the component's own; the small ones
// keep the values of the language errors they stand for.

#include "platform/error_numbers.h"

#include <QString>

namespace Vostrel::err {

constexpr qint32 SubscriptOutOfRange = 9; // AddParam with no procedure on the stack
constexpr qint32 ShellNoAssociation = 31; // the desktop would not open a link
constexpr qint32 ShellSuccess = 42;       // what the shell returns for an opened link
constexpr qint32 ObjectNotSet =
    platform::err::ObjectNotSet; // a descriptor was needed but none was set
constexpr qint32 MissingEmailAddress = platform::err::ObjectErrorBase + 1000;
constexpr qint32 InvalidConnection = platform::err::ObjectErrorBase + 1001;
constexpr qint32 ConnectionNotOpen = platform::err::ObjectErrorBase + 1002;

inline QString source()
{
    return QStringLiteral("Vostrel");
}

} // namespace Vostrel::err
