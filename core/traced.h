#pragma once
// The traced-procedure idiom. Every traced procedure of the program runs its
// body through traced():
//
//   void TbrMnuBtns(const QString& sBtnsGrps, bool bSwitch)
//   {
//       traced("modGenProcedures.TbrMnuBtns",
//              {{"sBtnsGrps", "String", sBtnsGrps}, {"bSwitch", "Boolean", bSwitch}}, [&] {
//           ...
//       });
//   }
//
// On entry the procedure's name is pushed and its arguments recorded; on
// every normal exit (a `return` inside the body included) it is popped. A
// run-time error ends the body and goes to the handler's HandleError; no Pop
// follows, because the handler empties the stack itself. The procedure then
// returns a default value and its caller carries on. A procedure whose error
// block does something else passes its own `onError`.

#include "platform/runtime_error.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <type_traits>

namespace tovren {

struct Arg {
    const char* name;
    const char* type;
    QVariant value;
};

// A procedure argument that is a window or other object.
QVariant objectArg(const QObject* object);

void enterProcedure(const char* name, std::initializer_list<Arg> args);
void leaveProcedure();
// Hands the error to the handler: description, number, line, empty message.
void handleError(const platform::RunTimeError& error);
// Any other exception becomes a run-time error with its own text.
platform::RunTimeError asRunTimeError(const std::exception& error);

using ErrorBlock = std::function<void(const platform::RunTimeError&)>;

template <typename Body>
auto traced(const char* name, std::initializer_list<Arg> args, Body&& body,
            const ErrorBlock& onError = handleError) -> std::invoke_result_t<Body>
{
    using Result = std::invoke_result_t<Body>;
    enterProcedure(name, args);
    try {
        if constexpr (std::is_void_v<Result>) {
            body();
            leaveProcedure();
            return;
        } else {
            Result result = body();
            leaveProcedure();
            return result;
        }
    } catch (const platform::RunTimeError& error) {
        onError(error);
    } catch (const std::exception& error) {
        onError(asRunTimeError(error));
    }
    if constexpr (!std::is_void_v<Result>)
        return Result{};
}

// A procedure that records no arguments.
template <typename Body>
auto traced(const char* name, Body&& body) -> std::invoke_result_t<Body>
{
    return traced(name, {}, std::forward<Body>(body));
}

} // namespace tovren
