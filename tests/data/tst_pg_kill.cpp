// A client killed in the middle of a batch leaves the shared book as it was
// before the batch: the server undoes what an ended session had not
// committed. The client is a child process on a connection of its own,
// killed while its batch waits inside a transaction, or while a plain
// UpdateBatch waits for a row another session holds.

#include "pg_book.h"

#include "data/recordset.h"
#include "data/transaction.h"

#include <QDeadlineTimer>
#include <QThread>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kTrials = 20;
constexpr int kBatch = 5;

// A forked client whose session's server process the parent learns through
// a pipe; killed, and waited for, at the latest when it goes out of scope.
class Client {
public:
    // `work` runs in the child with the pipe to write to; the child never
    // returns from it on its own.
    explicit Client(const std::function<void(int)>& work)
    {
        int ends[2];
        if (pipe(ends) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(ends[0]);
            try {
                work(ends[1]);
            } catch (...) {
            }
            _exit(1);
        }
        close(ends[1]);
        m_pipe = ends[0];
    }
    ~Client()
    {
        kill();
        if (m_pipe >= 0)
            close(m_pipe);
    }
    // The next number the child sends; 0 when it died first.
    qint64 receive() const
    {
        qint64 number = 0;
        return m_pipe >= 0 && read(m_pipe, &number, sizeof number) == sizeof number ? number : 0;
    }
    void kill()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = 0;
    }

private:
    pid_t m_pid = -1;
    int m_pipe = -1;
};

void send(int pipe, qint64 number)
{
    if (write(pipe, &number, sizeof number) != sizeof number)
        _exit(1);
}

class PgKill : public PgBookTest {
protected:
    void SetUp() override
    {
        PgBookTest::SetUp();
        if (!IsSkipped())
            makeBook(12);
    }
    // The child's work: its session's server process sent first, then
    // `kBatch` contacts changed in one batch, `inWork` inside a transaction
    // after which the parent is told.
    static void changeContacts(const QString& book, int pipe, bool inWork)
    {
        const auto connection = data::Connection::open(book);
        send(pipe, connection->io().execute("SELECT pg_backend_pid()")[0][0].toLongLong());
        data::Recordset rs;
        rs.setActiveConnection(connection);
        rs.Open(QStringLiteral("Address"));
        std::optional<data::Transaction> work;
        if (inWork)
            work.emplace(connection);
        for (int row = 0; row < kBatch; ++row) {
            rs.setValue(u"City", QStringLiteral("Killed"));
            rs.setValue(u"Name", QString(rs.value(u"Name").toString() + " changed"));
            rs.Update();
            rs.MoveNext();
        }
        rs.AddNew();
        rs.setValue(u"Name", QStringLiteral("Added"));
        rs.UpdateBatch();
        send(pipe, 1);
        pause();
    }
    // Whether the server's process `pid` has `state` ("gone" when it has
    // ended), waiting for it as long as the server may need.
    bool reaches(qint64 pid, const QString& state)
    {
        const QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired()) {
            const auto rows = sql(
                "SELECT coalesce(wait_event_type, '') FROM pg_stat_activity WHERE pid = ?", {pid});
            if (rows.empty() ? state == "gone" : rows[0][0].toString() == state)
                return true;
            QThread::msleep(5);
        }
        return false;
    }
};

TEST_F(PgKill, AClientKilledInsideATransactionLeavesTheBookAsBefore)
{
    for (int trial = 0; trial < kTrials; ++trial) {
        const QStringList before = allRows();
        Client client([&](int pipe) { changeContacts(m_book, pipe, true); });
        const qint64 pid = client.receive();
        ASSERT_NE(pid, 0);
        ASSERT_EQ(client.receive(), 1) << "the batch was not sent";
        client.kill();
        ASSERT_TRUE(reaches(pid, "gone"));
        EXPECT_EQ(allRows(), before) << "trial " << trial;
    }
}

// The last contact of the batch is held by another session, so the kill
// lands while the batch has changed the contacts before it and waits.
TEST_F(PgKill, AClientKilledInsideUpdateBatchLeavesTheBookAsBefore)
{
    for (int trial = 0; trial < kTrials; ++trial) {
        const QStringList before = allRows();
        const auto holder = data::Connection::open(m_book);
        auto hold = std::make_unique<data::Transaction>(holder);
        holder->io().execute("SELECT 1 FROM \"Address\" WHERE \"AddressId\" = ? FOR UPDATE",
                             {kBatch});
        Client client([&](int pipe) { changeContacts(m_book, pipe, false); });
        const qint64 pid = client.receive();
        ASSERT_NE(pid, 0);
        ASSERT_TRUE(reaches(pid, "Lock"));
        client.kill();
        hold.reset();
        ASSERT_TRUE(reaches(pid, "gone"));
        EXPECT_EQ(allRows(), before) << "trial " << trial;
    }
}

} // namespace
