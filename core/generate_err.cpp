#include "generate_err.h"

#include "database_path.h"
#include "traced.h"

#include "platform/error_numbers.h"
#include "platform/program_end.h"
#include "platform/prompts.h"

namespace modGenProcedures {

quint8 GenerateErr(const platform::RunTimeError& error)
{
    return tovren::traced("modGenProcedures.GenerateErr", [&]() -> quint8 {
        switch (error.number()) {
        case platform::err::Unspecified:
            if (!tovren::askToSelectDatabase())
                platform::endProgram();
            return kErrDatabasePath;
        case platform::err::BadBookmark:
            return kErrRetry;
        case platform::err::DatabaseBusy:
            // The book is there, only held by another program for now.
            platform::MsgBox(error.description() + QStringLiteral(" Try again in a moment."),
                             platform::Buttons::OK, platform::Icon::Exclamation);
            return kErrReturn;
        case platform::err::ReadOnlyBook:
            // The book is there and nothing was written: asking for another
            // book would be wrong, and the caller's message already said why.
            return kErrReturn;
        case platform::err::FindWithoutField:
            platform::MsgBox(QStringLiteral("Select the field to find."), platform::Buttons::OK,
                             platform::Icon::Critical, QStringLiteral("Find"));
            return kErrReturn;
        default:
            return kErrEnd;
        }
    });
}

} // namespace modGenProcedures
