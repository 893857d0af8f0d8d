#pragma once
// A card field holds one line: line breaks and tabs that arrive with pasted
// text become blanks, other control characters are dropped, and the rest of
// the text is kept as it was.

#include <QValidator>

namespace tovren {

class SingleLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace tovren
