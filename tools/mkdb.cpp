// tovren-mkdb PATH: writes a new, empty Tovren address book (with the
// default pick lists) to PATH, unless a file of that name already exists.

#include "platform/runtime_error.h"
#include "records/schema.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tovren-mkdb PATH\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFileInfo::exists(path))
        return 0; // an existing address book is never written over
    try {
        records::createDatabase(path);
    } catch (const platform::RunTimeError& error) {
        std::fprintf(stderr, "tovren-mkdb: %s\n", qPrintable(error.description()));
        return 1;
    }
    return 0;
}
