#include "owner_only.h"

#include <QFileInfo>
#include <QSaveFile>

namespace platform {

bool openOwnerOnly(QSaveFile& file)
{
    const bool fresh = !QFileInfo::exists(file.fileName());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The text is written aside first: the permission goes with it when it
    // takes the file's place.
    if (fresh)
        file.setPermissions(kOwnerOnly);
    return true;
}

} // namespace platform
