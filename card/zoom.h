#pragma once
// The zoom command: the card's focused field edited in the zoom editor.

class QWidget;

namespace modGenProcedures {

// Edits `ctrl`, a field of the card `frm`, in the zoom editor; OK with a
// text writes it back and marks the record changed, as typing does.
void Zoom(QWidget* ctrl, QWidget* frm);

} // namespace modGenProcedures
