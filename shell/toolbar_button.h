#pragma once
// One button of the main toolbar: a key that commands find it by, and the
// two looks beyond enabled and disabled that the toolbar state uses: mixed
// (a query is being entered) and pressed.

#include "toolbar_table.h"

#include <QToolButton>

namespace tovren {

class TbrButton : public QToolButton {
    Q_OBJECT
public:
    TbrButton(const ToolbarRow& row, QWidget* parent = nullptr);

    int index() const { return m_index; }
    const QString& key() const { return m_key; }
    bool isSeparator() const { return m_style == ButtonStyle::Separator; }

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
    ButtonStyle m_style;
    bool m_mixed = false;
};

} // namespace tovren
