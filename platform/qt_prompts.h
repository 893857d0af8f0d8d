#pragma once
// The prompt service of the running program: real Qt dialogs.

#include "prompts.h"

namespace platform {

class QtPrompts : public PromptService {
public:
    Answer message(const MessagePrompt& prompt) override;
    QString openFile(const OpenFilePrompt& prompt) override;
    SaveFileChoice saveFile(const SaveFilePrompt& prompt) override;
    std::optional<QString> password(const PasswordPrompt& prompt) override;
    void showModal(QDialog& dialog) override;
    std::unique_ptr<ProgressWindow> progress(const ProgressPrompt& prompt) override;
};

} // namespace platform
