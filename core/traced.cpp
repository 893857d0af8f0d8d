#include "traced.h"

#include "error_handler.h"

#include "platform/error_numbers.h"

namespace tovren {

QVariant objectArg(const QObject* object)
{
    return QVariant::fromValue(const_cast<QObject*>(object));
}

void enterProcedure(const char* name, std::initializer_list<Arg> args)
{
    Vostrel::clsErrHandler& handler = errHandler();
    handler.Push(QString::fromLatin1(name));
    for (const Arg& arg : args)
        handler.AddParam(QString::fromLatin1(arg.name), QString::fromLatin1(arg.type), arg.value);
}

void leaveProcedure()
{
    errHandler().Pop();
}

void handleError(const platform::RunTimeError& error)
{
    errHandler().HandleError(error.description(), error.number(), error.line(), QString());
}

platform::RunTimeError asRunTimeError(const std::exception& error)
{
    return platform::RunTimeError(platform::err::InternalError,
                                  QString::fromLocal8Bit(error.what()));
}

} // namespace tovren
