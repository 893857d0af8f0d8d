#pragma once
// Files that hold people's contacts (the address book, Address.ini, the
// logs) are created readable by their owner only; a file the person already
// has keeps the permissions they gave it.

#include <QFileDevice>

class QSaveFile;

namespace platform {

inline constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Opens `file` for writing; a file it makes anew is its owner's only.
bool openOwnerOnly(QSaveFile& file);

} // namespace platform
