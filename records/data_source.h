#pragma once
// DataSource: the recordset wrapper behind the contact record. It works on
// the recordset that Address opened and disconnected, so both see the same
// position, filter and sort; it connects only to save, delete or re-read.

#include "recordset_wrapper.h"

#include <QString>
#include <QVariant>

namespace records {

// What the person is told when the book took nothing because a row was
// changed or deleted by someone else since it was read, then `whatHappened`.
QString changedElsewhereMessage(const QString& whatHappened);

class DataSource : public RecordsetWrapper {
public:
    DataSource();

    // Completes the edit of the current row and sends every pending change.
    void Save();
    // Discards the edit of the current row.
    void Cancel();
    // Asks, then deletes the current row in the database; the row before it
    // (or the new first row) becomes current.
    void Delete();
    // Moves to the next row that meets `Criteria` (one comparison); an empty
    // `Start` searches from the current row. The caller reads EOF (forward)
    // or BOF (backward) to learn whether a row was found.
    void Find(QString& Criteria, qint32& SkipRecords, qint32& SearchDirection, QVariant& Start);
    // Re-reads every row and returns to the current one, or to the first row
    // when the current one is gone.
    void Refresh();
    // "" shows every row. A filter with " OR " comes back in `sFilter`
    // upper-cased and rewritten as an OR of parenthesised AND-groups; one
    // whose groups would run into the hundreds comes back as an AND of
    // parenthesised OR-groups, which means the same.
    void Filter(QString& sFilter);
    void sort(QString sFld, QString sDirection);

private:
    QString AndsOrs(QString sIP);
    enum class Submitted { Sent, Kept, Refused };
    // Connects, sends every pending change and disconnects. When another
    // program holds the book, the user is told (`whenBusy` after the reason)
    // and the changes stay pending; so they do in a book that may only be
    // read (`whenReadOnly`). When a row was changed or deleted by someone
    // else since it was read, the user is told (`whatHappened` in a box
    // titled `title`), the changes are dropped and the rows are read again.
    Submitted submit(const QString& title, const QString& whatHappened, const QString& whenBusy,
                     const QString& whenReadOnly);
};

} // namespace records
