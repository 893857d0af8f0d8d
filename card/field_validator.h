#pragma once
// What a card field holds: one line of at most so many whole characters.
// Line breaks and tabs that arrive with pasted text become blanks, other
// control characters and half characters are dropped, and text beyond the
// limit is cut from what was just put in, never inside a character.

#include <QValidator>

class QLineEdit;

namespace tovren {

class FieldValidator : public QValidator {
    Q_OBJECT
public:
    // `maxCharacters` 0: no limit.
    explicit FieldValidator(int maxCharacters, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;
    int maxCharacters() const { return m_maxCharacters; }

private:
    int m_maxCharacters;
};

// The number of characters `field` takes: its validator's limit, else its
// own maximum length.
int characterLimit(const QLineEdit& field);

} // namespace tovren
