#include "app_info.h"

#include "core/program.h"
#include "core/program_folders.h"

namespace tovren {

Vostrel::AppDescriptor appDescriptor()
{
    return {QStringLiteral("Tovren"), QStringLiteral("Belvane"), 1, 0, 0,
            programFolder(),          QStringLiteral("Tovren")};
}

QString helpFilePath()
{
    return sharedFilesFolder() + QStringLiteral("/TN.html");
}

} // namespace tovren
