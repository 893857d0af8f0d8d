#pragma once
// Profile files (the "[Section]" / "key=value" configuration format) with
// the semantics the program relies on: a section is read whole, entry by
// entry in file order; writing keys changes only their lines and keeps
// every other line, byte for byte, as it was.

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace platform {

// The entries of `section` (matched without regard to case) in file order,
// each trimmed; blank lines and ";" comments are left out. An absent file or
// section gives an empty list.
QStringList readProfileSection(const QString& fileName, const QString& section);

// The value of `key` in `section`, or a null string when it is absent.
QString readProfileString(const QString& fileName, const QString& section, const QString& key);

// Sets `key` = `value` in `section`, creating the file, the section or the
// key as needed; a new file is its owner's only. Returns false when the
// file could not be written.
bool writeProfileString(const QString& fileName, const QString& section, const QString& key,
                        const QString& value);

// Keys and their values, in the order they are written.
using ProfileEntries = QList<std::pair<QString, QString>>;

// The same for several keys of one section, set in order, the file read and
// replaced once: a reader sees all of them or none.
bool writeProfileStrings(const QString& fileName, const QString& section,
                         const ProfileEntries& entries);

} // namespace platform
