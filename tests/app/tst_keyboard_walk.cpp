// A person who uses no mouse: every step below is a key sent to whatever has
// the focus (the open menu, else the focused control, else the active
// window), never a click and never a field set from outside, and the book
// ends as the keys said.

#include "card/card_fixture.h"
#include "support/recording_desktop.h"
#include "support/scoped_env.h"

#include <QDir>
#include <QUrl>

namespace {

using platform::Answer;

class KeyboardWalk : public CardTest {
protected:
    KeyboardWalk() { QDir(home()).mkdir("home"); }

    // Where the next key goes. Offscreen no window manager gives the focus
    // back to the main window when a menu or a dialog closes: done here.
    QWidget* target()
    {
        QApplication::processEvents();
        if (QWidget* menu = QApplication::activePopupWidget())
            return menu;
        if (!QApplication::activeWindow()) {
            m_main->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(m_main.get()));
        }
        return QApplication::focusWidget() ? QApplication::focusWidget()
                                           : QApplication::activeWindow();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(target(), key, modifiers);
    }
    void typeKeys(const QString& text)
    {
        for (const QChar c : text)
            QTest::keyClick(target(), c.toLatin1());
    }
    // Tab until `control` has the focus; false when Tab never gets there.
    bool tabTo(const QWidget* control)
    {
        for (int tabs = 0; tabs < 40 && target() != control; ++tabs)
            press(Qt::Key_Tab);
        return target() == control;
    }
    // The next modal window answered by typing `text` into it and Enter.
    void answerByKeys(const QString& text)
    {
        m_prompts.handleModal([this, text](QDialog& dialog) {
            dialog.show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            press(Qt::Key_A, Qt::ControlModifier);
            typeKeys(text);
            press(Qt::Key_Return);
            EXPECT_EQ(dialog.result(), QDialog::Accepted) << dialog.objectName().toStdString();
        });
    }

    const testing_support::ScopedEnv m_homeFolder{"HOME", QFile::encodeName(home("home"))};
    testing_support::RecordingDesktop m_desktop;
};

TEST_F(KeyboardWalk, AddFindFilterSaveDeleteAndPrintByKeysAlone)
{
    addDatabase();
    for (const char* name : {"Ada Rao", "Bo Sen"})
        sql("INSERT INTO Address (Name, Company, City, SalutationId, ReligionId) "
            "VALUES (?, 'Rao Ltd', 'Pune', 1, 1)",
            {name});
    start().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_main.get()));

    // Masters, Addresses opens the card on the first contact.
    press(Qt::Key_M, Qt::AltModifier);
    press(Qt::Key_A);
    ASSERT_NE(frmAddress::instance(), nullptr);
    frmAddress& card = *frmAddress::instance();
    EXPECT_EQ(shown(), "Ada Rao 1 / 2");

    // A new contact, its pick-list values typed as they read.
    press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(card.dbcFld[0]));
    typeKeys("Mr.");
    ASSERT_TRUE(tabTo(card.txtFld[0]));
    typeKeys("Dee Kay");
    press(Qt::Key_Tab);
    typeKeys("Kay Ltd");
    ASSERT_TRUE(tabTo(card.dbcFld[1]));
    typeKeys("Hindu");
    press(Qt::Key_Tab);
    typeKeys("15 Aug 1947");
    // A date picked from the calendar: the day after the one typed.
    ASSERT_TRUE(tabTo(card.txtDt[2]));
    typeKeys("2020-01-01");
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    press(Qt::Key_Right);
    press(Qt::Key_Return);
    ASSERT_TRUE(tabTo(card.txtFld[5]));
    typeKeys("Goa");
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Dee Kay 3 / 3");
    EXPECT_EQ(sql("SELECT DtBirth || '|' || DtJoining FROM Address WHERE City = 'Goa'"),
              QStringList{"1947-08-15|2020-01-02"});

    // Found by its name from the first contact, and again from the contacts
    // list by a word of its company; then changed and saved.
    press(Qt::Key_F12, Qt::ShiftModifier);
    ASSERT_TRUE(tabTo(card.txtFld[0]));
    answerByKeys("dee*");
    press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Dee Kay 3 / 3");
    press(Qt::Key_F12, Qt::ShiftModifier);
    press(Qt::Key_L, Qt::ControlModifier);
    press(Qt::Key_S, Qt::AltModifier);
    typeKeys("kay");
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_EQ(shown(), "Dee Kay 3 / 3");
    ASSERT_TRUE(tabTo(card.txtFld[15]));
    typeKeys("98200 12345");
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(sql("SELECT Name || '|' || SalutationId || '|' || ReligionId || '|' || PhCell "
                  "FROM Address WHERE City = 'Goa'"),
              QStringList{"Dee Kay|1|1|98200 12345"});

    // Filtered by form to Goa, and its labels printed from the File menu.
    press(Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(card.txtFld[5]));
    typeKeys("goa");
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Dee Kay 1 / 1");
    press(Qt::Key_F, Qt::AltModifier);
    press(Qt::Key_P);
    const QString labels = home("home/TNLabels.odt");
    EXPECT_EQ(m_desktop.urls, std::vector<QUrl>{QUrl::fromLocalFile(labels)});
    EXPECT_TRUE(QFile::exists(labels));

    // All the contacts again, and the new one deleted once confirmed.
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Dee Kay 3 / 3");
    m_prompts.answerMessage(Answer::Yes);
    press(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(stored(), QStringList({"Ada Rao|Rao Ltd|Pune", "Bo Sen|Rao Ltd|Pune"}));
    EXPECT_EQ(m_prompts.messages().size(), 1u);
}

} // namespace
