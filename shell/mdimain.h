#pragma once
// mdiMain: the frame of Tovren. It carries the menu bar, the toolbar with
// the record counter, the status bar and the card windows; every menu item
// and toolbar button only routes to a shared command procedure.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QVector>

#include <functional>

class QAction;
class QKeySequence;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;

namespace tovren {
class StatusPanels;
class TbrButton;
} // namespace tovren

class mdiMain : public QMainWindow {
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

    // Controls by their names.
    QAction* menuItem(const QString& name) const;
    QMenu* menu(const QString& name) const;
    tovren::TbrButton* button(int index) const; // 1 .. buttonCount()
    tovren::TbrButton* buttonByKey(const QString& key) const;
    int buttonCount() const { return int(m_buttons.size()); }
    QLabel* lblRecCount() const { return m_lblRecCount; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    QTimer* tmrTbr() const { return m_tmrTbr; }
    QToolBar* tbrMain() const { return m_tbrMain; }
    tovren::StatusPanels* stbMain() const { return m_stbMain; }

    // Whether `keys` is the shortcut of an enabled menu item that does
    // something: such keys belong to the menus before any field sees them.
    bool isMenuShortcut(const QKeySequence& keys) const;

    // The active card window (the widget of the current child window), or
    // nullptr when no card is open.
    QWidget* ActiveForm() const;

    // Routing: what a menu item or a toolbar key does.
    void routeMenu(const QString& name, std::function<void()> action);
    void routeButton(const QString& key, std::function<void()> action);

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
    tovren::StatusPanels* m_stbMain = nullptr;
    QTimer* m_tmrTbr = nullptr;
    QHash<QString, QAction*> m_menuItems;
    QSet<QString> m_routedItems;
    QHash<QString, QMenu*> m_menus;
    QVector<tovren::TbrButton*> m_buttons;
    QVector<std::pair<QString, std::function<void()>>> m_buttonRoutes;
    QPointer<QMdiSubWindow> m_activeChild;
    bool m_clipboardHasText = false;
};
