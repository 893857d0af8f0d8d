#pragma once
// What the search box of the contacts list asks for: every typed word
// somewhere in a contact's name, company, city, phone or e-mail, in any
// order, without regard to case or accents. A word of digits (with spaces,
// dashes, dots, brackets or a plus between) also matches the digits of a
// phone number however they are written. Every character stands for
// itself: quotes, `*`, `%` and `_` are looked for as they are typed.

#include "data/text_key.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace tovren {

class ContactSearch {
public:
    explicit ContactSearch(QStringView text = {});

    bool isEmpty() const { return m_words.empty(); }
    // Whether the keys `keyAt(0)` .. `keyAt(count - 1)` hold every word,
    // those from `firstPhone` on being phone numbers. Keys are asked for
    // only until a word is found.
    template <typename KeyAt>
    bool matches(int count, int firstPhone, const KeyAt& keyAt) const
    {
        for (const Word& word : m_words) {
            bool found = false;
            for (int i = 0; i < count && !found; ++i) {
                const data::KeyView key = keyAt(i);
                found = data::contains(key, word.key)
                        || (i >= firstPhone && !word.digits.isEmpty()
                            && digitsContain(key, word.digits));
            }
            if (!found)
                return false;
        }
        return true;
    }

private:
    struct Word {
        QString key;    // the word folded as the stored keys are
        QString digits; // its digits, when it is a phone number's
    };
    static bool digitsContain(const data::KeyView& key, QStringView digits);

    std::vector<Word> m_words;
};

} // namespace tovren
