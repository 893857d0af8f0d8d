#include "mdimain.h"

#include "announcer.h"
#include "status_panels.h"

#include "core/toolbar_button.h"
#include "core/traced.h"
#include "platform/help.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

mdiMain* g_instance = nullptr;
const QKeySequence kCloseChildKeys(Qt::CTRL | Qt::Key_F4);

// The toolbar's picture `image`, from the icons named by their number.
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

mdiMain::mdiMain(QWidget* parent) : QMainWindow(parent)
{
    Q_INIT_RESOURCE(icons);
    g_instance = this;
    tovren::setFrame(this);
    setObjectName(QStringLiteral("mdiMain"));
    setWindowTitle(QStringLiteral("Tovren"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tovren.svg")));
    // A screen at a high scale may be smaller than the window was drawn
    // for: it then fits the screen, with room for the window's frame.
    resize(QSize(1180, 760).boundedTo(screen()->availableGeometry().size() - QSize(16, 48)));

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &mdiMain::childActivated);

    createMenus();
    createToolBar();
    m_stbMain = new tovren::StatusPanels(this);
    setStatusBar(m_stbMain);
    m_announcer = new tovren::Announcer(this);

    m_tmrTbr = new QTimer(this);
    m_tmrTbr->setObjectName(QStringLiteral("tmrTbr"));
    m_tmrTbr->setInterval(100);
    connect(m_tmrTbr, &QTimer::timeout, this, &mdiMain::tmrTbr_Timer);
    watchClipboard();
    m_tmrTbr->start();

    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [] { platform::showHelp(); });
    // Ctrl+F4 closes the active child window, as in every multiple-document
    // program, by the same path as its close box, wherever the focus is.
    auto* closeChild = new QShortcut(kCloseChildKeys, this);
    connect(closeChild, &QShortcut::activated, m_mdiArea, &QMdiArea::closeActiveSubWindow);
}

mdiMain::~mdiMain()
{
    // QWidget's destructor hides the child windows, and the area then
    // reports a change of active child to a frame that is no longer whole.
    m_mdiArea->disconnect(this);
    m_tmrTbr->stop();
    if (g_instance == this)
        g_instance = nullptr;
    if (tovren::frame() == this)
        tovren::setFrame(nullptr);
}

mdiMain* mdiMain::instance()
{
    return g_instance;
}

void mdiMain::closeEvent(QCloseEvent* event)
{
    // The close box closes the child windows first, each by its own path:
    // a card with unsaved changes asks, and Cancel keeps the program open.
    m_mdiArea->closeAllSubWindows();
    if (m_mdiArea->subWindowList().isEmpty())
        event->accept();
    else
        event->ignore();
}

void mdiMain::createMenus()
{
    using Kind = tovren::MenuEntry::Kind;
    QMenu* current = nullptr;
    for (const tovren::MenuEntry& entry : tovren::menuTree()) {
        if (entry.kind == Kind::Menu) {
            const QString name = QString::fromLatin1(entry.name);
            current = new QMenu(QString::fromLatin1(entry.caption), this);
            current->setObjectName(name);
            current->menuAction()->setObjectName(name);
            if (entry.onTheBar)
                menuBar()->addMenu(current);
            m_menus.insert(name, current);
            m_menuItems.insert(name, current->menuAction());
            continue;
        }
        if (entry.kind == Kind::Separator) {
            // A separator is a line, never a "-" text.
            QAction* line = current->addSeparator();
            line->setObjectName(QString::fromLatin1(entry.name));
            m_menuItems.insert(line->objectName(), line);
            continue;
        }
        const tovren::Command& command = tovren::command(entry.command);
        QAction* item = current->addAction(QString::fromLatin1(command.caption));
        item->setObjectName(QString::fromLatin1(command.item));
        item->setShortcut(QKeySequence(QString::fromLatin1(command.shortcut)));
        item->setEnabled(command.enabledAtStart);
        m_menuItems.insert(item->objectName(), item);
        m_commandItems[size_t(entry.command)] = item;
    }
    // The pop-up menu of the lookup combos opens with its Edit item as the default.
    QAction* edit = menuItem(tovren::Cmd::PopupEdit);
    QFont bold = edit->font();
    bold.setBold(true);
    edit->setFont(bold);
    QMenu* window = m_menus.value(QStringLiteral("mnuWin"));
    connect(window, &QMenu::aboutToShow, this, &mdiMain::fillWindowMenu);
}

void mdiMain::fillWindowMenu()
{
    QMenu* window = m_menus.value(QStringLiteral("mnuWin"));
    window->clear();
    const auto children = m_mdiArea->subWindowList();
    for (int i = 0; i < children.size(); ++i) {
        QMdiSubWindow* child = children[i];
        QAction* entry =
            window->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(child->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(child == m_mdiArea->currentSubWindow());
        connect(entry, &QAction::triggered, child,
                [this, child] { m_mdiArea->setActiveSubWindow(child); });
    }
}

void mdiMain::createToolBar()
{
    m_tbrMain = new QToolBar(QStringLiteral("Toolbar"), this);
    m_tbrMain->setObjectName(QStringLiteral("tbrMain"));
    m_tbrMain->setMovable(false);
    m_tbrMain->setFloatable(false);
    m_tbrMain->setIconSize(QSize(24, 24));
    m_tbrMain->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_tbrMain);

    const auto slots = tovren::toolbar();
    for (size_t i = 0; i < slots.size(); ++i) {
        auto* button = new tovren::TbrButton(int(i) + 1, slots[i], m_tbrMain);
        if (slots[i].kind == tovren::ToolbarSlot::Kind::Button) {
            button->setIcon(imageIcon(tovren::command(slots[i].command).image));
            m_commandButtons[size_t(slots[i].command)] = button;
        }
        // Like their menu items, the commands wait for a card; only Exit works.
        button->setEnabled(slots[i].kind != tovren::ToolbarSlot::Kind::Button
                           || slots[i].command == tovren::Cmd::Exit);
        m_tbrMain->addWidget(button);
        m_buttons << button;
        connect(button, &QToolButton::clicked, this,
                [this, button] { tbrMain_ButtonClick(button); });
    }

    // On a narrow screen the buttons that do not fit wait behind this one.
    if (auto* more = m_tbrMain->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More buttons"));

    auto* spacer = new QWidget(m_tbrMain);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_tbrMain->addWidget(spacer);

    // Picture1 holds the record counter at the right end of the bar.
    auto* picture = new QFrame(m_tbrMain);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setFrameShape(QFrame::StyledPanel);
    picture->setFrameShadow(QFrame::Sunken);
    picture->setMinimumWidth(110);
    auto* layout = new QHBoxLayout(picture);
    layout->setContentsMargins(8, 2, 8, 2);
    m_lblRecCount = new QLabel(picture);
    m_lblRecCount->setObjectName(QStringLiteral("lblRecCount"));
    m_lblRecCount->setAlignment(Qt::AlignCenter);
    m_lblRecCount->setAccessibleDescription(QStringLiteral("Record"));
    QFont font(QStringLiteral("Garamond"), 12);
    font.setBold(true);
    m_lblRecCount->setFont(font);
    layout->addWidget(m_lblRecCount);
    m_tbrMain->addWidget(picture);
}

QAction* mdiMain::menuItem(const QString& name) const
{
    return m_menuItems.value(name);
}

QAction* mdiMain::menuItem(tovren::Cmd command) const
{
    return m_commandItems[size_t(command)];
}

QMenu* mdiMain::menu(const QString& name) const
{
    return m_menus.value(name);
}

QMenu* mdiMain::popupMenu() const
{
    return m_menus.value(QStringLiteral("mnuEditMenu"));
}

bool mdiMain::isMenuShortcut(const QKeySequence& keys) const
{
    for (int c = 0; c < tovren::kCmdCount; ++c) {
        const QAction* item = m_commandItems[size_t(c)];
        if (m_itemRouted[size_t(c)] && item->isEnabled() && item->shortcut() == keys)
            return true;
    }
    return false;
}

void mdiMain::announce(const QString& text)
{
    m_announcer->say(text);
}

void mdiMain::setRecordCounter(const QString& text)
{
    m_lblRecCount->setText(text);
}

tovren::TbrButton* mdiMain::button(int index) const
{
    return index >= 1 && index <= m_buttons.size() ? m_buttons[index - 1] : nullptr;
}

tovren::TbrButton* mdiMain::button(tovren::Cmd command) const
{
    return m_commandButtons[size_t(command)];
}

tovren::TbrButton* mdiMain::buttonByKey(const QString& key) const
{
    const std::optional<tovren::Cmd> command = tovren::commandOfKey(key);
    return command ? button(*command) : nullptr;
}

void mdiMain::childActivated(QMdiSubWindow* child)
{
    // Losing the focus to another program or a dialog is no change of card.
    if (!child || child == m_activeChild)
        return;
    // The child's own Close item answers Ctrl+F4 only while the focus is
    // inside it, and would make the frame's key ambiguous: the frame's key
    // is the one that closes.
    if (QMenu* system = child->systemMenu()) {
        for (QAction* item : system->actions()) {
            if (item->shortcuts().contains(kCloseChildKeys))
                item->setShortcuts({});
        }
    }
    if (m_activeChild) {
        if (auto* previous = dynamic_cast<tovren::ChildWindow*>(m_activeChild->widget()))
            previous->Form_Deactivate();
    }
    m_activeChild = child;
    if (auto* window = dynamic_cast<tovren::ChildWindow*>(child->widget()))
        window->Form_Activate();
}

QWidget* mdiMain::ActiveForm() const
{
    QMdiSubWindow* child = m_mdiArea->currentSubWindow();
    return child ? child->widget() : nullptr;
}

void mdiMain::showChild(QWidget* child)
{
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (window->widget() == child) {
            m_mdiArea->setActiveSubWindow(window);
            return;
        }
    }
    QMdiSubWindow* window = m_mdiArea->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(windowIcon());
    // A child larger than the area (a large font) fits it and scrolls.
    window->resize(window->sizeHint().boundedTo(m_mdiArea->viewport()->size()));
    window->show();
}

void mdiMain::route(tovren::Cmd command, const std::function<void()>& action)
{
    if (m_commandItems[size_t(command)])
        routeItem(command, action);
    if (m_commandButtons[size_t(command)])
        routeButton(command, action);
}

void mdiMain::routeItem(tovren::Cmd command, std::function<void()> action)
{
    m_itemRouted[size_t(command)] = true;
    connect(m_commandItems[size_t(command)], &QAction::triggered, this,
            [action = std::move(action)] { action(); });
}

void mdiMain::routeButton(tovren::Cmd command, std::function<void()> action)
{
    m_buttonRoutes[size_t(command)] = std::move(action);
}

bool mdiMain::isRouted(tovren::Cmd command) const
{
    return m_itemRouted[size_t(command)] || bool(m_buttonRoutes[size_t(command)]);
}

void mdiMain::tbrMain_ButtonClick(tovren::TbrButton* button)
{
    tovren::traced("mdiMain.tbrMain_ButtonClick",
                   {{"Button", "MSComctlLib.Button", tovren::objectArg(button)}}, [&] {
                       // A key that names no command (the blank buttons) does nothing.
                       const std::optional<tovren::Cmd> command =
                           tovren::commandOfKey(button->key());
                       if (command && m_buttonRoutes[size_t(*command)])
                           m_buttonRoutes[size_t(*command)]();
                   });
}
