#pragma once
// The content lines of a vCard file: folded lines joined, the soft line
// breaks of quoted-printable joined, and each line taken apart into its
// name, parameters and value. Parameters come in both forms: 2.1's bare
// ones (TEL;WORK;FAX) and TYPE= lists, quoted or not.

#include <QString>
#include <QStringList>

#include <functional>

namespace interchange {

struct Property {
    QString name;      // in capitals, without its group (item1.TEL is TEL)
    QStringList types; // TYPE values and bare types, in capitals
    QString encoding;  // in capitals: QUOTED-PRINTABLE, BASE64, B
    QString charset;
    QString column; // X-TOVREN-COLUMN: the Tovren column a phone came from
    bool preferred = false;
    QString value; // as written, escapes and all
    qsizetype line = 0;
    qsizetype offset = 0;   // where its first line begins in the text, in characters
    bool tooLong = false;   // longer than kLongestLine: the value is cut short
    bool malformed = false; // no colon: no property at all
};

// Calls `take` with each content line of `text` in turn; blank lines are
// passed over.
void forEachProperty(QStringView text, qsizetype longest,
                     const std::function<void(const Property&)>& take);

} // namespace interchange
