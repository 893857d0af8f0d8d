#include "book_changes.h"

namespace tovren {

BookChanges& BookChanges::instance()
{
    static BookChanges changes;
    return changes;
}

void bookWritten()
{
    Q_EMIT BookChanges::instance().written();
}

} // namespace tovren
