#include "qt_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

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

void QtPrompts::showModal(QDialog& dialog)
{
    dialog.exec();
}

} // namespace platform
