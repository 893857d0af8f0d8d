#pragma once
// Tools, Import Contacts and Export Contacts: contacts between files and
// the address book for the person at the program, with the engines the
// command-line tool uses. Every failure is told here in a message, never
// in the error report, since a bad file or a busy book is the person's
// everyday trouble, not the program's fault.

#include <functional>

class QString;

namespace modGenProcedures {

// Asks for a vCard or CSV file, shows what importing it would do, and
// writes only when the person confirms; the open card then shows the
// new contacts.
void ImportContacts();
// The same for a file given without the file dialog (the file the program
// was started with, as a desktop's "Open With" gives it).
void ImportContactsFrom(const QString& path);
// Asks for a file and a format and writes the card's selection (its
// applied filter and sort) or, without the card, every contact.
void ExportContacts();

// A card that holds typed values (a contact being added or changed, or a
// filter being entered) would lose them to a refresh: tells the person,
// under `title`, to finish it before `doing` ("importing contacts").
bool cardIsBusy(const QString& title, const QString& doing);
// The open card reads the book again after contacts were written elsewhere
// (on the book's change signal).
void showBookChanged();
// Runs `work`, telling any failure or cancel under `title` with `what` ("No
// contacts were imported."), so that the person knows nothing happened; a
// row someone else changed meanwhile is told as the card tells it. False
// when `work` did not end.
bool toldOnFailure(const QString& title, const QString& what, const std::function<void()>& work);

} // namespace modGenProcedures
