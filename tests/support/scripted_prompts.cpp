#include "scripted_prompts.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <limits>

namespace testing_support {
namespace {

class ScriptedProgress final : public platform::ProgressWindow {
public:
    explicit ScriptedProgress(qint64 cancelAt) : m_cancelAt(cancelAt) {}
    bool step(qint64 done, qint64) override { return done < m_cancelAt; }

private:
    qint64 m_cancelAt;
};

} // namespace

ScriptedPrompts::ScriptedPrompts()
{
    m_previous = platform::installPrompts(std::unique_ptr<platform::PromptService>(this));
}

ScriptedPrompts::~ScriptedPrompts()
{
    EXPECT_TRUE(m_script.empty()) << m_script.size() << " scripted answer(s) were never asked for";
    // Hand the slot back without deleting ourselves: the test owns us.
    platform::installPrompts(std::move(m_previous)).release();
}

ScriptedPrompts& ScriptedPrompts::answerMessage(platform::Answer answer,
                                                std::function<void()> meanwhile)
{
    m_script.emplace_back(MessageAnswer{answer, std::move(meanwhile)});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerOpenFile(const QString& path)
{
    m_script.emplace_back(path);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerSaveFile(const QString& path, int filterIndex)
{
    m_script.emplace_back(platform::SaveFileChoice{path, filterIndex});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerPassword(std::optional<QString> typed)
{
    m_script.emplace_back(PasswordAnswer{std::move(typed)});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::handleModal(std::function<void(QDialog&)> handler)
{
    m_script.emplace_back(std::move(handler));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::cancelProgress(qint64 done)
{
    m_script.emplace_back(ProgressCancel{done});
    return *this;
}

std::vector<RecordedPrompt> ScriptedPrompts::messages() const
{
    std::vector<RecordedPrompt> out;
    for (const RecordedPrompt& p : m_recorded) {
        if (p.kind == QLatin1String("message"))
            out.push_back(p);
    }
    return out;
}

template <typename Step>
std::optional<Step> ScriptedPrompts::next()
{
    if (m_script.empty() || !std::holds_alternative<Step>(m_script.front())) {
        const RecordedPrompt& p = m_recorded.back();
        ADD_FAILURE() << "unexpected prompt: " << p.kind.toStdString() << " \""
                      << p.title.toStdString() << "\": " << p.text.toStdString();
        return std::nullopt;
    }
    Step step = std::get<Step>(std::move(m_script.front()));
    m_script.pop_front();
    return step;
}

platform::Answer ScriptedPrompts::message(const platform::MessagePrompt& prompt)
{
    m_recorded.push_back(
        {QStringLiteral("message"), prompt.title, prompt.text, prompt.buttons, prompt.icon});
    const std::optional<MessageAnswer> scripted = next<MessageAnswer>();
    if (!scripted) {
        return prompt.buttons == platform::Buttons::OK      ? platform::Answer::OK
               : prompt.buttons == platform::Buttons::YesNo ? platform::Answer::No
                                                            : platform::Answer::Cancel;
    }
    if (scripted->meanwhile)
        scripted->meanwhile();
    return scripted->answer;
}

QString ScriptedPrompts::openFile(const platform::OpenFilePrompt& prompt)
{
    m_recorded.push_back({QStringLiteral("openFile"), prompt.title, prompt.filter});
    return next<QString>().value_or(QString());
}

platform::SaveFileChoice ScriptedPrompts::saveFile(const platform::SaveFilePrompt& prompt)
{
    m_recorded.push_back({QStringLiteral("saveFile"), prompt.title, prompt.filter});
    return next<platform::SaveFileChoice>().value_or(platform::SaveFileChoice{});
}

std::optional<QString> ScriptedPrompts::password(const platform::PasswordPrompt& prompt)
{
    m_recorded.push_back({QStringLiteral("password"), prompt.title, prompt.text});
    const std::optional<PasswordAnswer> scripted = next<PasswordAnswer>();
    return scripted ? scripted->typed : std::nullopt;
}

void ScriptedPrompts::showModal(QDialog& dialog)
{
    m_recorded.push_back({QStringLiteral("modal"), dialog.windowTitle(), dialog.objectName()});
    if (const auto handler = next<ModalHandler>())
        (*handler)(dialog);
    else
        dialog.reject();
}

std::unique_ptr<platform::ProgressWindow>
ScriptedPrompts::progress(const platform::ProgressPrompt& prompt)
{
    m_recorded.push_back({QStringLiteral("progress"), prompt.title, prompt.text});
    qint64 cancelAt = std::numeric_limits<qint64>::max();
    if (!m_script.empty() && std::holds_alternative<ProgressCancel>(m_script.front())) {
        cancelAt = std::get<ProgressCancel>(m_script.front()).done;
        m_script.pop_front();
    }
    return std::make_unique<ScriptedProgress>(cancelAt);
}

} // namespace testing_support
