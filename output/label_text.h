#pragma once
// What one address label says: salutation and name, company, the address
// lines, city and pincode, state and country, each line a paragraph.

#include <QString>

namespace data {
class Recordset;
}

namespace output {

// The label of the current row of a recordset over qryLabel.
QString labelText(const data::Recordset& rs);

} // namespace output
