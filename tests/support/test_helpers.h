#pragma once
// Helpers the test folders share: the run-time error a statement raised, and
// a file's bytes read or written whole.

#include "platform/runtime_error.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

} // namespace testing_support

// Texts read plainly in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// The pick lists a new address book starts with.
inline const QStringList kSalutations{"Mr.", "Mrs.", "Ms.", "Miss", "Dr.", "Prof.", "Shri", "Smt."};
inline const QStringList kReligions{"Hindu", "Muslim", "Christian", "Sikh", "Buddhist",
                                    "Jain",  "Parsi",  "Jewish",    "Other"};

// Expects `statement` to raise the run-time error `expected`.
#define EXPECT_RUNTIME_ERROR(statement, expected)                                                  \
    EXPECT_EQ(testing_support::raised([&] { statement; }).number(), expected) << #statement
