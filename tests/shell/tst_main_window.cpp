// The main window as it starts: menus, toolbar, counter, status bar, routes.

#include "shell_fixture.h"

#include "shell/status_panels.h"
#include "core/toolbar_button.h"
#include "support/recording_desktop.h"

#include "platform/help.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <map>

namespace {

class MainWindow : public ShellTest {};

// The table of commands, as the frame built it: each command stands in the
// menus or on the toolbar (or both) exactly once, with what it declares, and
// has a route exactly when it says it does something.
TEST_F(MainWindow, EveryCommandStandsOnceAndIsRoutedAsDeclared)
{
    mdiMain& main = frame();
    std::map<tovren::Cmd, int> inMenus;
    for (const tovren::MenuEntry& entry : tovren::menuTree()) {
        if (entry.kind == tovren::MenuEntry::Kind::Item)
            ++inMenus[entry.command];
    }
    std::map<tovren::Cmd, int> onToolbar;
    for (const tovren::ToolbarSlot& slot : tovren::toolbar()) {
        if (slot.kind == tovren::ToolbarSlot::Kind::Button)
            ++onToolbar[slot.command];
    }
    for (const tovren::Command& command : tovren::commands()) {
        SCOPED_TRACE(std::string(command.item) + command.key);
        EXPECT_EQ(inMenus[command.id], *command.item ? 1 : 0);
        EXPECT_EQ(onToolbar[command.id], *command.key ? 1 : 0);
        if (QAction* item = main.menuItem(command.id)) {
            EXPECT_EQ(item->objectName(), QLatin1String(command.item));
            EXPECT_EQ(item->shortcut(), QKeySequence(QString::fromLatin1(command.shortcut)));
        }
        if (tovren::TbrButton* button = main.button(command.id)) {
            EXPECT_EQ(button->key(), QLatin1String(command.key));
            EXPECT_FALSE(button->icon().isNull());
        }
        EXPECT_EQ(main.isRouted(command.id), command.routed);
        if (command.follows) {
            EXPECT_NE(main.button(*command.follows), nullptr);
        }
    }
    for (int g = 0; g < tovren::kGroupCount; ++g) {
        const auto members = std::count_if(
            tovren::commands().begin(), tovren::commands().end(),
            [g](const tovren::Command& c) { return c.groups & tovren::bit(tovren::Group(g)); });
        EXPECT_GT(members, 0) << tovren::groupName(tovren::Group(g));
    }
}

TEST_F(MainWindow, StartsWithOnlyTheCommandsThatNeedNoCard)
{
    mdiMain& main = frame();
    QStringList bar;
    for (QAction* action : main.menuBar()->actions())
        bar << action->text();
    EXPECT_EQ(bar,
              (QStringList{"&File", "&Edit", "&View", "&Masters", "&Tools", "&Window", "&Help"}));
    QStringList enabledItems;
    for (const tovren::Command& command : tovren::commands()) {
        if (QAction* item = main.menuItem(command.id); item && item->isEnabled())
            enabledItems << item->objectName();
    }
    EXPECT_EQ(enabledItems, (QStringList{"mnuExit", "mnuAddress", "mnuUtilityCalc", "mnuContents",
                                         "mnuIndex", "mnuSupport", "mnuAbout", "mnuEditAdd",
                                         "mnuEditEdit", "mnuEditUndo", "mnuEditCut", "mnuEditCopy",
                                         "mnuEditPaste", "mnuEditDel", "mnuEditSel"}));
    EXPECT_TRUE(main.menuItem(QStringLiteral("mnuSep10"))->isSeparator());
    EXPECT_TRUE(main.menuItem(QStringLiteral("mnuSep10"))->text().isEmpty()); // a line, not a "-"
    // The combos' pop-up menu is not on the bar; Edit is its bold default.
    EXPECT_TRUE(main.menuItem(tovren::Cmd::PopupEdit)->font().bold());
    EXPECT_EQ(main.popupMenu()->actions().size(), 11);

    // Only Exit works on the toolbar; the blank buttons are blank.
    for (int i = 1; i <= main.buttonCount(); ++i) {
        tovren::TbrButton* button = main.button(i);
        EXPECT_EQ(button->isEnabled(),
                  button->key().isEmpty() || button == main.button(tovren::Cmd::Exit));
    }
    for (int blank = 25; blank <= 29; ++blank) {
        EXPECT_TRUE(main.button(blank)->key().isEmpty());
        EXPECT_TRUE(main.button(blank)->icon().isNull());
    }
    EXPECT_TRUE(main.lblRecCount()->text().isEmpty());
    EXPECT_TRUE(main.lblRecCount()->font().bold());

    tovren::StatusPanels* status = main.stbMain();
    EXPECT_EQ(status->panel(2)->text(), QStringLiteral("INS"));
    EXPECT_EQ(status->panel(3)->text(), QStringLiteral("CAPS"));
    EXPECT_EQ(status->panel(4)->text(), QStringLiteral("NUM"));
    EXPECT_FALSE(status->panel(5)->text().isEmpty());
    EXPECT_FALSE(status->panel(6)->text().isEmpty());
    EXPECT_TRUE(main.tmrTbr()->isActive());
}

TEST_F(MainWindow, ExitWithoutCardEndsAndUnknownKeysDoNothing)
{
    mdiMain& main = frame();
    main.show();
    main.tbrMain_ButtonClick(main.button(26)); // a blank button
    EXPECT_TRUE(main.isVisible());
    main.menuItem(QStringLiteral("mnuExit"))->trigger();
    EXPECT_FALSE(main.isVisible());

    main.show();
    main.button(35)->click();
    EXPECT_FALSE(main.isVisible());
    // The trace shows the toolbar handler announcing itself.
    EXPECT_EQ(tovren::errHandler().ErrNum(), 0);
}

TEST_F(MainWindow, ExitWithACardOpenClosesOnlyTheCard)
{
    mdiMain& main = frame();
    main.show();
    auto* card = new QWidget;
    QMdiSubWindow* child = main.mdiArea()->addSubWindow(card);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->show();
    modGenProcedures::nOpenCards = 1;
    main.menuItem(QStringLiteral("mnuExit"))->trigger();
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
}

TEST_F(MainWindow, HelpKeyOpensTheHelpPage)
{
    mdiMain& main = frame();
    platform::setHelpFile(QStringLiteral(TOVREN_BIN_DIR "/TN.html"));
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_F1);
    QWidget* help = platform::helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Tovren Help"));
    EXPECT_TRUE(platform::showHelp(23));
    help->close();

    platform::setHelpFile(home(QStringLiteral("missing.html")));
    m_prompts.answerMessage(platform::Answer::OK);
    EXPECT_FALSE(platform::showHelp(2));
    EXPECT_TRUE(m_prompts.messages().back().text.contains(QStringLiteral("missing.html")));
}

TEST_F(MainWindow, AboutBoxAndSupportMail)
{
    mdiMain& main = frame();
    testing_support::RecordingDesktop desktop;
    QString version;
    m_prompts.handleModal([&](QDialog& about) {
        version = about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text();
        about.accept();
    });
    main.menuItem(QStringLiteral("mnuAbout"))->trigger();
    EXPECT_EQ(version, QStringLiteral("Version 1.0.0"));

    main.menuItem(QStringLiteral("mnuSupport"))->trigger();
    ASSERT_EQ(desktop.urls.size(), 1u);
    EXPECT_EQ(desktop.urls[0].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(desktop.urls[0].toString().contains(QLatin1Char('@')));
}

} // namespace
