// The synthetic address book the benchmark times: contacts with names
// from several scripts, twelve cities, companies that share a long prefix
// and e-mail addresses that all differ.

#include "bench_book.h"

#include <QDate>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

bool insertContacts(QSqlDatabase& db, int contacts)
{
    static const char* const first[] = {
        "Aarav",       "Abhay", "Abel",   "Ada",  "Bela",  "Carlos",    "Dmitri",
        "\u00c9lodie", "Farah", "Gita",   "Hana", "Ivan",  "Jos\u00e9", "Kiran",
        "Lena",        "Mohan", "Nadia",  "Omar", "Priya", "Ravi",      "Sara",
        "Tom\u00e1s",  "Uma",   "Vikram", "Wen",  "Yusuf", "Zo\u00eb"};
    static const char* const last[] = {"Sharma",      "Patel",  "Smith",  "M\u00fcller",
                                       "Garc\u00eda", "Ivanov", "Nguyen", "Khan",
                                       "Singh",       "Rossi",  "Dubois", "Kowalski"};
    static const char* const cities[] = {"Mumbai",  "Pune",      "Delhi",     "Chennai",
                                         "Kolkata", "Bengaluru", "Hyderabad", "Ahmedabad",
                                         "Jaipur",  "Lucknow",   "Surat",     "Goa"};
    QRandomGenerator random(42);
    const auto pick = [&random](const auto& list) {
        return QString::fromUtf8(list[random.bounded(int(std::size(list)))]);
    };
    db.transaction();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO Address (SalutationId, Name, Company, ReligionId, "
                                 "Address1, Address2, City, PinCode,"
                                 " State, Country, PhOff1, PhExt, PhCell, DtBirth, EmlAddr) VALUES "
                                 "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < contacts; ++i) {
        query.addBindValue(1 + random.bounded(8));
        query.addBindValue(QString(pick(first) + QLatin1Char(' ') + pick(last)));
        query.addBindValue(QStringLiteral("Company %1 Pvt Ltd").arg(random.bounded(5000)));
        query.addBindValue(1 + random.bounded(9));
        query.addBindValue(QStringLiteral("%1, Some Street").arg(1 + random.bounded(999)));
        query.addBindValue(QStringLiteral("Near Landmark %1").arg(random.bounded(99)));
        query.addBindValue(pick(cities));
        query.addBindValue(QString::number(100000 + random.bounded(899999)));
        query.addBindValue(QStringLiteral("Maharashtra"));
        query.addBindValue(QStringLiteral("India"));
        query.addBindValue(
            QStringLiteral("022-%1").arg(random.bounded(99999999), 8, 10, QLatin1Char('0')));
        query.addBindValue(QString::number(random.bounded(999)));
        query.addBindValue(
            QStringLiteral("9%1").arg(random.bounded(999999999), 9, 10, QLatin1Char('0')));
        query.addBindValue(QDate(1940, 1, 1).addDays(random.bounded(25000)).toString(Qt::ISODate));
        query.addBindValue(QStringLiteral("person%1@example.com").arg(i));
        if (!query.exec())
            return false;
    }
    return db.commit();
}

} // namespace

bool fillBenchBook(const QString& path, int contacts)
{
    const QString name = QStringLiteral("bench-fill");
    bool filled = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        filled = db.open() && insertContacts(db, contacts);
    }
    QSqlDatabase::removeDatabase(name);
    return filled;
}
