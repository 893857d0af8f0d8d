#pragma once
// Helpers the test folders share: the run-time error a statement raised, and
// a file's bytes read or written whole.

#include "platform/runtime_error.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {

// The run-time error `call` raised; numbered 0, with no words, when none.
template <typename Call>
platform::RunTimeError raised(Call call)
{
    try {
        call();
    } catch (const platform::RunTimeError& error) {
        return error;
    }
    return platform::RunTimeError(0, QString());
}

// The bytes of the file at `path`; none when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes `bytes` the whole of the file at `path`.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The permission bits of the file or folder at `path` (0777 and below);
// -1 when there is none.
inline int modeOf(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// A loopback port no one on this machine uses right now, for a server the
// test starts.
inline int freeLoopbackPort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = bind(probe, reinterpret_cast<sockaddr*>(&address), length) == 0
                       && getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    close(probe);
    return bound ? ntohs(address.sin_port) : 55432;
}

} // namespace testing_support

// Bytes as C writes them, so that a TAB, a line break or a control
// character shows where it stands.
inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n' || c == '\t' || c == '\r')
            *out << '\\' << (c == '\n' ? 'n' : c == '\t' ? 't' : 'r');
        else if (byte < 0x20 || byte == 0x7F)
            *out << "\\x"
                 << "0123456789abcdef"[byte >> 4] << "0123456789abcdef"[byte & 15];
        else
            *out << c;
    }
    *out << '"';
}

// Texts read plainly in failure messages, the same way.
inline void PrintTo(const QString& text, std::ostream* out)
{
    PrintTo(text.toUtf8(), out);
}

// The pick lists a new address book starts with.
inline const QStringList kSalutations{"Mr.", "Mrs.", "Ms.", "Miss", "Dr.", "Prof.", "Shri", "Smt."};
inline const QStringList kReligions{"Hindu", "Muslim", "Christian", "Sikh", "Buddhist",
                                    "Jain",  "Parsi",  "Jewish",    "Other"};

// Expects `statement` to raise the run-time error `expected`.
#define EXPECT_RUNTIME_ERROR(statement, expected)                                                  \
    EXPECT_EQ(testing_support::raised([&] { statement; }).number(), expected) << #statement
