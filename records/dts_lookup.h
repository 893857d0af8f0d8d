#pragma once
// DtsLookUp: the recordset wrapper behind a pick list. Unlike DataSource it
// keeps additions, changes and deletions pending in memory until Save sends
// them all at once; Cancel drops them all.

#include "recordset_wrapper.h"

#include <functional>

namespace records {

class DtsLookUp : public RecordsetWrapper {
public:
    DtsLookUp();

    // Completes the edit of the current row in memory.
    void Update();
    // Discards the edit of the current row.
    void CancelUpdate();
    // Connects, sends every pending change and disconnects.
    void Save();
    // Drops every pending change.
    void Cancel();
    // Asks, then deletes the current row in memory; the row before it (or
    // the new first row) becomes current.
    void Del();

private:
    // Runs one batch step. A failure is shown as "DataSource Class <what> "
    // with its number and description, then classified: a bad bookmark
    // tries the step again, anything else ends the step.
    void batchStep(const char* what, const std::function<void()>& step);
};

} // namespace records
