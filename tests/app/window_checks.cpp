#include "window_checks.h"

#include "core/contrast.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QWidget>

namespace testing_support {
namespace {

QString nameOf(const QWidget& widget)
{
    return widget.objectName().isEmpty() ? QString::fromLatin1(widget.metaObject()->className())
                                         : widget.objectName();
}

// A part of a control that the control speaks for: the text of a combo,
// the cells of a calendar, a spin box's editor.
bool insideCompound(const QWidget& widget, const QWidget& window)
{
    for (QWidget* up = widget.parentWidget(); up && up != &window; up = up->parentWidget()) {
        if (qobject_cast<QComboBox*>(up) || qobject_cast<QAbstractSpinBox*>(up)
            || qobject_cast<QCalendarWidget*>(up) || qobject_cast<QAbstractItemView*>(up))
            return true;
    }
    return false;
}

// What a person acts on: anything Tab reaches, and every button.
bool isControl(const QWidget& widget, const QWidget& window)
{
    return widget.isVisibleTo(&window) && !widget.focusProxy()
           && ((widget.focusPolicy() & Qt::TabFocus)
               || qobject_cast<const QAbstractButton*>(&widget))
           && !insideCompound(widget, window);
}

bool hasWords(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// The role a screen reader announces as nothing in particular.
bool isGeneric(QAccessible::Role role)
{
    return role == QAccessible::NoRole || role == QAccessible::Client || role == QAccessible::Pane
           || role == QAccessible::Grouping;
}

QRect inWindow(const QWidget& widget, const QWidget& window)
{
    return QRect(widget.mapTo(&window, QPoint(0, 0)), widget.size());
}

// Tab may go from `from` to `to` when `to` comes later in reading order (a
// row below, or to the right within the row) or heads a column that lies
// wholly to the right (the buttons beside a dialog's fields).
bool readsOn(const QRect& from, const QRect& to)
{
    const bool sameRow = from.top() <= to.center().y() && to.top() <= from.center().y();
    return sameRow ? from.left() < to.left() : from.top() < to.top() || to.left() > from.right();
}

// A widget that shows text or takes input, shown within the window.
bool shows(const QWidget& widget, const QWidget& window)
{
    return widget.isVisibleTo(&window) && !widget.isWindow() && !insideCompound(widget, window)
           && (qobject_cast<const QLabel*>(&widget) || qobject_cast<const QAbstractButton*>(&widget)
               || widget.focusPolicy() != Qt::NoFocus);
}

// Its text does not fit: a label or a field smaller than its text needs, a
// caption wider or taller than its button.
bool isCut(const QWidget& widget)
{
    const auto* button = qobject_cast<const QAbstractButton*>(&widget);
    if (button && button->text().isEmpty())
        return false; // an image alone
    if (!button) {
        // A text that wraps needs the height of its lines at the width it has.
        const QSize least = widget.hasHeightForWidth()
                                ? QSize(0, widget.heightForWidth(widget.width()))
                                : widget.minimumSizeHint();
        return widget.height() < least.height()
               || (qobject_cast<const QLabel*>(&widget) && widget.width() < least.width());
    }
    // A button's style asks for room beyond its caption that the caption can do without.
    const QSize caption =
        widget.fontMetrics().size(Qt::TextShowMnemonic, button->text()) + QSize(4, 0);
    return caption.width() > widget.width() || caption.height() > widget.height();
}

// Labels and check boxes draw their text on what their parents paint.
bool isTransparent(const QWidget& widget)
{
    return qobject_cast<const QLabel*>(&widget) || qobject_cast<const QCheckBox*>(&widget)
           || qobject_cast<const QRadioButton*>(&widget) || qobject_cast<const QGroupBox*>(&widget);
}

QColor background(const QWidget& widget)
{
    const QWidget* painter = &widget;
    while (isTransparent(*painter) || !(painter->autoFillBackground() || painter->isWindow()))
        painter = painter->parentWidget();
    return isTransparent(widget) ? painter->palette().color(painter->backgroundRole())
                                 : widget.palette().color(widget.backgroundRole());
}

// The words of a document whose own colours do not read on `paper`, each
// pair of colours told once.
void documentFaults(const QWidget& widget, const QTextDocument& document, const QColor& paper,
                    QStringList& faults)
{
    const QColor text = widget.palette().color(QPalette::Text);
    QSet<QString> seen;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QBrush blockBack = block.blockFormat().background();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QColor back = format.background().style() != Qt::NoBrush
                                    ? format.background().color()
                                : blockBack.style() != Qt::NoBrush ? blockBack.color()
                                                                   : paper;
            const QColor fore =
                format.foreground().style() != Qt::NoBrush ? format.foreground().color() : text;
            const QString colours = fore.name() + QStringLiteral(" on ") + back.name();
            if (tovren::contrastRatio(fore, back) < tovren::kReadableContrast
                && !seen.contains(colours)) {
                seen << colours;
                faults << QStringLiteral("%1: %2 (\"%3\")")
                              .arg(nameOf(widget), colours, it.fragment().text().left(20));
            }
        }
    }
}

} // namespace

QStringList accessibilityFaults(QWidget& window)
{
    QStringList faults;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!isControl(*widget, window))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        if (face && face->role() == QAccessible::Separator)
            continue;
        if (!face || !hasWords(face->text(QAccessible::Name)))
            faults << nameOf(*widget) + QStringLiteral(": no name");
        else if (isGeneric(face->role()))
            faults << nameOf(*widget) + QStringLiteral(": no role");
    }
    // Tab order: each control Tab reaches comes after the one before it.
    QList<QWidget*> stops;
    QWidget* previous = nullptr;
    for (QWidget* next = window.nextInFocusChain(); next != &window;
         next = next->nextInFocusChain()) {
        if (!window.isAncestorOf(next) || !next->isEnabled() || !isControl(*next, window)
            || !(next->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous && !readsOn(inWindow(*previous, window), inWindow(*next, window)))
            faults << QStringLiteral("Tab: %1 after %2").arg(nameOf(*next), nameOf(*previous));
        previous = next;
        stops << next;
    }
    // No control keeps the focus from Tab for long (a label steps through
    // its links first).
    for (QWidget* stop : stops.size() > 1 ? stops : QList<QWidget*>()) {
        stop->setFocus(Qt::TabFocusReason);
        for (int press = 0; press < 4 && window.focusWidget() == stop; ++press)
            QTest::keyClick(stop, Qt::Key_Tab);
        if (window.focusWidget() == stop)
            faults << QStringLiteral("%1: keeps Tab").arg(nameOf(*stop));
    }
    return faults;
}

QStringList layoutFaults(QWidget& window)
{
    QStringList faults;
    const QRect screen = window.screen()->availableGeometry();
    if (!screen.contains(window.frameGeometry()))
        faults << QStringLiteral("%1: larger than the screen").arg(nameOf(window));
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!shows(*widget, window))
            continue;
        if (isCut(*widget))
            faults << QStringLiteral("%1: cut off").arg(nameOf(*widget));
        QWidget* parent = widget->parentWidget();
        if (!parent->rect().contains(widget->geometry()))
            faults << QStringLiteral("%1: outside %2").arg(nameOf(*widget), nameOf(*parent));
        const QObjectList& siblings = parent->children();
        for (qsizetype i = 0; siblings[i] != widget; ++i) {
            auto* sibling = qobject_cast<QWidget*>(siblings[i]);
            if (sibling && shows(*sibling, window)
                && sibling->geometry().intersects(widget->geometry()))
                faults << QStringLiteral("%1: over %2").arg(nameOf(*widget), nameOf(*sibling));
        }
    }
    return faults;
}

QStringList contrastFaults(QWidget& window)
{
    QStringList faults;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* widget : widgets) {
        if ((widget != &window && !shows(*widget, window)) || !widget->isEnabled())
            continue;
        if (qobject_cast<const QScrollArea*>(widget))
            continue; // a frame for other controls
        // A list or a document shows its text on its viewport.
        const auto* scrolled = qobject_cast<const QAbstractScrollArea*>(widget);
        const QColor fore =
            widget->palette().color(scrolled ? QPalette::Text : widget->foregroundRole());
        const QColor back = scrolled ? background(*scrolled->viewport()) : background(*widget);
        if (tovren::contrastRatio(fore, back) < tovren::kReadableContrast)
            faults << QStringLiteral("%1: %2 on %3").arg(nameOf(*widget), fore.name(), back.name());
        if (const auto* edit = qobject_cast<const QTextEdit*>(widget))
            documentFaults(*edit, *edit->document(), back, faults);
    }
    return faults;
}

} // namespace testing_support
