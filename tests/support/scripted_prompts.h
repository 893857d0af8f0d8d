#pragma once
// A prompt service for tests: every message box, file dialog and modal
// window is answered from a queue the test filled beforehand, and recorded.
// A prompt the test did not expect fails the test at once and is answered
// with the most cautious choice, so nothing ever waits for a person.

#include "platform/prompts.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

namespace testing_support {

struct RecordedPrompt {
    QString kind; // "message", "openFile", "saveFile", "password", "modal" or "progress"
    QString title;
    QString text; // message text, file filter, question, the dialog's objectName, or what is
                  // in progress
    platform::Buttons buttons = platform::Buttons::OK;
    platform::Icon icon = platform::Icon::None;
};

class ScriptedPrompts final : public platform::PromptService {
public:
    // Installs itself for the life of the object and restores the previous
    // service afterwards; checks that every scripted answer was used.
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    // `meanwhile`, when given, runs before the answer: what happens in the
    // world while the message is on screen.
    ScriptedPrompts& answerMessage(platform::Answer answer,
                                   std::function<void()> meanwhile = nullptr);
    ScriptedPrompts& answerOpenFile(const QString& path);
    // The save dialog's answer: a path ("" to cancel) and the chosen filter.
    ScriptedPrompts& answerSaveFile(const QString& path, int filterIndex = 0);
    // What the person types into the next password input; std::nullopt cancels it.
    ScriptedPrompts& answerPassword(std::optional<QString> typed);
    // The callback acts on the dialog (reads it, clicks its buttons) in
    // place of a person; the dialog counts as closed when it returns.
    ScriptedPrompts& handleModal(std::function<void(QDialog&)> handler);
    // The person cancels the next progress window at its first step that
    // reaches `done`. Progress windows wait for nobody, so one that nothing
    // scripted simply runs to its end.
    ScriptedPrompts& cancelProgress(qint64 done);

    const std::vector<RecordedPrompt>& recorded() const { return m_recorded; }
    // The recorded message prompts only.
    std::vector<RecordedPrompt> messages() const;
    size_t pending() const { return m_script.size(); }

    platform::Answer message(const platform::MessagePrompt& prompt) override;
    QString openFile(const platform::OpenFilePrompt& prompt) override;
    platform::SaveFileChoice saveFile(const platform::SaveFilePrompt& prompt) override;
    std::optional<QString> password(const platform::PasswordPrompt& prompt) override;
    void showModal(QDialog& dialog) override;
    std::unique_ptr<platform::ProgressWindow>
    progress(const platform::ProgressPrompt& prompt) override;

private:
    struct MessageAnswer {
        platform::Answer answer;
        std::function<void()> meanwhile;
    };
    using ModalHandler = std::function<void(QDialog&)>;
    struct ProgressCancel {
        qint64 done;
    };
    struct PasswordAnswer {
        std::optional<QString> typed;
    };
    // The next scripted step when it is a `Step`; a failure of the test when not.
    template <typename Step>
    std::optional<Step> next();

    std::deque<std::variant<MessageAnswer, QString, platform::SaveFileChoice, ModalHandler,
                            ProgressCancel, PasswordAnswer>>
        m_script;
    std::vector<RecordedPrompt> m_recorded;
    std::unique_ptr<platform::PromptService> m_previous;
};

} // namespace testing_support
