#pragma once
// The book's one change signal. Whatever writes contacts to the book from
// outside the windows that show them (an import, a merge or its undoing, a
// sync with a server) raises it once it has written; the card and the
// contacts list read the book again when it comes. Saves and deletes on the
// card, and its Refresh, need no signal: the list follows the card's rows.

#include <QObject>

namespace tovren {

class BookChanges : public QObject {
    Q_OBJECT
public:
    static BookChanges& instance();

Q_SIGNALS:
    void written();
};

// Tells the windows that the book was written.
void bookWritten();

} // namespace tovren
