#include "test_ca.h"

#include <QDir>
#include <QProcess>

namespace testing_support {
namespace {

const QStringList kNewKey{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};

QString baseName(TestCa::Server which)
{
    switch (which) {
    case TestCa::Server::OtherName:
        return QStringLiteral("other-name");
    case TestCa::Server::Expired:
        return QStringLiteral("expired");
    case TestCa::Server::UnknownAuthority:
        return QStringLiteral("unknown-authority");
    case TestCa::Server::Trusted:
        break;
    }
    return QStringLiteral("trusted");
}

} // namespace

TestCa::TestCa(const QString& folder) : m_folder(folder)
{
    QDir().mkpath(folder);
    makeAuthority(QStringLiteral("ca"));
    makeAuthority(QStringLiteral("untrusted-ca"));
    const QString local = QStringLiteral("DNS:localhost,IP:127.0.0.1");
    makeServer(Server::Trusted, QStringLiteral("ca"), local, 30);
    makeServer(Server::OtherName, QStringLiteral("ca"), QStringLiteral("DNS:other.example.org"),
               30);
    // A negative count of days ends the certificate before it begins.
    makeServer(Server::Expired, QStringLiteral("ca"), local, -1);
    makeServer(Server::UnknownAuthority, QStringLiteral("untrusted-ca"), local, 30);
}

TestCa::Identity TestCa::server(Server which) const
{
    const QString base = m_folder + '/' + baseName(which);
    return {base + QStringLiteral(".pem"), base + QStringLiteral(".key")};
}

void TestCa::makeAuthority(const QString& name)
{
    openssl(QStringList{"req", "-x509"} + kNewKey
            + QStringList{"-keyout", name + ".key", "-out", name + ".pem", "-days", "30", "-subj",
                          "/CN=Tovren test authority " + name});
}

void TestCa::makeServer(Server which, const QString& authority, const QString& names, int days)
{
    const QString base = baseName(which);
    const QString host = names.section(':', 1).section(',', 0, 0);
    openssl(QStringList{"req", "-new"} + kNewKey
            + QStringList{"-keyout", base + ".key", "-out", base + ".csr", "-subj", "/CN=" + host,
                          "-addext", "subjectAltName=" + names});
    openssl({"x509", "-req", "-in", base + ".csr", "-CA", authority + ".pem", "-CAkey",
             authority + ".key", "-CAcreateserial", "-out", base + ".pem", "-days",
             QString::number(days), "-copy_extensions", "copyall"});
}

void TestCa::openssl(const QStringList& arguments)
{
    if (!m_error.isEmpty())
        return;
    QProcess process;
    process.setWorkingDirectory(m_folder);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        m_error = "openssl " + arguments.join(' ')
                  + " failed: " + QString::fromLocal8Bit(process.readAllStandardError());
}

} // namespace testing_support
