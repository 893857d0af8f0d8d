#include "mdimain.h"

#include "menu_table.h"
#include "routes.h"
#include "status_panels.h"
#include "toolbar_button.h"

#include "card/frmaddress.h"
#include "core/traced.h"
#include "platform/help.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>

namespace {
mdiMain* g_instance = nullptr;
const QKeySequence kCloseChildKeys(Qt::CTRL | Qt::Key_F4);
} // namespace

mdiMain::mdiMain(QWidget* parent) : QMainWindow(parent)
{
    Q_INIT_RESOURCE(icons);
    g_instance = this;
    setObjectName(QStringLiteral("mdiMain"));
    setWindowTitle(QStringLiteral("Tovren"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tovren.svg")));
    resize(1180, 760);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &mdiMain::childActivated);

    createMenus();
    createToolBar();
    m_stbMain = new tovren::StatusPanels(this);
    setStatusBar(m_stbMain);

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

    tovren::installRoutes(*this);
}

mdiMain::~mdiMain()
{
    if (g_instance == this)
        g_instance = nullptr;
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
    QMenu* current = nullptr;
    for (int i = 0; i < tovren::kMenuRowCount; ++i) {
        const tovren::MenuRow& row = tovren::kMenuRows[i];
        const QString name = QString::fromLatin1(row.name);
        if (row.depth == 0) {
            current = new QMenu(QString::fromLatin1(row.caption), this);
            current->setObjectName(name);
            current->menuAction()->setObjectName(name);
            current->menuAction()->setEnabled(row.enabled);
            if (row.visible)
                menuBar()->addMenu(current);
            m_menus.insert(name, current);
            m_menuItems.insert(name, current->menuAction());
            continue;
        }
        // A "-" caption is a separator line, never a text.
        QAction* item = qstrcmp(row.caption, "-") == 0
                            ? current->addSeparator()
                            : current->addAction(QString::fromLatin1(row.caption));
        item->setObjectName(name);
        item->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        item->setEnabled(row.enabled);
        item->setVisible(row.visible);
        m_menuItems.insert(name, item);
    }
    // The pop-up menu of the lookup combos opens with its Edit item as the default.
    QFont bold = m_menuItems.value(QStringLiteral("mnuEditEdit"))->font();
    bold.setBold(true);
    m_menuItems.value(QStringLiteral("mnuEditEdit"))->setFont(bold);
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

    for (int i = 0; i < tovren::kToolbarRowCount; ++i) {
        auto* button = new tovren::TbrButton(tovren::kToolbarRows[i], m_tbrMain);
        // Like their menu items, the commands wait for a card; only Exit works.
        button->setEnabled(button->key().isEmpty() || button->key() == QLatin1String("Exit"));
        m_tbrMain->addWidget(button);
        m_buttons << button;
        connect(button, &QToolButton::clicked, this,
                [this, button] { tbrMain_ButtonClick(button); });
    }

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

bool mdiMain::isMenuShortcut(const QKeySequence& keys) const
{
    for (const QString& name : m_routedItems) {
        const QAction* item = m_menuItems.value(name);
        if (item->isEnabled() && item->shortcut() == keys)
            return true;
    }
    return false;
}

QMenu* mdiMain::menu(const QString& name) const
{
    return m_menus.value(name);
}

tovren::TbrButton* mdiMain::button(int index) const
{
    return index >= 1 && index <= m_buttons.size() ? m_buttons[index - 1] : nullptr;
}

tovren::TbrButton* mdiMain::buttonByKey(const QString& key) const
{
    for (tovren::TbrButton* button : m_buttons) {
        if (!key.isEmpty() && button->key() == key)
            return button;
    }
    return nullptr;
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
        if (auto* previous = qobject_cast<frmAddress*>(m_activeChild->widget()))
            previous->Form_Deactivate();
    }
    m_activeChild = child;
    if (auto* card = qobject_cast<frmAddress*>(child->widget()))
        card->Form_Activate();
}

QWidget* mdiMain::ActiveForm() const
{
    QMdiSubWindow* child = m_mdiArea->currentSubWindow();
    return child ? child->widget() : nullptr;
}

void mdiMain::routeMenu(const QString& name, std::function<void()> action)
{
    m_routedItems.insert(name);
    connect(m_menuItems.value(name), &QAction::triggered, this,
            [action = std::move(action)] { action(); });
}

void mdiMain::routeButton(const QString& key, std::function<void()> action)
{
    m_buttonRoutes.append({key, std::move(action)});
}

void mdiMain::tbrMain_ButtonClick(tovren::TbrButton* button)
{
    tovren::traced("mdiMain.tbrMain_ButtonClick",
                   {{"Button", "MSComctlLib.Button", tovren::objectArg(button)}}, [&] {
                       for (const auto& [key, action] : m_buttonRoutes) {
                           if (key == button->key()) {
                               action();
                               break;
                           }
                       }
                   });
}
