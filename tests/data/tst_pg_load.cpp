// Ten clients edit the same twenty contacts of a shared book at once, each
// on its own connection and recordset in its own thread. Every edit is a
// read-modify-write of a counter, so an update lost to another client's
// shows as a counter short of its successes; a history kept by the server
// shows every write that was committed, so a refused batch that left a
// trace shows too.

#include "pg_book.h"

#include "data/recordset.h"
#include "data/transaction.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QElapsedTimer>

#include <map>
#include <random>
#include <set>
#include <thread>

namespace {

constexpr int kClients = 10;
constexpr int kEdits = 200;
constexpr int kContacts = 20;

// One attempt of a client: the counters it wrote, by key, and how it ended.
struct Attempt {
    QString marker;
    std::map<qint64, qint64> counters;
    qint32 refusal = 0; // the error that refused it; 0 when it was stored
};

// The contact `key` given the next count after the one read, and `marker`.
qint64 bump(data::Recordset& rs, qint64 key, const QString& marker)
{
    rs.Find(QStringLiteral("AddressId = %1").arg(key), 0, data::adSearchForward,
            data::adBookmarkFirst);
    const qint64 counter = rs.value(u"Address3").toLongLong() + 1;
    rs.setValue(u"Address3", QString::number(counter));
    rs.setValue(u"Address2", marker);
    rs.Update();
    return counter;
}

// A client's edits of one or two contacts at a time. Two contacts go in one
// batch, or in two batches of one transaction in the opposite order, so
// that clients also wait for each other's locks the wrong way round.
std::vector<Attempt> runClient(const QString& book, int client)
{
    std::mt19937 random(client);
    std::uniform_int_distribution<qint64> contact(1, kContacts);
    const auto connection = data::Connection::open(book);
    data::Recordset rs;
    rs.setActiveConnection(connection);
    rs.Open(QStringLiteral("Address"));
    std::vector<Attempt> attempts;
    for (int edit = 0; edit < kEdits; ++edit) {
        Attempt attempt;
        attempt.marker = QStringLiteral("client %1 edit %2").arg(client).arg(edit);
        std::vector<qint64> keys{contact(random)};
        if (random() % 3 == 0) {
            qint64 other = contact(random);
            while (other == keys[0])
                other = contact(random);
            keys.push_back(other);
        }
        const bool separately = keys.size() == 2 && random() % 2 == 0;
        if (separately)
            std::sort(keys.rbegin(), keys.rend());
        try {
            rs.Requery();
            std::optional<data::Transaction> work;
            if (separately)
                work.emplace(connection);
            for (const qint64 key : keys) {
                attempt.counters[key] = bump(rs, key, attempt.marker);
                if (separately)
                    rs.UpdateBatch();
            }
            rs.UpdateBatch();
            if (work)
                work->commit();
        } catch (const platform::RunTimeError& error) {
            attempt.refusal = error.number();
            rs.CancelBatch();
        }
        attempts.push_back(attempt);
    }
    return attempts;
}

class PgLoad : public PgBookTest {};

TEST_F(PgLoad, TenClientsLoseNoUpdateAndWriteNoPartOfARefusedBatch)
{
    // Deadlocks are found in a moment rather than the default second.
    ASSERT_TRUE(m_pg->exec(
        "postgres", QString("ALTER DATABASE %1 SET deadlock_timeout = '50ms'").arg(m_database)));
    makeBook(kContacts);
    for (const char* statement :
         {"CREATE TABLE history (id bigserial, key int, counter text, marker text)",
          "CREATE FUNCTION keep() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN"
          " INSERT INTO history (key, counter, marker)"
          " VALUES (NEW.\"AddressId\", NEW.\"Address3\", NEW.\"Address2\"); RETURN NEW; END $$",
          "CREATE TRIGGER keep AFTER UPDATE ON \"Address\" FOR EACH ROW EXECUTE FUNCTION keep()"})
        sql(statement);

    QElapsedTimer timer;
    timer.start();
    std::vector<std::vector<Attempt>> logs(kClients);
    {
        std::vector<std::jthread> clients;
        for (int c = 0; c < kClients; ++c)
            clients.emplace_back([&, c] { logs[size_t(c)] = runClient(m_book, c); });
    }
    const qint64 elapsed = timer.elapsed();

    // What the successes wrote, by key and counter; how the rest ended.
    std::map<qint64, std::map<qint64, QString>> stored;
    std::set<QString> refused;
    std::map<qint32, int> endings;
    for (const std::vector<Attempt>& log : logs) {
        ASSERT_EQ(log.size(), size_t(kEdits));
        for (const Attempt& attempt : log) {
            ++endings[attempt.refusal];
            if (attempt.refusal != 0)
                refused.insert(attempt.marker);
            for (const auto& [key, counter] : attempt.counters) {
                if (attempt.refusal == 0) {
                    EXPECT_TRUE(stored[key].emplace(counter, attempt.marker).second)
                        << "two successes wrote counter " << counter << " of contact " << key;
                }
            }
        }
    }
    const int sent = endings[0];
    const int busy = endings[platform::err::DatabaseBusy];
    const int violations = endings[platform::err::ConcurrencyViolation];
    EXPECT_EQ(sent + busy + violations, kClients * kEdits);
    EXPECT_GT(sent, 0);
    EXPECT_GT(violations, 0);
    std::printf("%d stored, %d concurrency violations, %d busy, in %lld ms\n", sent, violations,
                busy, elapsed);

    // Each contact holds the last of an unbroken run of counters 1, 2, ...,
    // one per success, and the marker of the success that wrote the last.
    for (const QVariantList& row :
         sql("SELECT \"AddressId\", \"Address3\", \"Address2\" FROM \"Address\"")) {
        const qint64 key = row[0].toLongLong();
        const std::map<qint64, QString>& written = stored[key];
        EXPECT_EQ(row[1].toLongLong(), qint64(written.size())) << "contact " << key;
        if (!written.empty()) {
            EXPECT_EQ(written.rbegin()->first, qint64(written.size())) << "contact " << key;
            EXPECT_EQ(row[2].toString(), written.rbegin()->second) << "contact " << key;
        }
    }
    // The server's history holds exactly the successes' writes, in the
    // order of their counters: nothing of a refused batch, not one row of
    // a pair.
    std::map<qint64, std::map<qint64, QString>> history;
    for (const QVariantList& row : sql("SELECT key, counter, marker FROM history ORDER BY id")) {
        const qint64 key = row[0].toLongLong();
        EXPECT_FALSE(refused.count(row[2].toString())) << row[2].toString().toStdString();
        EXPECT_EQ(row[1].toLongLong(), qint64(history[key].size()) + 1) << "contact " << key;
        history[key].emplace(row[1].toLongLong(), row[2].toString());
    }
    EXPECT_EQ(history, stored);
}

} // namespace
