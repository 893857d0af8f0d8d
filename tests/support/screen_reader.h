#pragma once
// A screen reader for tests: switches Qt's accessibility on, as a desktop's
// screen reader does, and hears, while it lives, what Orca reads away from
// the focus: alerts, and notifications as they show. (Orca passes over name
// changes of labels.)

#include <QAccessible>
#include <QStringList>

class QWindow;

namespace testing_support {

class ScreenReader {
public:
    // Following the focus, it also hears each focus as "focus: " and its name.
    explicit ScreenReader(bool followFocus = false);
    ~ScreenReader();

    // What was heard since the last call: notifications by their names,
    // alerts as "alert: ", their title and their texts ("alert: Save: Not saved.").
    QStringList take();

private:
    static void hear(QAccessibleEvent* event);

    bool m_followFocus;
    QStringList m_heard;
    QAccessible::UpdateHandler m_previous = nullptr;
};

// The desktop gives the keyboard to `window`, as when a menu opens or closes.
void giveKeyboardTo(QWindow* window);

} // namespace testing_support
