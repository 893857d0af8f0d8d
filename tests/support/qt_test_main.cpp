// The main function of every test executable: a real QApplication on Qt's
// offscreen platform, with the C locale so results do not depend on the
// machine.

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // A test may give the offscreen platform its screens.
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovren"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
