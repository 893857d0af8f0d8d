// The CardDAV servers and the second client of the sync tests. Every process
// started here dies with the test process (PR_SET_PDEATHSIG), so not even a
// crash leaves a server listening.

#include "dav_server.h"

#include "digest_front.h"
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
    while (m_kind == Kind::RadicaleDigest && (!m_backendPort || m_backendPort == m_port))
        m_backendPort = freeLoopbackPort();
    if (!m_folder.isValid())
        m_error = "No temporary folder for the server";
    else if (writeConfiguration() && start())
        addBook("contacts", "Contacts");
}

DavServer::~DavServer()
{
    thaw();
    kill();
}

QString DavServer::missing(Kind kind)
{
    return kind == Kind::RadicaleDigest && apacheProgram().isEmpty()
               ? "apache2 is not installed (scripts/setup.sh installs it)"
               : QString();
}

const char* DavServer::name(Kind kind)
{
    const char* names[] = {"Radicale", "RadicaleDigest", "Xandikos"};
    return names[int(kind)];
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
    if (m_kind != Kind::Xandikos)
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
    for (QProcess* process : {&m_apache, &m_server}) {
        process->kill();
        process->waitForFinished();
    }
}

QProcess& DavServer::front()
{
    return m_kind == Kind::RadicaleDigest ? m_apache : m_server;
}

void DavServer::freeze()
{
    if (front().processId() > 0)
        ::kill(pid_t(front().processId()), SIGSTOP);
}

void DavServer::thaw()
{
    if (front().processId() > 0)
        ::kill(pid_t(front().processId()), SIGCONT);
}

QByteArray DavServer::log() const
{
    return readBytes(m_folder.filePath("server.log")) + readBytes(m_folder.filePath("apache.log"));
}

int DavServer::refusedSignIns() const
{
    const QByteArray logged = log();
    return int(logged.count("Failed login attempt") + logged.count("password mismatch"));
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
    if (m_server.waitForStarted() && listening(m_backendPort ? m_backendPort : m_port)) {
        if (m_kind != Kind::RadicaleDigest)
            return true;
        dieWithParent(m_apache);
        m_apache.setProcessChannelMode(QProcess::MergedChannels);
        m_apache.setStandardOutputFile(m_folder.filePath("apache.log"), QIODevice::Append);
        m_apache.start(apacheProgram(), m_apacheArguments);
        if (m_apache.waitForStarted() && listening(m_port))
            return true;
    }
    m_error = QString("The %1 server did not start (scripts/setup.sh installs it): %2")
                  .arg(name(m_kind), QString::fromLocal8Bit(log()));
    return false;
}

bool DavServer::writeConfiguration()
{
    if (m_kind == Kind::Xandikos)
        return true;
    if (m_kind == Kind::RadicaleDigest) {
        const std::optional<QStringList> apache =
            writeDigestFront(m_folder.path(), m_port, m_backendPort, user, password);
        if (!apache)
            return false;
        m_apacheArguments = *apache;
    }
    // Behind Apache, radicale takes the user Apache signed in.
    const QString auth = m_kind == Kind::RadicaleDigest
                             ? QString("type = http_x_remote_user\n")
                             : QString("type = htpasswd\nhtpasswd_filename = %1\n"
                                       "htpasswd_encryption = plain\n")
                                   .arg(m_folder.filePath("users"));
    QString config =
        QString("[server]\nhosts = 127.0.0.1:%1\n%4"
                "[auth]\n%2"
                "[storage]\nfilesystem_folder = %3\n"
                "[logging]\nlevel = info\n")
            .arg(m_backendPort ? m_backendPort : m_port)
            .arg(auth, m_folder.filePath("store"),
                 m_tls.certificate.isEmpty() ? QString()
                                             : QString("ssl = True\ncertificate = %1\nkey = %2\n")
                                                   .arg(m_tls.certificate, m_tls.key));
    return (m_kind == Kind::RadicaleDigest
            || writeBytes(m_folder.filePath("users"), QByteArray(user) + ':' + password + '\n'))
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
