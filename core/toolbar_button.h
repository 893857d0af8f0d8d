#pragma once
// One button of the main toolbar: a key that commands find it by, and the
// two looks beyond enabled and disabled that the toolbar state uses: mixed
// (a query is being entered) and pressed.

#include "commands.h"

#include <QToolButton>

namespace tovren {

class TbrButton : public QToolButton {
    Q_OBJECT
public:
    // The button at `index` (from 1) of the toolbar.
    TbrButton(int index, const ToolbarSlot& slot, QWidget* parent = nullptr);

    int index() const { return m_index; }
    const QString& key() const { return m_key; }
    bool isSeparator() const { return m_separator; }

    bool mixedState() const { return m_mixed; }
    void setMixedState(bool on);
    // The pressed look ("Value" of the button).
    bool value() const { return isChecked(); }
    void setValue(bool pressed);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Clicking never toggles the pressed look; only the toolbar state does.
    void nextCheckState() override {}

private:
    int m_index;
    QString m_key;
    bool m_separator;
    bool m_mixed = false;
};

} // namespace tovren
