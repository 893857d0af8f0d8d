#pragma once
// Criteria for finding and filtering rows, parsed by our own parser and
// evaluated in memory; a criterion never reaches the database as SQL.
//
//   criteria   := or-group
//   or-group   := and-group { OR and-group }
//   and-group  := operand { AND operand }
//   operand    := "(" or-group ")" | comparison
//   comparison := column operator value
//   column     := name | "[" name "]"                  (any letter case)
//   operator   := = | <> | < | > | <= | >= | LIKE
//   value      := 'text' ('' for a quote) | #date or text# | number | NULL
//
// Keywords may be written in any case. Texts compare without regard to
// letter case in every script. LIKE takes "*" or "%" at the end of the
// pattern, or at both ends. A column compared with NULL by = or <> tests
// for a missing value. A malformed text raises a run-time error (3001)
// whose description says what is wrong and where.

#include <QString>

#include <memory>

namespace data {

class RecordStore;
struct CriteriaNode;

class Criteria {
public:
    // A filter: comparisons joined by AND and OR, grouped by parentheses.
    static Criteria filter(const QString& text, const RecordStore& store);
    // A search: exactly one comparison.
    static Criteria search(const QString& text, const RecordStore& store);

    Criteria(Criteria&&) noexcept;
    Criteria& operator=(Criteria&&) noexcept;
    ~Criteria();

    bool matches(const RecordStore& store, int row) const;

private:
    explicit Criteria(std::unique_ptr<CriteriaNode> root);
    std::unique_ptr<CriteriaNode> m_root;
};

// The error number of a malformed criterion, filter or sort text.
constexpr qint32 kInvalidArgument = 3001;

} // namespace data
