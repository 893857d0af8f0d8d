#pragma once
// The prompt service of the running program: real Qt dialogs.

#include "prompts.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace platform {

// The message box the program shows for `prompt`, not yet shown.
std::unique_ptr<QMessageBox> messageBox(const MessagePrompt& prompt, QWidget* parent);

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
