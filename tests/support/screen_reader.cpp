#include "screen_reader.h"

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QtGui/qpa/qwindowsysteminterface.h>

#include <utility>

namespace testing_support {
namespace {

ScreenReader* g_reader = nullptr;

// An alert as a screen reader reads it: its title, then the texts it shows.
QString alertText(QAccessibleInterface& alert)
{
    QStringList parts{alert.text(QAccessible::Name)};
    for (int i = 0; i < alert.childCount(); ++i) {
        QAccessibleInterface* child = alert.child(i);
        if (child->role() == QAccessible::StaticText && !child->text(QAccessible::Name).isEmpty())
            parts << child->text(QAccessible::Name);
    }
    return parts.join(QStringLiteral(": "));
}

// Qt tells assistive technology only while the platform says one listens.
void setListening(bool on)
{
    if (QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility())
        platform->setActive(on);
}

} // namespace

ScreenReader::ScreenReader(bool followFocus) : m_followFocus(followFocus)
{
    g_reader = this;
    m_previous = QAccessible::installUpdateHandler(&ScreenReader::hear);
    setListening(true);
}

ScreenReader::~ScreenReader()
{
    setListening(false);
    QAccessible::installUpdateHandler(m_previous);
    g_reader = nullptr;
}

QStringList ScreenReader::take()
{
    return std::exchange(m_heard, {});
}

void ScreenReader::hear(QAccessibleEvent* event)
{
    QAccessibleInterface* face = event->accessibleInterface();
    if (!g_reader || !face)
        return;
    if (event->type() == QAccessible::Alert)
        g_reader->m_heard << QStringLiteral("alert: ") + alertText(*face);
    else if (event->type() == QAccessible::ObjectShow && face->role() == QAccessible::Notification)
        g_reader->m_heard << face->text(QAccessible::Name);
    else if (event->type() == QAccessible::Focus && g_reader->m_followFocus)
        g_reader->m_heard << QStringLiteral("focus: ") + face->text(QAccessible::Name);
}

void giveKeyboardTo(QWindow* window)
{
    QWindowSystemInterface::handleWindowActivated(window);
    QWindowSystemInterface::flushWindowSystemEvents();
}

} // namespace testing_support
