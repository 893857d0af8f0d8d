// The main window as it starts: menus, toolbar, counter, status bar, routes.

#include "shell_fixture.h"

#include "platform/help.h"
#include "shell/status_panels.h"
#include "support/recording_desktop.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

#include <map>

namespace {

class MainWindow : public ShellTest {};

// The table of commands, as the frame built it: each command stands in the
// menus or on the toolbar (or both) exactly once, with what it declares,
// starts enabled as declared, and has a route exactly when it says it does
// something. Only the commands that need no card start enabled.
TEST_F(MainWindow, EveryCommandStandsOnceAndStartsAsDeclared)
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
            EXPECT_EQ(item->isEnabled(), command.enabledAtStart); // before any card opens
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

    QAction* line = main.menuItem(QStringLiteral("mnuSep10"));
    EXPECT_TRUE(line->isSeparator() && line->text().isEmpty()); // a line, not a "-"
    // The combos' pop-up menu has Edit as its bold default.
    EXPECT_TRUE(main.menuItem(tovren::Cmd::PopupEdit)->font().bold());
    // Only Exit works on the toolbar, besides its blank buttons.
    for (int i = 1; i <= main.buttonCount(); ++i) {
        tovren::TbrButton* button = main.button(i);
        EXPECT_EQ(button->isEnabled(),
                  button->key().isEmpty() || button == main.button(tovren::Cmd::Exit));
    }
    EXPECT_TRUE(main.lblRecCount()->text().isEmpty() && main.lblRecCount()->font().bold());
    QStringList panels;
    for (int i = 2; i <= 6; ++i)
        panels << main.stbMain()->panel(i)->text();
    EXPECT_EQ(panels.mid(0, 3).join(' '), "INS CAPS NUM");
    EXPECT_FALSE(panels[3].isEmpty() || panels[4].isEmpty()); // the date and the time
    EXPECT_TRUE(main.tmrTbr()->isActive());
}

TEST_F(MainWindow, HelpAboutAndSupport)
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
    EXPECT_EQ(help->windowTitle(), "Tovren Help");
    EXPECT_TRUE(platform::showHelp(23));
    help->close();
    platform::setHelpFile(home("missing.html"));
    m_prompts.answerMessage(platform::Answer::OK);
    EXPECT_FALSE(platform::showHelp(2));
    EXPECT_TRUE(lastMessage().contains("missing.html"));

    testing_support::RecordingDesktop desktop;
    m_prompts.handleModal([this](QDialog& about) {
        EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(), "Version " TOVREN_VERSION);
        EXPECT_EQ(about.findChild<QLabel*>("lblFolders")->text(),
                  "Address.ini, TND.dbx and the logs are in " + home());
        about.accept();
    });
    main.menuItem(QStringLiteral("mnuAbout"))->trigger();
    main.menuItem(QStringLiteral("mnuSupport"))->trigger();
    ASSERT_EQ(desktop.urls.size(), 1u);
    EXPECT_EQ(desktop.urls[0].scheme(), "mailto");
    EXPECT_TRUE(desktop.urls[0].toString().contains('@'));
}

} // namespace
