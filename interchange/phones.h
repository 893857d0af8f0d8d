#pragma once
// Tovren keeps eight phone columns; contact files give any number of
// phones, each with types. The one mapping, for vCard TEL types, for
// spreadsheet columns and for the words of an export's labels alike:
//
//   FAX (work or home)        -> PhFax
//   PAGER                     -> PhPager
//   CELL, MOBILE, IPHONE      -> PhCell
//   WORK                      -> PhOff1, then PhOff2
//   HOME                      -> PhRes1, then PhRes2
//   no type, or another one   -> the first free of PhRes1, PhRes2,
//   (VOICE, MAIN, CAR, ...)      PhOff1, PhOff2
//
// A phone finding its columns taken is reported, not dropped silently. The
// office extension (PhExt) has no vCard type; it travels as the ext= of a
// tel: address or in X-TOVREN-EXTENSION.

#include "contact.h"

#include <QStringList>

namespace interchange {

enum class PhoneKind { Office, Residence, Cell, Fax, Pager, Other };

// The kind of a phone whose types are `types` (in capitals).
PhoneKind phoneKind(const QStringList& types);

// Puts `number` in the first free column of `kind` and returns it, or
// notes that none is free.
std::optional<Column> placePhone(Contact& contact, PhoneKind kind, const QString& number);

// Puts `number` where the labels an address book gave it say ("Mobile",
// "Work Fax", "Google Voice"), read word by word as types. Labels that name
// no kind Tovren keeps are noted with the column the number went to.
void placeLabelledPhone(Contact& contact, const QStringList& labels, const QString& number);

bool isPhone(Column column);
// The vCard types Tovren writes for a phone column, in capitals.
QStringList phoneTypes(Column column);

} // namespace interchange
