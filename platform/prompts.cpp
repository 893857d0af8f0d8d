#include "prompts.h"

#include "qt_prompts.h"

#include <QCoreApplication>

namespace platform {
namespace {

class NoProgressWindow final : public ProgressWindow {
public:
    bool step(qint64, qint64) override { return true; }
};

std::unique_ptr<PromptService>& current()
{
    static std::unique_ptr<PromptService> service = std::make_unique<QtPrompts>();
    return service;
}

} // namespace

std::unique_ptr<ProgressWindow> PromptService::progress(const ProgressPrompt&)
{
    return std::make_unique<NoProgressWindow>();
}

PromptService& prompts()
{
    return *current();
}

std::unique_ptr<PromptService> installPrompts(std::unique_ptr<PromptService> service)
{
    std::swap(current(), service);
    return service;
}

Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title)
{
    return prompts().message(
        {title.isEmpty() ? QCoreApplication::applicationName() : title, text, buttons, icon});
}

} // namespace platform
