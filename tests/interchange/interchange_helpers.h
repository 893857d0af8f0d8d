#pragma once
// What the interchange tests share: their sample files and a contact with
// every column filled.

#include "interchange/contact.h"

#include "support/test_helpers.h"

#include <QString>

namespace interchange_tests {

// The given columns of `contact`, joined by "|", to compare several at once.
inline QString fields(const interchange::Contact& contact,
                      std::initializer_list<interchange::Column> columns)
{
    QStringList values;
    for (const interchange::Column column : columns)
        values << contact[column];
    return values.join(QLatin1Char('|'));
}

// Every filled column of `contact` as "Column=value", joined by "|": the
// whole row compared at once, empty columns included by their absence.
inline QString filledColumns(const interchange::Contact& contact)
{
    QStringList values;
    for (int i = 0; i < interchange::kColumnCount; ++i) {
        if (!contact.values[size_t(i)].isEmpty())
            values << interchange::columnName(interchange::Column(i)) + QLatin1Char('=')
                          + contact.values[size_t(i)];
    }
    return values.join(QLatin1Char('|'));
}

inline QByteArray sample(const char* name)
{
    return testing_support::readBytes(
        QStringLiteral(TOVREN_SOURCE_DIR "/tests/interchange/samples/") + QLatin1String(name));
}

// Every column filled with what tries a writer: accents, a character beyond
// the basic plane, the characters vCard and CSV escape, and a Name long
// enough to be folded.
inline interchange::Contact everyColumn()
{
    using interchange::Column;
    interchange::Contact c;
    c[Column::SalutationId] = QStringLiteral("Smt.");
    c[Column::Name] = QStringLiteral("Ananyā Chaturvedi-Rāmaswāmy \U0001F600 Jr");
    c[Column::Company] = QStringLiteral("Rao, Iyer; \"Sons\" \\ Co.");
    c[Column::ReligionId] = QStringLiteral("Hindu");
    c[Column::Address1] = QStringLiteral("Flat 4, Sea View; Wing B");
    c[Column::Address2] = QString();
    c[Column::Address3] = QStringLiteral("Carter Road");
    c[Column::City] = QStringLiteral("Mumbai");
    c[Column::PinCode] = QStringLiteral("400050");
    c[Column::State] = QStringLiteral("Maharashtra");
    c[Column::Country] = QStringLiteral("India");
    c[Column::PhOff1] = QStringLiteral("022 2600 1234");
    c[Column::PhOff2] = QStringLiteral("022 2600 1235");
    c[Column::PhExt] = QStringLiteral("412");
    c[Column::PhFax] = QStringLiteral("022 2600 1299");
    c[Column::PhRes1] = QStringLiteral("022 2640 0001");
    c[Column::PhRes2] = QStringLiteral("022 2640 0002");
    c[Column::PhCell] = QStringLiteral("+91 98201 55555");
    c[Column::PhPager] = QStringLiteral("960 111 2222");
    c[Column::DtBirth] = QStringLiteral("1947-08-15");
    c[Column::DtMarriage] = QStringLiteral("1972-02-29");
    c[Column::DtJoining] = QStringLiteral("2001-04-01");
    c[Column::EmlAddr] = QStringLiteral("ananya@rao-iyer.example");
    return c;
}

} // namespace interchange_tests
