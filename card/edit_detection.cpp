#include "edit_detection.h"

#include "active_card.h"
#include "frmaddress.h"

#include "core/traced.h"
#include "core/toolbar_state.h"

#include <algorithm>

namespace modGenProcedures {

bool bChkKeys(int nKeyAsc)
{
    return tovren::traced("modGenProcedures.bChkKeys", {{"nKeyAsc", "Integer", nKeyAsc}}, [&] {
        static constexpr int kNoEdit[] = {9,   16,  17,  18,  19,  20,  27,  33,  34,  35,  36,
                                          37,  38,  39,  40,  42,  45,  112, 113, 114, 115, 116,
                                          117, 118, 119, 120, 121, 122, 123, 144, 145};
        return std::find(std::begin(kNoEdit), std::end(kNoEdit), nKeyAsc) == std::end(kNoEdit);
    });
}

void ChkShiftKeyVals(int nKeycode, int nshift)
{
    tovren::traced("modGenProcedures.ChkShiftKeyVals",
                   {{"nKeycode", "Integer", nKeycode}, {"nshift", "Integer", nshift}}, [&] {
                       if (nshift == 2 || nshift == 4)
                           return; // a shortcut
                       if (bChkKeys(nKeycode)) {
                           TbrMnuBtns(tovren::Group::Save, true);
                           tovren::activeCard().markChanged();
                       }
                   });
}

} // namespace modGenProcedures
