// Asks for a password as tovren-book does, with no windows, and says only
// whether the answer was the first argument: the test looks for the
// password itself in all that the terminal showed.

#include "platform/qt_prompts.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::optional<QString> typed =
        platform::QtPrompts().password({QStringLiteral("Tovren"), QStringLiteral("Password")});
    std::puts(!typed                                                  ? "cancelled"
              : argc > 1 && *typed == QString::fromLocal8Bit(argv[1]) ? "right"
                                                                      : "wrong");
}
