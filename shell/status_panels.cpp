#include "status_panels.h"

#include "lock_keys.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace tovren {

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("stbMain"));
    setSizeGripEnabled(true);
    addPanel(QStringLiteral("Tovren address book \u00b7 Belvane"), 1, QStringLiteral("Status"));
    addPanel(QStringLiteral("INS"), 0, QStringLiteral("Insert key"));
    addPanel(QStringLiteral("CAPS"), 0, QStringLiteral("Caps Lock"));
    addPanel(QStringLiteral("NUM"), 0, QStringLiteral("Num Lock"));
    addPanel(QString(), 0, QStringLiteral("Time"));
    addPanel(QString(), 0, QStringLiteral("Date"));

    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &StatusPanels::refresh);
    clock->start(1000);
    // Key presses anywhere in the program keep the key panels current at once.
    qApp->installEventFilter(this);
    refresh();
}

StatusPanels::~StatusPanels()
{
    qApp->removeEventFilter(this);
}

QLabel* StatusPanels::addPanel(const QString& text, int stretch, const QString& description)
{
    auto* label = new QLabel(text, this);
    // A screen reader reads what the pane is after what it shows ("CAPS, Caps Lock").
    label->setAccessibleDescription(description);
    label->setObjectName(QStringLiteral("stbPanel%1").arg(m_panels.size() + 1));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setContentsMargins(6, 0, 6, 0);
    if (stretch)
        addWidget(label, stretch);
    else
        addPermanentWidget(label);
    m_panels << label;
    return label;
}

QLabel* StatusPanels::panel(int number) const
{
    return m_panels.value(number - 1);
}

void StatusPanels::showNotice(const QString& text)
{
    panel(1)->setText(text);
    panel(1)->setToolTip(text);
}

void StatusPanels::refresh()
{
    if (const auto keys = readLockKeys()) {
        m_caps = keys->caps;
        m_num = keys->num;
    }
    panel(2)->setEnabled(m_insert);
    panel(3)->setEnabled(m_caps);
    panel(4)->setEnabled(m_num);
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    panel(5)->setText(locale.toString(now.time(), QLocale::ShortFormat));
    panel(6)->setText(locale.toString(now.date(), QLocale::ShortFormat));
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event)
{
    // Each key reaches its top-level window once, whatever widget then takes it.
    if (event->type() != QEvent::KeyPress || !watched->isWindowType())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat())
        return false;
    switch (key->key()) {
    case Qt::Key_Insert:
        m_insert = !m_insert;
        break;
    // Without the windowing system's word on the lock keys, follow them by hand.
    case Qt::Key_CapsLock:
        m_caps = !m_caps;
        break;
    case Qt::Key_NumLock:
        m_num = !m_num;
        break;
    default:
        return false;
    }
    refresh();
    return false;
}

} // namespace tovren
