#pragma once
// A contact on its way into or out of the address book, free of any file
// format: the Address table's columns by name, with the salutation and the
// religion as their texts rather than pick-list ids, and what could not be
// kept of it, with why, for the person to see before anything is written.

#include "records/address.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class QRegularExpression;

namespace interchange {

// The Address table's columns, in its order, as the record names them. A
// contact holds the pick lists' texts where the record keeps their ids
// (SalutationId, ReligionId). Dates hold the ISO form (1947-08-15) or
// nothing. The record layer writes "" for an empty text and Null for no
// date, so a contact knows no difference between the two.
using Column = records::Address::Fld;
constexpr int kColumnCount = int(Column::Count);

// The column's name in the Address table ("Salutation" and "Religion" for
// the two pick lists).
QLatin1StringView columnName(Column column);
// The column a name stands for, without regard to case; "Pincode" (the
// label query's spelling) included.
std::optional<Column> columnOfName(QStringView name);
// The longest text, in characters, that the card takes for the column;
// 0 for a date.
int columnWidth(Column column);
bool isDate(Column column);

struct Contact {
    std::array<QString, kColumnCount> values;
    // What could not be kept, and why, one sentence each.
    QStringList notes;

    QString& operator[](Column column) { return values[size_t(column)]; }
    const QString& operator[](Column column) const { return values[size_t(column)]; }

    // Who the contact is, for messages: its name, company or e-mail.
    QString label() const;
};

// Puts the lines of a street into Address1 to Address3; a fourth line and
// more join the third, after a comma.
void placeStreetLines(Contact& contact, QStringList lines);
// A line break as files write it: CR LF, CR or LF.
const QRegularExpression& lineBreaks();

// Puts `address` in EmlAddr when that is free; Tovren keeps one, so another
// is noted as left out.
void placeEmail(Contact& contact, const QString& address);

// The longest line (a vCard line unfolded, a CSV row) that is read; a
// longer one is left out and noted, so that no one value holds a reader up.
constexpr qsizetype kLongestLine = 100000;

// What a file gave: the contacts the record takes, each with its notes, and
// what was left out (whole contacts, stray lines, the file itself), one
// sentence each.
struct ContactsRead {
    std::vector<Contact> contacts;
    QStringList problems;
    // How the file's text was read (see text_decoding.h), for the summary:
    // a Windows-1252 file read by the fallback is worth a word.
    QString encoding;
};

} // namespace interchange
