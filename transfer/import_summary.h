#pragma once
// The plan of an import told in words, the same for the person and for a
// script: three count lines that always come first, in this order,
//   To add: N
//   Already present: N
//   Refused: N
// then, only when there is something to say, sections headed "New
// salutations:", "New religions:", "File problems:", "Already present,
// skipped:", "Refused:" and "Not kept:", one indented line an item.

#include "import_plan.h"

namespace transfer {

QString importSummary(const ImportPlan& plan);

} // namespace transfer
