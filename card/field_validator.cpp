#include "field_validator.h"

#include "platform/characters.h"

#include <QLineEdit>

namespace tovren {

FieldValidator::FieldValidator(int maxCharacters, QObject* parent)
    : QValidator(parent), m_maxCharacters(maxCharacters)
{}

QValidator::State FieldValidator::validate(QString& input, int& pos) const
{
    QString clean;
    clean.reserve(input.size());
    int cursor = pos;
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        if (c.isHighSurrogate() && i + 1 < input.size() && input[i + 1].isLowSurrogate()) {
            clean += c;
            clean += input[++i];
        } else if (c == QLatin1Char('\r') && i + 1 < input.size()
                   && input[i + 1] == QLatin1Char('\n')) {
            if (i < pos)
                --cursor; // a CR LF pair becomes one blank
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t')) {
            clean += QLatin1Char(' ');
        } else if (c.category() == QChar::Other_Control || c.isSurrogate()) {
            cursor -= i < pos ? 1 : 0;
        } else {
            clean += c;
        }
    }
    cursor = std::min(cursor, int(clean.size()));
    if (m_maxCharacters > 0 && platform::characterCount(clean) > m_maxCharacters) {
        // What was just typed or pasted ends at the cursor: its end gives way.
        const QString after = clean.mid(cursor);
        const qsizetype room =
            std::max<qsizetype>(0, m_maxCharacters - platform::characterCount(after));
        const QString kept = platform::leftCharacters(QStringView(clean).left(cursor), room);
        clean = platform::leftCharacters(QString(kept + after), m_maxCharacters);
        cursor = int(std::min(kept.size(), clean.size()));
    }
    input = clean;
    pos = cursor;
    return Acceptable;
}

int characterLimit(const QLineEdit& field)
{
    const auto* validator = qobject_cast<const FieldValidator*>(field.validator());
    return validator && validator->maxCharacters() > 0 ? validator->maxCharacters()
                                                       : field.maxLength();
}

} // namespace tovren
