#include "single_line_validator.h"

namespace tovren {

QValidator::State SingleLineValidator::validate(QString& input, int& pos) const
{
    QString clean;
    clean.reserve(input.size());
    int cursor = pos;
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        if (c == QLatin1Char('\r') && i + 1 < input.size() && input[i + 1] == QLatin1Char('\n')) {
            if (i < pos)
                --cursor; // a CR LF pair becomes one blank
            continue;
        }
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            clean += QLatin1Char(' ');
        else if (c.category() == QChar::Other_Control)
            cursor -= i < pos ? 1 : 0;
        else
            clean += c;
    }
    input = clean;
    pos = std::min(cursor, int(input.size()));
    return Acceptable;
}

} // namespace tovren
