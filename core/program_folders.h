#pragma once
// Where the program stands, and the rule that chooses where it keeps the
// person's files.
//
// An executable in the configured bin folder (or tovren-book-records in the
// private folder beside it) is installed: its parts are found in the
// installed layout, and the person's files go to their own folders
// ($XDG_CONFIG_HOME/tovren for Address.ini, $XDG_DATA_HOME/tovren for the
// book, $XDG_STATE_HOME/tovren for the logs), whoever runs it, so that no
// file is ever created under the installation; an Address.ini already beside
// it is still read. Anywhere else (the build tree, a copy in a folder of its
// own) the folder of the executable holds everything when it holds an
// Address.ini or may be written, else the person's own folders do.
// --home or TOVREN_HOME names one folder for everything and wins over all.

#include <QString>

namespace tovren {

// The folder of the program's private parts (Vostrel, tovren-book-records)
// and the one of its shared files (the help, the book template): beside the
// executable unless it is installed.
QString privatePartsFolder();
QString sharedFilesFolder();

// Chooses the program's folders for `home` (--home; when empty,
// TOVREN_HOME). The person's own folders are made when missing, readable by
// their owner only, and a person without a book yet gets a copy of the
// template. Empty, or what went wrong: a named folder that is missing, or
// one of the person's folders that could not be made.
QString settleProgramFolders(const QString& home);
// The same for an executable in the folder `executable`, which may be
// written or not.
QString settleProgramFolders(const QString& home, const QString& executable, bool writable);

} // namespace tovren
