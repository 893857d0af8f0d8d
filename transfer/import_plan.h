#pragma once
// What an import will do to the address book, decided before anything is
// written so that the person (or a script's --dry-run) sees it first:
// which contacts are added, which are already present and skipped, which
// the record refuses, and what could not be kept of each.
//
// A contact is already present when the book (or an earlier contact of the
// same import) holds one with the same name and e-mail address, compared
// without regard to case; a contact without a name is compared by its
// company instead. Salutations and religions are matched to their pick
// lists without regard to case; one the list lacks becomes a new entry when
// it fits the list's width, and is otherwise noted and left out.

#include "address_book.h"

#include "interchange/contact.h"

#include <QStringList>

#include <vector>

namespace transfer {

// One file's contacts as read, with the name it is reported by.
struct ContactFile {
    QString path;
    interchange::ContactsRead read;
};

// Reads each path; a folder gives its .vcf files, in name order.
std::vector<ContactFile> readContactFiles(const QStringList& paths);

struct PlannedContact {
    enum class Fate { Add, AlreadyPresent, Refused };
    interchange::Contact contact; // as it will be stored, its notes included
    QString file;
    Fate fate = Fate::Add;
    QString refusal; // why, for a refused contact
};

struct ImportPlan {
    std::vector<PlannedContact> contacts;
    // What the files lost as a whole (a file that cannot be read, a card cut
    // short), each prefixed with its file's name.
    QStringList problems;
    QStringList newSalutations;
    QStringList newReligions;

    int count(PlannedContact::Fate fate) const;
};

ImportPlan planImport(std::vector<ContactFile> files, AddressBook& book);

} // namespace transfer
