// The main window as it starts: menus, toolbar, counter, status bar, routes.

#include "shell_fixture.h"

#include "shell/menu_table.h"
#include "shell/status_panels.h"
#include "shell/toolbar_button.h"
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

namespace {

class MainWindow : public ShellTest {};

TEST_F(MainWindow, MenuBarCaptionsAndStartingStates)
{
    mdiMain& main = frame();
    QStringList bar;
    for (QAction* action : main.menuBar()->actions())
        bar << action->text();
    EXPECT_EQ(
        bar, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&View"),
                          QStringLiteral("&Masters"), QStringLiteral("&Tools"),
                          QStringLiteral("&Window"), QStringLiteral("&Help")}));

    QStringList enabledItems;
    for (int i = 0; i < tovren::kMenuRowCount; ++i) {
        const tovren::MenuRow& row = tovren::kMenuRows[i];
        QAction* item = main.menuItem(QString::fromLatin1(row.name));
        ASSERT_NE(item, nullptr) << row.name;
        if (row.depth == 1 && !item->isSeparator() && item->isEnabled())
            enabledItems << item->objectName();
        if (!item->isSeparator()) {
            EXPECT_EQ(item->text(), QString::fromLatin1(row.caption));
        }
    }
    EXPECT_EQ(enabledItems,
              (QStringList{QStringLiteral("mnuExit"), QStringLiteral("mnuAddress"),
                           QStringLiteral("mnuUtilityCalc"), QStringLiteral("mnuContents"),
                           QStringLiteral("mnuIndex"), QStringLiteral("mnuSupport"),
                           QStringLiteral("mnuAbout"), QStringLiteral("mnuEditAdd"),
                           QStringLiteral("mnuEditEdit"), QStringLiteral("mnuEditUndo"),
                           QStringLiteral("mnuEditCut"), QStringLiteral("mnuEditCopy"),
                           QStringLiteral("mnuEditPaste"), QStringLiteral("mnuEditDel"),
                           QStringLiteral("mnuEditSel")}));

    EXPECT_EQ(main.menuItem(QStringLiteral("mnuDel"))->shortcut(),
              QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    EXPECT_EQ(main.menuItem(QStringLiteral("mnuFindPrev"))->shortcut(),
              QKeySequence(Qt::SHIFT | Qt::Key_F3));
    EXPECT_EQ(main.menuItem(QStringLiteral("mnuNext"))->shortcut(), QKeySequence(Qt::Key_F11));
    EXPECT_TRUE(main.menuItem(QStringLiteral("mnuSep1"))->isSeparator());
    EXPECT_TRUE(main.menuItem(QStringLiteral("mnuSep10"))->text().isEmpty());   // a line, not a "-"
    // The combos' pop-up menu is not on the bar; Edit is its bold default.
    EXPECT_FALSE(bar.contains(QStringLiteral("EditMenu")));
    EXPECT_TRUE(main.menuItem(QStringLiteral("mnuEditEdit"))->font().bold());
    EXPECT_EQ(main.menu(QStringLiteral("mnuEditMenu"))->actions().size(), 11);
}

TEST_F(MainWindow, ToolbarButtonsCounterAndStatusBar)
{
    mdiMain& main = frame();
    ASSERT_EQ(main.buttonCount(), 35);
    int separators = 0;
    for (int i = 1; i <= 35; ++i) {
        tovren::TbrButton* button = main.button(i);
        EXPECT_EQ(button->index(), i);
        separators += button->isSeparator();
        if (!button->key().isEmpty()) {
            EXPECT_FALSE(button->icon().isNull()) << button->key().toStdString();
        }
    }
    EXPECT_EQ(separators, 9);
    EXPECT_EQ(main.buttonByKey(QStringLiteral("New"))->toolTip(), QStringLiteral("Add New Record"));
    EXPECT_EQ(main.buttonByKey(QStringLiteral("Exit"))->index(), 35);
    EXPECT_EQ(main.buttonByKey(QStringLiteral("Next"))->index(), 30);
    for (int blank = 25; blank <= 29; ++blank) {
        EXPECT_TRUE(main.button(blank)->key().isEmpty());
        EXPECT_TRUE(main.button(blank)->icon().isNull());
    }
    EXPECT_EQ(main.buttonByKey(QString()), nullptr);

    EXPECT_TRUE(main.lblRecCount()->text().isEmpty());
    EXPECT_TRUE(main.lblRecCount()->font().bold());
    EXPECT_EQ(main.lblRecCount()->parentWidget()->objectName(), QStringLiteral("Picture1"));

    tovren::StatusPanels* status = main.stbMain();
    EXPECT_EQ(status->panel(2)->text(), QStringLiteral("INS"));
    EXPECT_EQ(status->panel(3)->text(), QStringLiteral("CAPS"));
    EXPECT_EQ(status->panel(4)->text(), QStringLiteral("NUM"));
    EXPECT_FALSE(status->panel(5)->text().isEmpty());
    EXPECT_FALSE(status->panel(6)->text().isEmpty());
    EXPECT_EQ(status->panel(7), nullptr);

    EXPECT_EQ(main.tmrTbr()->interval(), 100);
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
