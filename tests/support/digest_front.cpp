// The configuration is complete in itself: it names every module it loads,
// so neither /etc/apache2 nor the variables of Debian's apache2ctl matter.

#include "digest_front.h"

#include "test_helpers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace testing_support {

namespace {

const char kRealm[] = "Tovren tests";
const char kModules[] = "/usr/lib/apache2/modules/";

} // namespace

QString apacheProgram()
{
    return QStandardPaths::findExecutable("apache2", {"/usr/sbin", "/usr/bin"});
}

std::optional<QStringList> writeDigestFront(const QString& folder, int port, int backendPort,
                                            const QString& user, const QString& password)
{
    const QDir dir(folder);
    // htdigest's line: user:realm:MD5(user:realm:password).
    const QByteArray ha1 =
        QCryptographicHash::hash(QString("%1:%2:%3").arg(user, kRealm, password).toUtf8(),
                                 QCryptographicHash::Md5)
            .toHex();
    QString config = QString("ServerRoot \"%1\"\nServerName 127.0.0.1:%2\n"
                             "Listen 127.0.0.1:%2\nPidFile \"%1/apache.pid\"\n"
                             "DefaultRuntimeDir \"%1\"\nErrorLog \"%1/apache.log\"\n"
                             "MaxKeepAliveRequests 0\nAllowEncodedSlashes NoDecode\n")
                         .arg(folder)
                         .arg(port);
    for (const char* module : {"mpm_event", "authn_core", "authn_file", "authz_core", "authz_user",
                               "auth_digest", "auth_basic", "headers", "proxy", "proxy_http"})
        config += QString("LoadModule %1_module %2mod_%1.so\n").arg(module, kModules);
    config += "LogLevel warn auth_digest:info\n";
    // Apache refuses to serve as root: there it answers as nobody, who must
    // reach the password file.
    if (getuid() == 0) {
        config += "User nobody\nGroup nogroup\n";
        QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ExeOther);
    }
    // The phone of the tests (vdirsyncer 0.19) cannot answer Digest: it signs
    // in with Basic.
    config += QString("<Location />\nAuthName \"%1\"\n"
                      "<If \"%{HTTP_USER_AGENT} =~ m#^vdirsyncer/#\">\nAuthType Basic\n"
                      "AuthBasicProvider file\nAuthUserFile \"%4\"\n</If>\n"
                      "<Else>\nAuthType Digest\nAuthDigestProvider file\n"
                      "AuthUserFile \"%2\"\n</Else>\nRequire valid-user\n"
                      "RequestHeader set X-Remote-User expr=%{REMOTE_USER}\n</Location>\n"
                      // nocanon: the path goes on exactly as the client wrote it.
                      "ProxyPass / http://127.0.0.1:%3/ nocanon\n"
                      "ProxyPassReverse / http://127.0.0.1:%3/\n")
                  .arg(kRealm, dir.filePath("digest"))
                  .arg(backendPort)
                  .arg(dir.filePath("basic"));
    const QByteArray sha1 =
        QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha1).toBase64();
    const std::pair<const char*, QByteArray> users[] = {
        {"digest", user.toUtf8() + ':' + kRealm + ':' + ha1 + '\n'},
        {"basic", user.toUtf8() + ":{SHA}" + sha1 + '\n'},
    };
    for (const auto& [name, line] : users) {
        if (!writeBytes(dir.filePath(name), line)
            || !QFile::setPermissions(dir.filePath(name),
                                      QFile::permissions(dir.filePath(name)) | QFile::ReadOther))
            return std::nullopt;
    }
    if (!writeBytes(dir.filePath("apache.conf"), config.toUtf8()))
        return std::nullopt;
    return QStringList{"-X", "-f", dir.filePath("apache.conf")};
}

} // namespace testing_support
