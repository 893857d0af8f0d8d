#include "toolbar_button.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QStyleOption>

namespace tovren {
namespace {

// A command's button is a button that presses, its pressed look a toggle;
// Qt would present a checkable button as a check box.
class CommandButtonFace final : public QAccessibleWidget {
public:
    explicit CommandButtonFace(TbrButton* button) : QAccessibleWidget(button, QAccessible::Button)
    {}
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button().value();
        return state;
    }
    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && button().isEnabled())
            button().click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    TbrButton& button() const { return *static_cast<TbrButton*>(widget()); }
};

// A separator or a blank holds its place among the buttons but is no
// button to a screen reader.
QAccessibleInterface* buttonFace(const QString& className, QObject* object)
{
    auto* button = qobject_cast<TbrButton*>(object);
    if (className != QLatin1String("tovren::TbrButton") || !button)
        return nullptr;
    if (button->key().isEmpty())
        return new QAccessibleWidget(button, QAccessible::Separator);
    return new CommandButtonFace(button);
}

} // namespace

TbrButton::TbrButton(int index, const ToolbarSlot& slot, QWidget* parent)
    : QToolButton(parent), m_index(index), m_separator(slot.kind == ToolbarSlot::Kind::Separator)
{
    // Before anything asks for this button's face: the first ask keeps it.
    static const bool installed = (QAccessible::installFactory(buttonFace), true);
    (void)installed;
    setObjectName(QStringLiteral("tbrButton_%1").arg(index));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setCheckable(true);
    setIconSize(QSize(24, 24));
    if (slot.kind == ToolbarSlot::Kind::Button) {
        const Command& c = command(slot.command);
        m_key = QString::fromLatin1(c.key);
        setToolTip(QString::fromLatin1(c.tooltip));
        // The button shows an image alone: its tooltip names it.
        setAccessibleName(toolTip());
    }
    if (isSeparator())
        setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TbrButton::setMixedState(bool on)
{
    if (m_mixed == on)
        return;
    m_mixed = on;
    update();
}

void TbrButton::setValue(bool pressed)
{
    setChecked(pressed);
}

QSize TbrButton::sizeHint() const
{
    const QSize normal = QToolButton::sizeHint();
    return isSeparator() ? QSize(8, normal.height()) : normal;
}

void TbrButton::paintEvent(QPaintEvent* event)
{
    if (isSeparator()) {
        QPainter painter(this);
        QStyleOption option;
        option.initFrom(this);
        option.rect = QRect(width() / 2 - 1, 3, 2, height() - 6);
        option.state |= QStyle::State_Horizontal;
        style()->drawPrimitive(QStyle::PE_IndicatorToolBarSeparator, &option, &painter, this);
        return;
    }
    QToolButton::paintEvent(event);
    if (!m_mixed)
        return;
    // The mixed look: a sunken frame over a dotted field, so the button reads
    // as "in a special mode" at a glance while its picture stays visible.
    QPainter painter(this);
    const QRect area = rect().adjusted(1, 1, -2, -2);
    QColor dots = palette().color(QPalette::Highlight);
    dots.setAlpha(110);
    painter.fillRect(area, QBrush(dots, Qt::Dense5Pattern));
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
    painter.drawRect(area);
}

} // namespace tovren
