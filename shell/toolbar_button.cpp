#include "toolbar_button.h"

#include <QDir>
#include <QPainter>
#include <QStyleOption>

namespace tovren {
namespace {

QIcon imageIcon(int image)
{
    if (image <= 0)
        return QIcon();
    const QStringList found =
        QDir(QStringLiteral(":/icons"))
            .entryList({QStringLiteral("%1-*.svg").arg(image, 2, 10, QLatin1Char('0'))});
    return found.isEmpty() ? QIcon() : QIcon(QStringLiteral(":/icons/") + found.first());
}

} // namespace

TbrButton::TbrButton(const ToolbarRow& row, QWidget* parent)
    : QToolButton(parent), m_index(row.index), m_key(QString::fromLatin1(row.key)),
      m_style(row.style)
{
    setObjectName(QStringLiteral("tbrButton_%1").arg(row.index));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setCheckable(true);
    setIcon(imageIcon(row.image));
    setIconSize(QSize(24, 24));
    setToolTip(QString::fromLatin1(row.tooltip));
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
