// tovren-interchange-bench [N]: times contact interchange without a
// database: reading 10000 vCards and writing N contacts (100000 by
// default) as vCard 3.0 and as CSV into a temporary file. It prints one line per operation, as
// tovren-bench does: its name, a blank and milliseconds.

#include "interchange/contacts_file.h"
#include "interchange/csv_writer.h"
#include "interchange/vcard_writer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

void time(const char* name, const std::function<void()>& operation)
{
    QElapsedTimer timer;
    timer.start();
    operation();
    std::printf("%s %.1f\n", name, double(timer.nsecsElapsed()) / 1e6);
    std::fflush(stdout);
}

// Contacts as a full book holds them: every column filled, no two alike.
std::vector<interchange::Contact> contacts(int count)
{
    using interchange::Column;
    std::vector<interchange::Contact> book(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        interchange::Contact& c = book[size_t(i)];
        const QString n = QString::number(i);
        c[Column::Salutation] = QStringLiteral("Shri");
        c[Column::Name] = QStringLiteral("Rāmesh Kumar ") + n;
        c[Column::Company] = QStringLiteral("Vastu Traders, Unit ") + n;
        c[Column::Religion] = QStringLiteral("Hindu");
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::vector<interchange::Contact> book = contacts(std::max(count, 10000));

    QByteArray cards;
    for (size_t i = 0; i < 10000; ++i)
        cards += interchange::vCard(book[i], interchange::VCardVersion::V3);
    size_t read = 0;
    time("read_10000_vcards", [&] { read = interchange::readContacts(cards).contacts.size(); });

    // Written to a file, as an export writes them.
    QTemporaryDir dir;
    QFile out(dir.filePath(QStringLiteral("export")));
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    time("write_vcard3", [&] {
        for (int i = 0; i < count; ++i)
            out.write(interchange::vCard(book[size_t(i)], interchange::VCardVersion::V3));
        out.flush();
    });
    out.resize(0);
    time("write_csv", [&] {
        out.write(interchange::csvHeader());
        for (int i = 0; i < count; ++i)
            out.write(interchange::csvRow(book[size_t(i)]));
        out.flush();
    });
    return read == 10000 ? 0 : 1;
}
