#pragma once
// The status bar of the main window: a credit line, the Insert, Caps Lock
// and Num Lock states, the time and the date. It keeps itself up to date;
// no command writes to it, and only start-up may put a notice in the credit
// line's place.

#include <QStatusBar>

class QLabel;

namespace tovren {

class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent = nullptr);
    ~StatusPanels() override;

    // Panels 1 to 6, left to right.
    QLabel* panel(int number) const;
    // A word for the whole run that asks nothing, in the credit line's place.
    void showNotice(const QString& text);

    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* addPanel(const QString& text, int stretch, const QString& description);

    QVector<QLabel*> m_panels;
    bool m_insert = true;
    bool m_caps = false;
    bool m_num = false;
};

} // namespace tovren
