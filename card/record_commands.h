#pragma once
// The record commands of the card windows: add, save, cancel, delete and
// browse, with the save question. Together they run a card's edit states:
// empty, browsing, editing and adding.

#include <QtGlobal>

class QWidget;

namespace modGenProcedures {

void Add(QWidget* frm);
void Save(QWidget* frm);
void Cancel(QWidget* frm);
void Delete();
void FirstRec();
void PrevRec();
void NextRec();
void LastRec();
// Brings the card `frm` forward on the bookmarked contact, after the save
// question about what was typed on it.
void ShowRecord(QWidget* frm, const QVariant& bookmark);

// "Record has been changed. Do you want to save the changes?": Yes saves,
// No cancels (both give 0), Cancel gives 2. A save that is refused also
// gives 2: the caller stops and the card keeps what was typed.
quint8 bytSavCanRec();
// The same question about the card `frm`, active or not.
quint8 bytSavCanRec(QWidget* frm);

// The record counter of the main window: position, " / ", count.
void writeRecordCounter(QWidget* frm);
// The card of an empty book: its fields emptied and locked, or typing into
// them would lead nowhere; only New offered; the counter "No Records".
void showNoRecords(QWidget* frm);

} // namespace modGenProcedures
