#include "bench_interchange.h"

std::vector<interchange::Contact> benchContacts(int count)
{
    using interchange::Column;
    std::vector<interchange::Contact> book(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        interchange::Contact& c = book[size_t(i)];
        const QString n = QString::number(i);
        c[Column::SalutationId] = QStringLiteral("Shri");
        c[Column::Name] = QStringLiteral("Rāmesh Kumar ") + n;
        c[Column::Company] = QStringLiteral("Vastu Traders, Unit ") + n;
        c[Column::ReligionId] = QStringLiteral("Hindu");
        c[Column::Address1] = QStringLiteral("Flat ") + n + QStringLiteral(", Sea View");
        c[Column::Address2] = QStringLiteral("Carter Road");
        c[Column::City] = QStringLiteral("Mumbai");
        c[Column::PinCode] = QStringLiteral("400050");
        c[Column::State] = QStringLiteral("Maharashtra");
        c[Column::Country] = QStringLiteral("India");
        for (Column phone : {Column::PhOff1, Column::PhOff2, Column::PhFax, Column::PhRes1,
                             Column::PhRes2, Column::PhCell, Column::PhPager})
            c[phone] = QStringLiteral("022 ") + n.rightJustified(8, QLatin1Char('0'));
        c[Column::PhExt] = QStringLiteral("412");
        c[Column::DtBirth] = QStringLiteral("1947-08-15");
        c[Column::DtMarriage] = QStringLiteral("1972-02-29");
        c[Column::DtJoining] = QStringLiteral("2001-04-01");
        c[Column::EmlAddr] = QStringLiteral("ramesh") + n + QStringLiteral("@example.in");
    }
    return book;
}
