#include "app_info.h"

#include "core/program.h"

#include <QCoreApplication>

namespace tovren {

Vostrel::AppDescriptor appDescriptor()
{
    return {QStringLiteral("Tovren"), QStringLiteral("Belvane"), 1, 0, 0,
            programFolder(),          QStringLiteral("Tovren")};
}

QString helpFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/TN.html");
}

} // namespace tovren
