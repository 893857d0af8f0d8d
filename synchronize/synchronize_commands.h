#pragma once
// Tools, Synchronize: the book synced with the address book on the CardDAV
// server of the [Sync] settings, through the same synchronizer as
// tovren-book sync; a progress window with Cancel, a summary after, and the
// contacts both sides changed offered for the person's choice. Tools, Sync
// Conflicts shows that choice again later.

namespace modGenProcedures {

void Synchronize();
void SyncConflicts();

} // namespace modGenProcedures
