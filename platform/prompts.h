#pragma once
// Every message box, file dialog and modal window of the program goes
// through one prompt service. The program uses the real Qt dialogs; tests
// install a scripted service that answers from a queue, so no test ever
// blocks on a dialog.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QDialog;

namespace platform {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { OK, Cancel, Yes, No };

struct MessagePrompt {
    QString title;
    QString text;
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
};

struct OpenFilePrompt {
    QString title;
    QString filter; // in the "description|pattern|..." form
    QString initialFolder;
};

struct SaveFilePrompt {
    QString title;
    QString filter; // in the "description|pattern|..." form
    QString initialPath;
};

// Where to save and in which of the offered kinds: the filter's pairs count
// from 0, so a caller whose kinds share a pattern still tells them apart.
struct SaveFileChoice {
    QString path; // "" when the user cancelled
    int filterIndex = 0;
};

struct PasswordPrompt {
    QString title;
    QString text; // what is asked: "Password of ann at dav.example.org"
};

struct ProgressPrompt {
    QString title;
    QString text; // what is being done: "Reading the contacts..."
};

// The window of a long piece of work, with a Cancel button. It shows only
// once the work has lasted a moment, and being modal it keeps the person
// from changing the records meanwhile; it closes when destroyed.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Shows `done` of `total`; false once the person has cancelled.
    virtual bool step(qint64 done, qint64 total) = 0;
};

class PromptService {
public:
    virtual ~PromptService() = default;
    virtual Answer message(const MessagePrompt& prompt) = 0;
    // The chosen file's path, or "" when the user cancelled.
    virtual QString openFile(const OpenFilePrompt& prompt) = 0;
    // The file to write; a service without a save dialog answers as if the
    // user cancelled, so one that predates it needs no change.
    virtual SaveFileChoice saveFile(const SaveFilePrompt& prompt)
    {
        (void)prompt;
        return {};
    }
    // The password typed, shown hidden as it is typed; std::nullopt when the
    // person cancelled. A service without a password input answers so.
    virtual std::optional<QString> password(const PasswordPrompt& prompt)
    {
        (void)prompt;
        return std::nullopt;
    }
    // Shows the dialog modally and returns when it has been closed.
    virtual void showModal(QDialog& dialog) = 0;
    // A progress window; a service without one gives a window that shows
    // nothing and is never cancelled.
    virtual std::unique_ptr<ProgressWindow> progress(const ProgressPrompt& prompt);
};

PromptService& prompts();
// Replaces the service; returns the previous one. Tests install their own.
std::unique_ptr<PromptService> installPrompts(std::unique_ptr<PromptService> service);

// The message box of the program: an empty title means the program's title.
Answer MsgBox(const QString& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
              const QString& title = QString());

} // namespace platform
