#pragma once
// The keys that join contacts that look like one person entered twice,
// read from an Address recordset's stored rows in place: the e-mail
// address without regard to case, a phone's digits, and the name's words
// folded as the card compares texts (case and accents set aside) in sorted
// order, so that "Émile  Zola" and "zola, emile" meet. The values and the
// names' keys are read where the store keeps them; nothing is built for a
// row but its key.

#include "data/recordset.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace transfer {

// Each rule's keys meet only keys of the same rule: a phone never meets a name.
enum class DuplicateRule { Email, Phone, Name };
inline constexpr DuplicateRule kDuplicateRules[] = {DuplicateRule::Email, DuplicateRule::Phone,
                                                    DuplicateRule::Name};

class DuplicateKeys {
public:
    // The most columns a rule reads: the seven phones.
    static constexpr int kMostColumns = 7;

    explicit DuplicateKeys(const data::Recordset& addresses);

    // How many columns `rule` reads.
    static int columnCount(DuplicateRule rule);
    // The key of the rule's column `which` of stored row `row` in `out`;
    // false when that value makes none (empty, or a phone too short).
    bool key(DuplicateRule rule, int row, int which, std::u16string& out);

private:
    bool nameKey(int row, std::u16string& out);

    const data::RecordStore& m_store;
    int m_email;
    std::array<int, kMostColumns> m_phones;
    int m_name;
    // The name being read: its key, and its words in it.
    std::u16string m_key;
    std::vector<std::u16string_view> m_words;
};

} // namespace transfer
