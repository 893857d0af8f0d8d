#include "qt_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>

#include <algorithm>

namespace platform {
namespace {

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::OK:
        break;
    }
    return QMessageBox::Ok;
}

// "*.dbx|*.dbx" becomes "*.dbx (*.dbx)", one Qt filter per pair.
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (")
                   + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))
                   + QLatin1Char(')');
    return out.join(QStringLiteral(";;"));
}

class QtProgressWindow final : public ProgressWindow {
public:
    explicit QtProgressWindow(const ProgressPrompt& prompt)
        : m_dialog(prompt.text, QStringLiteral("Cancel"), 0, kSteps, QApplication::activeWindow())
    {
        m_dialog.setWindowTitle(prompt.title);
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setValue(0);
    }

    bool step(qint64 done, qint64 total) override
    {
        // The dialog handles events at each new value, so it gets at most
        // kSteps of them however many contacts there are.
        const int value =
            total > 0 ? int(std::clamp<qint64>(done * kSteps / total, 0, kSteps)) : kSteps;
        if (value != m_dialog.value())
            m_dialog.setValue(value);
        return !m_dialog.wasCanceled();
    }

private:
    static constexpr int kSteps = 1000;
    QProgressDialog m_dialog;
};

} // namespace

Answer QtPrompts::message(const MessagePrompt& prompt)
{
    QMessageBox box(qtIcon(prompt.icon), prompt.title, prompt.text, qtButtons(prompt.buttons),
                    QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Ok:
        return Answer::OK;
    default:
        break;
    }
    // Closed from the title bar: the safest answer the box offers.
    return prompt.buttons == Buttons::OK      ? Answer::OK
           : prompt.buttons == Buttons::YesNo ? Answer::No
                                              : Answer::Cancel;
}

QString QtPrompts::openFile(const OpenFilePrompt& prompt)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), prompt.title,
                                        prompt.initialFolder, qtFilter(prompt.filter));
}

SaveFileChoice QtPrompts::saveFile(const SaveFilePrompt& prompt)
{
    const QStringList filters = qtFilter(prompt.filter).split(QStringLiteral(";;"));
    QString chosen = filters.value(0);
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), prompt.title, prompt.initialPath,
                                     filters.join(QStringLiteral(";;")), &chosen);
    return {path, int(std::max(qsizetype(0), filters.indexOf(chosen)))};
}

std::optional<QString> QtPrompts::password(const PasswordPrompt& prompt)
{
    QInputDialog box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("PasswordBox"));
    box.setWindowTitle(prompt.title);
    box.setLabelText(prompt.text);
    box.setTextEchoMode(QLineEdit::Password);
    // The dialog's own field has no name a screen reader could say.
    if (auto* field = box.findChild<QLineEdit*>())
        field->setAccessibleName(prompt.text);
    box.setMinimumWidth(380);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

void QtPrompts::showModal(QDialog& dialog)
{
    dialog.exec();
}

std::unique_ptr<ProgressWindow> QtPrompts::progress(const ProgressPrompt& prompt)
{
    return std::make_unique<QtProgressWindow>(prompt);
}

} // namespace platform
