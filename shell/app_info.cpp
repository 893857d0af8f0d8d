#include "app_info.h"

#include "core/program.h"
#include "core/program_folders.h"

#include <QVersionNumber>

namespace tovren {

Vostrel::AppDescriptor appDescriptor()
{
    // The version is the build's (CMake's project()), the one the package
    // and the desktop metadata carry, so a report names what is installed.
    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(TOVREN_VERSION));
    return {QStringLiteral("Tovren"),
            QStringLiteral("Belvane"),
            static_cast<qint16>(version.majorVersion()),
            static_cast<qint16>(version.minorVersion()),
            static_cast<qint16>(version.microVersion()),
            programFolder(),
            QStringLiteral("Tovren")};
}

QString helpFilePath()
{
    return sharedFilesFolder() + QStringLiteral("/TN.html");
}

} // namespace tovren
