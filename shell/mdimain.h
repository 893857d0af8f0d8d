#pragma once
// mdiMain: the frame of Tovren. It carries the menu bar, the toolbar with
// the record counter, the status bar and the card windows; it builds its
// menus and toolbar from the table of commands, and every menu item and
// toolbar button only routes to a shared command procedure. To the card
// and the commands it is the Frame.

#include "core/commands.h"
#include "core/frame.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QVector>

#include <array>
#include <functional>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTimer;
class QToolBar;

namespace tovren {
class Announcer;
class StatusPanels;
} // namespace tovren

class mdiMain : public QMainWindow, public tovren::Frame {
    Q_OBJECT
public:
    explicit mdiMain(QWidget* parent = nullptr);
    ~mdiMain() override;

    // The one main window, or nullptr when none exists.
    static mdiMain* instance();

    // Start-up: the first announcement (which creates the error handler),
    // then configuration and the database connection.
    void MDIForm_Initialize();
    void MDIForm_Load();

    // The frame as the card and the commands see it.
    QWidget* ActiveForm() const override;
    void showChild(QWidget* child) override;
    QAction* menuItem(tovren::Cmd command) const override;
    tovren::TbrButton* button(tovren::Cmd command) const override;
    tovren::TbrButton* button(int index) const override;
    QMenu* popupMenu() const override;
    bool isMenuShortcut(const QKeySequence& keys) const override;
    void setRecordCounter(const QString& text) override;
    void announce(const QString& text) override;

    // Controls by their names: menus, menu items and separators, buttons by key.
    QAction* menuItem(const QString& name) const;
    QMenu* menu(const QString& name) const;
    tovren::TbrButton* buttonByKey(const QString& key) const;
    int buttonCount() const { return int(m_buttons.size()); }
    QLabel* lblRecCount() const { return m_lblRecCount; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    QTimer* tmrTbr() const { return m_tmrTbr; }
    QToolBar* tbrMain() const { return m_tbrMain; }
    tovren::StatusPanels* stbMain() const { return m_stbMain; }

    // Routing: what a command's menu item, button, or both do.
    void route(tovren::Cmd command, const std::function<void()>& action);
    void routeItem(tovren::Cmd command, std::function<void()> action);
    void routeButton(tovren::Cmd command, std::function<void()> action);
    // Whether the command's item or button has a route.
    bool isRouted(tovren::Cmd command) const;

    void tbrMain_ButtonClick(tovren::TbrButton* button);
    void tmrTbr_Timer();
    void mnuUtilityCalc_Click();
    void mnuSupport_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A card that becomes the active child gets its toolbar back; the one
    // it replaces keeps its own.
    void childActivated(QMdiSubWindow* child);
    void watchClipboard();
    void createMenus();
    void createToolBar();
    void fillWindowMenu();

    QMdiArea* m_mdiArea = nullptr;
    QToolBar* m_tbrMain = nullptr;
    QLabel* m_lblRecCount = nullptr;
    tovren::Announcer* m_announcer = nullptr;
    tovren::StatusPanels* m_stbMain = nullptr;
    QTimer* m_tmrTbr = nullptr;
    QHash<QString, QAction*> m_menuItems; // every item, separator and menu, by name
    QHash<QString, QMenu*> m_menus;
    QVector<tovren::TbrButton*> m_buttons;
    std::array<QAction*, tovren::kCmdCount> m_commandItems{};
    std::array<tovren::TbrButton*, tovren::kCmdCount> m_commandButtons{};
    std::array<bool, tovren::kCmdCount> m_itemRouted{};
    std::array<std::function<void()>, tovren::kCmdCount> m_buttonRoutes;
    QPointer<QMdiSubWindow> m_activeChild;
    bool m_clipboardHasText = false;
};
