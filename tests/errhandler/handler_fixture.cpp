#include "handler_fixture.h"

#include <QFile>
#include <QPluginLoader>

namespace vostrel_test {

void HandlerTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    handler = newHandler();
    ASSERT_TRUE(handler);
    handler->setDestination(m_dir.path());
}

std::unique_ptr<Vostrel::clsErrHandler> HandlerTest::newHandler()
{
    static QPluginLoader loader(QStringLiteral(TOVREN_BIN_DIR "/libvostrel.so"));
    auto* component = qobject_cast<Vostrel::Component*>(loader.instance());
    if (!component) {
        ADD_FAILURE() << loader.errorString().toStdString();
        return nullptr;
    }
    return component->createErrHandler();
}

QVariant HandlerTest::tovren()
{
    return QVariant::fromValue(
        Vostrel::AppDescriptor{QStringLiteral("Tovren"), QStringLiteral("Belvane"), 1, 0, 5,
                               QStringLiteral("/opt/tovren"), QStringLiteral("Tovren")});
}

QByteArray HandlerTest::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace vostrel_test
