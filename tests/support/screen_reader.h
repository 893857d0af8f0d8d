#pragma once
// A screen reader for tests: switches Qt's accessibility on, as a desktop's
// screen reader does, and hears, while it lives, the alerts and name changes
// that reach assistive technology.

#include <QAccessible>
#include <QStringList>

namespace testing_support {

class ScreenReader {
public:
    // Hears every alert, and the name changes of objects named `objectName`.
    explicit ScreenReader(const QString& objectName);
    ~ScreenReader();

    // What was heard since the last call: names as they became, alerts as
    // "alert: ", their title and their texts ("alert: Save: Not saved.").
    QStringList take();

private:
    static void hear(QAccessibleEvent* event);

    QString m_objectName;
    QStringList m_heard;
    QAccessible::UpdateHandler m_previous = nullptr;
};

} // namespace testing_support
