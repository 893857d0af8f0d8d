#include "announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QTimer>
#include <QWindow>

namespace tovren {
namespace {

QAccessibleInterface* notificationOf(const QString& className, QObject* object)
{
    if (className == QLatin1String("tovren::Announcer"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* frame) : QWidget(frame)
{
    static const bool installed = (QAccessible::installFactory(&notificationOf), true);
    (void)installed;
    setObjectName(QStringLiteral("announcer"));
    hide(); // never drawn, never focused: it is there for assistive technology
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) {
        // After the desktop's report of the window, which comes with this change.
        if (now && now == window()->windowHandle() && QAccessible::isActive())
            QTimer::singleShot(0, this, &Announcer::tellFocus);
    });
}

void Announcer::say(const QString& text)
{
    setAccessibleName(text);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void Announcer::tellFocus()
{
    if (QWidget* focused = QApplication::focusWidget(); focused && focused->window() == window()) {
        QAccessibleEvent focus(focused, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

} // namespace tovren
