#include "database_path.h"

#include "platform/prompts.h"

namespace tovren {

bool askToSelectDatabase()
{
    return platform::MsgBox(
               QStringLiteral("Database path not found.\r\nSelect the database path first to "
                              "login.Press Ok to select the database, else press Cancel to exit"),
               platform::Buttons::OKCancel, platform::Icon::Critical,
               QStringLiteral("Database Path"))
           == platform::Answer::OK;
}

} // namespace tovren
