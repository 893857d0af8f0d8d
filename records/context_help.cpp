#include "context_help.h"

#include "platform/help.h"

#include <QKeyEvent>
#include <QWidget>

namespace records {
namespace {

const char* const kTopicProperty = "HelpContextID";

// Sees the F1 that the focused control left unhandled on its way up to
// the dialog.
class HelpKey : public QObject {
public:
    explicit HelpKey(QWidget& dialog) : QObject(&dialog), m_dialog(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress
            || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::HelpContents))
            return QObject::eventFilter(watched, event);
        QWidget* focused = m_dialog.focusWidget();
        platform::showHelp(helpTopic(focused ? focused : &m_dialog));
        return true;
    }

private:
    QWidget& m_dialog;
};

} // namespace

void setHelpTopic(QWidget& control, int topic)
{
    control.setProperty(kTopicProperty, topic);
}

int helpTopic(const QWidget* control)
{
    for (; control; control = control->parentWidget()) {
        const int topic = control->property(kTopicProperty).toInt();
        if (topic > 0)
            return topic;
    }
    return 0;
}

void installHelpKey(QWidget& dialog)
{
    dialog.installEventFilter(new HelpKey(dialog));
}

} // namespace records
