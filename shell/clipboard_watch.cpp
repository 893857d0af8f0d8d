// The timer that keeps Cut, Copy and Paste in step with the focused field's
// selection and with the clipboard.

#include "mdimain.h"

#include "core/active_control.h"
#include "core/program.h"
#include "core/toolbar_button.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void mdiMain::watchClipboard()
{
    // The clipboard is read when it changes, not on every tick: asking
    // another program for its selection ten times a second would make the
    // window wait on it.
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto read = [this, clipboard] {
        const QMimeData* data = clipboard->mimeData();
        m_clipboardHasText = data && data->hasText() && !data->text().isEmpty();
    };
    connect(clipboard, &QClipboard::dataChanged, this, read);
    read();
}

void mdiMain::tmrTbr_Timer()
{
    using tovren::Cmd;
    const auto setCutCopy = [this](bool on) {
        for (const Cmd command : {Cmd::Cut, Cmd::PopupCut, Cmd::Copy, Cmd::PopupCopy})
            menuItem(command)->setEnabled(on);
        button(Cmd::Cut)->setEnabled(on);
        button(Cmd::Copy)->setEnabled(on);
    };
    const auto setPaste = [this](bool on) {
        button(Cmd::Paste)->setEnabled(on);
        menuItem(Cmd::Paste)->setEnabled(on);
        menuItem(Cmd::PopupPaste)->setEnabled(on);
    };

    if (modGenProcedures::nOpenCards == 0) {
        setCutCopy(false);
        setPaste(false);
        return;
    }
    // While a card is open Paste is only ever switched on here; a restored
    // toolbar state may switch it off again.
    if (m_clipboardHasText)
        setPaste(true);

    // A tick that finds no card, no focused control or a control without a
    // text selection (a lookup combo, a button) leaves Cut and Copy alone.
    const QWidget* card = ActiveForm();
    const QWidget* control = card ? card->focusWidget() : nullptr;
    if (const std::optional<int> selected = tovren::selectionLength(control))
        setCutCopy(*selected > 0);
}
