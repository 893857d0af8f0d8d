// The CardDAV servers and the second client of the sync tests. Every process
// started here dies with the test process (PR_SET_PDEATHSIG), so not even a
// crash leaves a server listening.

#include "dav_server.h"

#include "test_helpers.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>

#include <csignal>

#include <sys/prctl.h>

namespace testing_support {

namespace {

const QByteArray kBookBody =
    "<?xml version=\"1.0\"?><D:mkcol xmlns:D=\"DAV:\" "
    "xmlns:C=\"urn:ietf:params:xml:ns:carddav\"><D:set><D:prop><D:resourcetype>"
    "<D:collection/><C:addressbook/></D:resourcetype><D:displayname>%1</D:displayname>"
    "</D:prop></D:set></D:mkcol>";

void dieWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

bool listening(int port)
{
    for (int tries = 0; tries < 200; ++tries) {
        QTcpSocket probe;
        probe.connectToHost("127.0.0.1", quint16(port));
        if (probe.waitForConnected(100))
            return true;
        QThread::msleep(50);
    }
    return false;
}

QString uidOf(const QByteArray& vcard)
{
    static const QRegularExpression uid("^UID:(.*?)\\r?$",
                                        QRegularExpression::MultilineOption
                                            | QRegularExpression::CaseInsensitiveOption);
    return uid.match(QString::fromUtf8(vcard)).captured(1);
}

} // namespace

DavServer::DavServer(Kind kind, const TestCa::Identity& tls)
    : m_kind(kind), m_tls(tls), m_port(freeLoopbackPort())
{
    if (!m_folder.isValid())
        m_error = "No temporary folder for the server";
    else if (writeConfiguration() && start())
        addBook("contacts", "Contacts");
}

DavServer::~DavServer()
{
    thaw();
    m_server.kill();
    m_server.waitForFinished();
}

QString DavServer::userName() const
{
    return m_kind == Kind::Xandikos ? QString() : QString(user);
}

QUrl DavServer::root() const
{
    return QUrl(QString("%1://127.0.0.1:%2/")
                    .arg(m_tls.certificate.isEmpty() ? "http" : "https")
                    .arg(m_port));
}

QUrl DavServer::principal() const
{
    return root().resolved(QUrl(QString(m_kind == Kind::Xandikos ? "user" : user) + '/'));
}

QUrl DavServer::book(const QString& name) const
{
    return principal().resolved(
        QUrl(QString(m_kind == Kind::Xandikos ? "contacts/" : "") + name + '/'));
}

QString DavServer::bookFolder(const QString& name) const
{
    // radicale keeps its collections under a folder of their own.
    return m_folder.filePath((m_kind == Kind::Xandikos ? "store" : "store/collection-root")
                             + book(name).path());
}

bool DavServer::addBook(const QString& name, const QString& displayName)
{
    const QString folder = bookFolder(name);
    // radicale takes a folder with its properties beside it as a collection.
    if (m_kind == Kind::Radicale)
        return QDir().mkpath(folder)
               && writeBytes(folder + "/.Radicale.props",
                             QJsonDocument(QJsonObject{{"tag", "VADDRESSBOOK"},
                                                       {"D:displayname", displayName}})
                                 .toJson());
    QProcess curl;
    curl.start("curl", {"--silent", "--show-error", "--fail", "-X", "MKCOL", "-H",
                        "Content-Type: application/xml", "--data-binary",
                        QString::fromUtf8(kBookBody).arg(displayName.toHtmlEscaped()),
                        book(name).toString()});
    if (curl.waitForFinished(30000) && curl.exitStatus() == QProcess::NormalExit
        && curl.exitCode() == 0)
        return true;
    m_error = "MKCOL " + book(name).toString() + ": "
              + QString::fromLocal8Bit(curl.readAllStandardError());
    return false;
}

void DavServer::kill()
{
    m_server.kill();
    m_server.waitForFinished();
}

void DavServer::freeze()
{
    if (m_server.processId() > 0)
        ::kill(pid_t(m_server.processId()), SIGSTOP);
}

void DavServer::thaw()
{
    if (m_server.processId() > 0)
        ::kill(pid_t(m_server.processId()), SIGCONT);
}

QByteArray DavServer::log() const
{
    return readBytes(m_folder.filePath("server.log"));
}

bool DavServer::start()
{
    const QString store = m_folder.filePath("store");
    dieWithParent(m_server);
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.setStandardOutputFile(m_folder.filePath("server.log"), QIODevice::Append);
    if (m_kind == Kind::Xandikos)
        m_server.start("xandikos", {"-d", store, "--autocreate", "-l", "127.0.0.1", "-p",
                                    QString::number(m_port)});
    else
        m_server.start("radicale", {"--config", m_folder.filePath("radicale.conf")});
    if (m_server.waitForStarted() && listening(m_port))
        return true;
    m_error =
        QString("The %1 server did not start (scripts/setup.sh installs it): %2")
            .arg(m_kind == Kind::Xandikos ? "xandikos" : "radicale", QString::fromLocal8Bit(log()));
    return false;
}

bool DavServer::writeConfiguration()
{
    if (m_kind == Kind::Xandikos)
        return true;
    QString config =
        QString("[server]\nhosts = 127.0.0.1:%1\n%4"
                "[auth]\ntype = htpasswd\nhtpasswd_filename = %2\n"
                "htpasswd_encryption = plain\n"
                "[storage]\nfilesystem_folder = %3\n"
                "[logging]\nlevel = info\n")
            .arg(m_port)
            .arg(m_folder.filePath("users"), m_folder.filePath("store"),
                 m_tls.certificate.isEmpty() ? QString()
                                             : QString("ssl = True\ncertificate = %1\nkey = %2\n")
                                                   .arg(m_tls.certificate, m_tls.key));
    return writeBytes(m_folder.filePath("users"), QByteArray(user) + ':' + password + '\n')
           && writeBytes(m_folder.filePath("radicale.conf"), config.toUtf8());
}

PhoneClient::PhoneClient(const DavServer& server, const QUrl& book)
{
    QString config = QString("[general]\nstatus_path = \"%1/status/\"\n"
                             "[pair phone]\na = \"phone_cards\"\nb = \"phone_server\"\n"
                             "collections = null\n"
                             "[storage phone_cards]\ntype = \"filesystem\"\n"
                             "path = \"%1/cards/\"\nfileext = \".vcf\"\n"
                             "[storage phone_server]\ntype = \"carddav\"\nurl = \"%2\"\n")
                         .arg(m_folder.path(), book.toString());
    // The password comes from the environment of the one run, never a file.
    if (!server.userName().isEmpty())
        config += QString("username = \"%1\"\n"
                          "password.fetch = [\"command\", \"printenv\", \"PHONE_PASSWORD\"]\n")
                      .arg(server.userName());
    if (!QDir().mkpath(m_folder.filePath("cards"))
        || !writeBytes(m_folder.filePath("config"), config.toUtf8()) || !run({"discover"}))
        m_error = "vdirsyncer could not be set up: " + m_error;
}

bool PhoneClient::run(const QStringList& arguments)
{
    QProcess vdirsyncer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PHONE_PASSWORD", DavServer::password);
    vdirsyncer.setProcessEnvironment(environment);
    vdirsyncer.setProcessChannelMode(QProcess::MergedChannels);
    vdirsyncer.start("vdirsyncer",
                     QStringList{"--config", m_folder.filePath("config")} + arguments);
    vdirsyncer.closeWriteChannel();
    if (vdirsyncer.waitForFinished(60000) && vdirsyncer.exitStatus() == QProcess::NormalExit
        && vdirsyncer.exitCode() == 0)
        return true;
    m_error =
        "vdirsyncer " + arguments.join(' ') + ": " + QString::fromLocal8Bit(vdirsyncer.readAll());
    return false;
}

bool PhoneClient::sync()
{
    return run({"sync"});
}

bool PhoneClient::add(const QByteArray& vcard)
{
    return sync() && writeBytes(m_folder.filePath("cards/" + uidOf(vcard) + ".vcf"), vcard)
           && sync();
}

bool PhoneClient::edit(const QString& uid, const QByteArray& vcard)
{
    if (!sync())
        return false;
    const QString file = filesByUid()[uid];
    return !file.isEmpty() && writeBytes(file, vcard) && sync();
}

bool PhoneClient::remove(const QString& uid)
{
    if (!sync())
        return false;
    const QString file = filesByUid()[uid];
    return !file.isEmpty() && QFile::remove(file) && sync();
}

std::optional<std::map<QString, QByteArray>> PhoneClient::cards()
{
    if (!sync())
        return std::nullopt;
    std::map<QString, QByteArray> cards;
    for (const auto& [uid, file] : filesByUid())
        cards[uid] = readBytes(file);
    return cards;
}

// vdirsyncer names the files of cards it fetched as it likes: the UID inside
// tells them apart.
std::map<QString, QString> PhoneClient::filesByUid() const
{
    std::map<QString, QString> files;
    const QDir cards(m_folder.filePath("cards"));
    for (const QString& name : cards.entryList({"*.vcf"}, QDir::Files))
        files[uidOf(readBytes(cards.filePath(name)))] = cards.filePath(name);
    return files;
}

} // namespace testing_support
