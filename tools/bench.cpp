// tovren-bench [N] [--db FILE]: times the record layer on a large address
// book. It builds a TND.dbx of N synthetic contacts (100000 by default) in a
// temporary folder, or works on a copy of FILE, and prints one line per
// operation: its name, a blank and milliseconds; last the peak resident
// memory in megabytes. Tracing is on, as in the program.

#include "core/error_handler.h"
#include "core/program.h"
#include "platform/prompts.h"
#include "records/address.h"
#include "records/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

#include <sys/resource.h>

namespace {

// Every question of the record layer (the delete question) is answered Yes.
class AnswerYes final : public platform::PromptService {
public:
    platform::Answer message(const platform::MessagePrompt& prompt) override
    {
        return prompt.buttons == platform::Buttons::OK ? platform::Answer::OK
                                                       : platform::Answer::Yes;
    }
    QString openFile(const platform::OpenFilePrompt&) override { return QString(); }
    void showModal(QDialog&) override {}
};

bool fill(const QString& path, int contacts)
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
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-fill"));
    db.setDatabaseName(path);
    if (!db.open())
        return false;
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

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int contacts = 100000;
    QString source;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--db") && i + 1 < args.size())
            source = args[++i];
        else
            contacts = args[i].toInt();
    }

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("TND.dbx"));
    const bool ready = source.isEmpty() ? (records::createDatabase(path), fill(path, contacts))
                                        : QFile::copy(source, path);
    QSqlDatabase::removeDatabase(QStringLiteral("bench-fill"));
    if (!ready) {
        std::fprintf(stderr, "tovren-bench: the address book could not be prepared\n");
        return 1;
    }
    platform::installPrompts(std::make_unique<AnswerYes>());
    tovren::setProgramFolder(folder.path());
    tovren::setConnectionString(QStringLiteral("Data Source=") + path);
    Vostrel::clsErrHandler& handler = tovren::errHandler();
    handler.setDestination(folder.path());
    handler.setTraceExecution(true);

    std::unique_ptr<records::Address> address;
    const auto time = [&handler](const char* name, const std::function<void()>& operation) {
        QElapsedTimer timer;
        timer.start();
        operation();
        std::printf("%s %.1f\n", name, double(timer.nsecsElapsed()) / 1e6);
        if (handler.ErrNum() != 0) {
            std::fprintf(stderr, "tovren-bench: %s failed: %s\n", name,
                         qPrintable(handler.ErrDesc()));
            std::exit(1);
        }
    };
    QString filter = QStringLiteral("NAME LIKE 'AB*'");
    QString rewritten = QStringLiteral("name like 'ab*' or name like 'zo*' and city = 'pune'");
    QString none;
    QString criteria = QStringLiteral("Name LIKE 'Zo*'");
    qint32 skip = 0;
    qint32 forward = 1;
    QVariant first(1);
    QVariant here;

    time("open", [&] { address = std::make_unique<records::Address>(); });
    time("filter_like", [&] { address->Filter(filter); });
    time("filter_or", [&] { address->Filter(rewritten); });
    // Seven fields of ten alternatives each, as the query form lets a person type.
    QStringList fields;
    for (const char* column :
         {"Name", "City", "PinCode", "EmlAddr", "Address1", "State", "PhCell"}) {
        QStringList alternatives;
        for (int i = 0; i < 10; ++i)
            alternatives << QStringLiteral("%1 Like '%2*'").arg(QLatin1String(column)).arg(i);
        fields << alternatives.join(QStringLiteral(" OR "));
    }
    QString wide = fields.join(QStringLiteral(" AND "));
    time("filter_wide", [&] { address->Filter(wide); });
    address->Filter(none);
    time("sort_city", [&] { address->sort(QStringLiteral("City"), QStringLiteral("Asc")); });
    time("find_first", [&] { address->Find(criteria, skip, forward, first); });
    skip = 1;
    time("find_next", [&] { address->Find(criteria, skip, forward, here); });
    time("move_last", [&] { address->MoveLast(); });
    time("save_one", [&] {
        address->setCity(QStringLiteral("Nashik"));
        address->Save();
    });
    time("delete_one", [&] { address->Delete(); });
    time("refresh", [&] { address->Refresh(); });

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rss_mb %ld\n", usage.ru_maxrss / 1024);
    return 0;
}
