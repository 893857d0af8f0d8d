#include "error_handler.h"

#include "program_folders.h"

#include "platform/program_end.h"
#include "platform/prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

#include <memory>

namespace tovren {
namespace {

QString& componentFolder()
{
    static QString folder;
    return folder;
}

std::unique_ptr<Vostrel::clsErrHandler>& slot()
{
    static std::unique_ptr<Vostrel::clsErrHandler> handler;
    return handler;
}

std::unique_ptr<Vostrel::clsErrHandler> createHandler()
{
    const QString folder = componentFolder().isEmpty() ? privatePartsFolder() : componentFolder();
    const QString file = QDir(folder).filePath(QStringLiteral("libvostrel.so"));
    // The loader is never unloaded: the handler's code must outlive it.
    auto* loader = new QPluginLoader(file, qApp);
    auto* component = qobject_cast<Vostrel::Component*>(loader->instance());
    if (!component) {
        platform::MsgBox(QStringLiteral("Tovren cannot start: its error-handling library could not "
                                        "be loaded.\n\n%1\n\n%2")
                             .arg(file, loader->errorString()),
                         platform::Buttons::OK, platform::Icon::Critical, QStringLiteral("Tovren"));
        platform::endProgram(1);
    }
    return component->createErrHandler();
}

} // namespace

Vostrel::clsErrHandler& errHandler()
{
    if (!slot())
        slot() = createHandler();
    return *slot();
}

void setComponentFolder(const QString& folder)
{
    componentFolder() = folder;
}

void resetErrHandler()
{
    slot().reset();
}

} // namespace tovren
