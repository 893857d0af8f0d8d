#include "conflicts.h"

#include "stored_card.h"

namespace tovren::sync {

std::vector<Conflict> conflicts(SyncedBook& book)
{
    std::vector<Conflict> found;
    for (const auto& [id, state] : book.states()) {
        if (state.mine.isEmpty())
            continue;
        const auto row = book.contact(id);
        const auto mine = storedForm(state.mine);
        if (row && mine)
            found.push_back({id, *row, *mine});
    }
    return found;
}

void choose(SyncedBook& book, qint64 id, bool keepMine)
{
    const CardState* state = book.stateOf(id);
    if (!state || state->mine.isEmpty())
        return;
    CardState settled = *state;
    settled.mine.clear();
    SyncedBook::Batch batch(book);
    if (keepMine) {
        if (const auto mine = storedForm(state->mine))
            batch.update(id, *mine);
    }
    batch.putState(settled);
    batch.commit();
}

} // namespace tovren::sync
