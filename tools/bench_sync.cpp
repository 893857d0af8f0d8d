// tovren-bench-sync: times the sync against a radicale it starts on a free
// loopback port with a throwaway folder, and vdirsyncer doing the same on
// the same server beside it. One line per figure: its name, a blank and
// milliseconds (or a count of requests):
//   sync_first_1000     the first sync of 1,000 cards from the server
//   sync_nochange       a sync with nothing changed (and its requests)
//   sync_5_changes      a sync after 5 cards changed on the server
// and the same three for vdirsyncer into a folder of its own.

#include "bench_timing.h"

#include "data/connection.h"
#include "records/schema.h"
#include "sync/synchronizer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

constexpr int kCards = 1000;
// A throwaway account on the throwaway server.
const char kUser[] = "bench";
const char kPassword[] = "bench";

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "tovren-bench-sync: %s\n", qUtf8Printable(what));
    std::exit(1);
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

QByteArray card(int i, const QString& city)
{
    return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bench-%1\r\nFN:Contact %1\r\n"
                          "N:%1;Contact;;;\r\nEMAIL:contact%1@example.org\r\n"
                          "TEL;TYPE=CELL:+91 98200 %2\r\nADR:;;%1 Main Road;%3;;;India\r\n"
                          "END:VCARD\r\n")
        .arg(i)
        .arg(10000 + i)
        .arg(city)
        .toUtf8();
}

void run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        fail(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QStringLiteral(": ")
             + QString::fromLocal8Bit(process.readAll()));
}

// A folder of cards paired with the server's address book through vdirsyncer.
class Vdir {
public:
    Vdir(const QDir& root, const QString& name, const QUrl& book)
        : m_config(root.filePath(name + QStringLiteral(".conf"))),
          m_cards(root.filePath(name + QStringLiteral("-cards")))
    {
        QDir().mkpath(m_cards);
        const QString config = QStringLiteral("[general]\nstatus_path = \"%1-status/\"\n"
                                              "[pair p]\na = \"local\"\nb = \"server\"\n"
                                              "collections = null\n"
                                              "[storage local]\ntype = \"filesystem\"\n"
                                              "path = \"%2/\"\nfileext = \".vcf\"\n"
                                              "[storage server]\ntype = \"carddav\"\n"
                                              "url = \"%3\"\nusername = \"%4\"\n"
                                              "password = \"%5\"\n")
                                   .arg(root.filePath(name), m_cards, book.toString(),
                                        QLatin1String(kUser), QLatin1String(kPassword));
        if (!write(m_config, config.toUtf8()))
            fail(QStringLiteral("vdirsyncer's configuration could not be written"));
        run(QStringLiteral("vdirsyncer"),
            {QStringLiteral("--config"), m_config, QStringLiteral("discover")});
    }
    void sync() const
    {
        run(QStringLiteral("vdirsyncer"),
            {QStringLiteral("--config"), m_config, QStringLiteral("sync")});
    }
    QString cards() const { return m_cards; }

private:
    QString m_config;
    QString m_cards;
};

// Radicale, logging every request it answers.
class Radicale {
public:
    explicit Radicale(const QDir& root) : m_port(freePort()), m_log(root.filePath("radicale.log"))
    {
        const QString config = QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n"
                                              "[auth]\ntype = htpasswd\n"
                                              "htpasswd_filename = %3\n"
                                              "htpasswd_encryption = plain\n"
                                              "[storage]\nfilesystem_folder = %2\n"
                                              "[logging]\nlevel = info\n")
                                   .arg(m_port)
                                   .arg(root.filePath(QStringLiteral("store")),
                                        root.filePath(QStringLiteral("users")));
        if (!write(root.filePath("radicale.conf"), config.toUtf8())
            || !write(root.filePath("users"), QByteArray(kUser) + ':' + kPassword + '\n'))
            fail(QStringLiteral("radicale's configuration could not be written"));
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.setStandardOutputFile(m_log);
        m_server.start(QStringLiteral("radicale"),
                       {QStringLiteral("--config"), root.filePath("radicale.conf")});
        for (int tries = 0; tries < 100; ++tries) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, quint16(m_port));
            if (probe.waitForConnected(100))
                break;
            QThread::msleep(100);
        }
        run(QStringLiteral("curl"),
            {QStringLiteral("--silent"), QStringLiteral("--fail"), QStringLiteral("--user"),
             QStringLiteral("%1:%2").arg(QLatin1String(kUser), QLatin1String(kPassword)),
             QStringLiteral("-X"), QStringLiteral("MKCOL"), QStringLiteral("--data-binary"),
             QStringLiteral("<?xml version=\"1.0\"?><D:mkcol xmlns:D=\"DAV:\" "
                            "xmlns:C=\"urn:ietf:params:xml:ns:carddav\"><D:set><D:prop>"
                            "<D:resourcetype><D:collection/><C:addressbook/></D:resourcetype>"
                            "</D:prop></D:set></D:mkcol>"),
             book().toString()});
    }
    ~Radicale()
    {
        m_server.kill();
        m_server.waitForFinished();
    }
    QUrl book() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/bench/contacts/").arg(m_port));
    }
    // The requests answered so far.
    int requests() const
    {
        QFile log(m_log);
        log.open(QIODevice::ReadOnly);
        return int(log.readAll().count(" request for "));
    }

private:
    int m_port;
    QString m_log;
    QProcess m_server;
};

// Times `sync` and prints it, then the requests it made under `requests`.
void timed(const char* name, const char* requests, const Radicale& server,
           const std::function<void()>& sync)
{
    const int before = server.requests();
    printLine(name, millisecondsOf(sync));
    printLine(requests, server.requests() - before);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QDir root(folder.path());
    Radicale server(root);

    // The cards go up from a folder of their own, untimed.
    const Vdir seed(root, QStringLiteral("seed"), server.book());
    for (int i = 0; i < kCards; ++i)
        write(QDir(seed.cards()).filePath(QStringLiteral("bench-%1.vcf").arg(i)),
              card(i, QStringLiteral("Pune")));
    seed.sync();

    const QString bookPath = root.filePath(QStringLiteral("TND.dbx"));
    records::createDatabase(bookPath);
    // What a sign-in learns goes with the next, as Address.ini keeps it.
    tovren::sync::SyncAccount account{server.book(), QLatin1String(kUser), QString()};
    const auto tovrenSync = [&] {
        tovren::sync::OpenedCollection opened =
            tovren::sync::CardDavCollection::open(account, QLatin1String(kPassword), {});
        if (!opened.collection)
            fail(QStringLiteral("the server could not be used: ") + opened.failure.message);
        account = opened.collection->learnt(account);
        tovren::sync::SyncedBook book(
            data::Connection::open(QStringLiteral("Data Source=") + bookPath));
        const tovren::sync::SyncSummary summary =
            tovren::sync::Synchronizer(book, *opened.collection).run();
        if (summary.stopped || !summary.refused.isEmpty())
            fail(summary.lines().join(QLatin1Char('\n')));
    };
    const Vdir phone(root, QStringLiteral("phone"), server.book());

    timed("sync_first_1000", "sync_first_1000_requests", server, tovrenSync);
    timed("vdirsyncer_first_1000", "vdirsyncer_first_1000_requests", server, [&] { phone.sync(); });
    timed("sync_nochange", "sync_nochange_requests", server, tovrenSync);
    timed("vdirsyncer_nochange", "vdirsyncer_nochange_requests", server, [&] { phone.sync(); });
    // Five cards change on the server; each client then fetches them.
    for (int i = 0; i < 5; ++i)
        write(QDir(seed.cards()).filePath(QStringLiteral("bench-%1.vcf").arg(i * 97)),
              card(i * 97, QStringLiteral("Nashik")));
    seed.sync();
    timed("sync_5_changes", "sync_5_changes_requests", server, tovrenSync);
    timed("vdirsyncer_5_changes", "vdirsyncer_5_changes_requests", server, [&] { phone.sync(); });
    return 0;
}
