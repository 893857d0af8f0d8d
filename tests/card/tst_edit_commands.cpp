// The Edit menu, the clipboard buttons, the timer that offers them and the
// combos' pop-up menu on the real card and the real clipboard.

#include "card_fixture.h"

#include "card/edit_commands.h"
#include "records/frmlookup.h"

#include <QClipboard>
#include <QMdiArea>
#include <QPushButton>

namespace {

using namespace modGenProcedures;
using platform::Answer;

class EditCommands : public CardTest {
protected:
    void SetUp() override { setClipboard("from the clipboard"); }
    static void setClipboard(const QString& text) { QApplication::clipboard()->setText(text); }
    static QString clipboard() { return QApplication::clipboard()->text(); }
    const QString smile = QStringLiteral("\U0001F600");
};

// Cut, Copy, Paste and Delete act on the focused text control only; a
// paste takes one line within the field's limit and says when it is cut.
TEST_F(EditCommands, CutCopyPasteAndDeleteOnATextField)
{
    frmAddress& card = openCard({"Ada Lovelace"});
    card.cmdDt[0]->setFocus();
    Paste(); // a button takes no paste
    QLineEdit* name = card.txtFld[0];
    name->setFocus();
    const std::tuple<int, int, void (*)(), const char*, const char*> steps[] = {
        // selected from, length, command, what is shown and on the clipboard after
        {0, 0, Cut, "Ada Lovelace 1 / 1", "from the clipboard"}, // nothing selected
        {0, 3, Copy, "Ada Lovelace 1 / 1", "Ada"},               // a copy is no change
        {4, 8, Cut, "Ada  1 / 1 changed", "Lovelace"},
        {0, 0, Paste, "LovelaceAda  1 / 1 changed", "Lovelace"},
        {0, 8, EditDel, "Ada  1 / 1 changed", "Lovelace"},
    };
    for (const auto& [from, length, command, after, clipboarded] : steps) {
        name->setSelection(from, length);
        command();
        EXPECT_EQ(shown(), after);
        EXPECT_EQ(clipboard(), clipboarded);
    }

    setClipboard("first line\r\nsecond line\n" + QString(60, 'z'));
    name->selectAll();
    m_prompts.answerMessage(Answer::OK);
    Paste();
    EXPECT_EQ(m_prompts.messages().back().title, "Paste");
    EXPECT_TRUE(lastMessage().contains("40 characters"));
    EXPECT_EQ(clipboard().size(), 84); // nothing lost
    EXPECT_EQ(name->text(), "first line second line " + QString(17, 'z'));

    card.txtDt[0]->setFocus(); // a date box is a text control too
    setClipboard("2024-02-29");
    Paste();
    EXPECT_EQ(card.txtDt[0]->text(), "2024-02-29");
}

// The card's fields hold one line of at most so many whole characters: one
// beyond the basic plane counts as one and is never cut in half; what goes
// beyond is cut from what was just put in. Emoji at the limit are stored.
TEST_F(EditCommands, FieldsKeepTheirLimitInWholeCharacters)
{
    frmAddress& card = openCard({"Ada"});
    QLineEdit* pin = card.txtFld[6]; // seven characters
    const std::tuple<QString, int, QString, QString> rows[] = {
        // before, cursor, inserted, after
        {"", 0, smile.repeated(9), smile.repeated(7)},
        {"12345", 2, smile.repeated(3), "12" + smile.repeated(2) + "345"},
        {"123456", 6, "ab", "123456a"},
        {"1", 1, "2\r\n3\t\a" + QStringLiteral("4") + QChar(0xD83D), "12 3 4"},
        {"123456789", 0, "", "1234567"},
    };
    for (const auto& [before, cursor, inserted, after] : rows) {
        pin->setText(before);
        pin->setCursorPosition(cursor);
        pin->insert(inserted);
        EXPECT_EQ(pin->text(), after) << after.toStdString();
    }

    QLineEdit* address3 = card.txtFld[4]; // thirty-five characters
    address3->setFocus();
    setClipboard(smile.repeated(40));
    m_prompts.answerMessage(Answer::OK);
    Paste();
    EXPECT_TRUE(lastMessage().contains("35 characters"));
    EXPECT_EQ(address3->text(), smile.repeated(35));
    // Typing at the limit adds nothing, not even half a character.
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, smile);
    QApplication::sendEvent(address3, &typed);
    EXPECT_EQ(address3->text(), smile.repeated(35));
    trigger("mnuSave");
    closeBox();
    EXPECT_EQ(frmAddress::open()->txtFld[4]->text(), smile.repeated(35));
}

// Undo takes back the last change of the focused field or combo, and again
// brings it back; a combo never focused goes back to empty. Select All
// selects a combo's text only, and Copy takes it.
TEST_F(EditCommands, UndoSelectAllAndCopyOnFieldsAndCombos)
{
    frmAddress& card = openCard({"Ada"});
    type(card.txtFld[5], "x", true);
    for (const char* city : {"Pune", "Punex"}) {
        trigger("mnuUndo");
        EXPECT_EQ(card.txtFld[5]->text(), city);
    }
    EXPECT_TRUE(card.bEdit()); // Undo itself changes nothing about bEdit

    widgets::DataCombo* religion = card.dbcFld[1];
    religion->setFocus(); // the undo buffer takes the value first seen
    const QString before = religion->Text();
    religion->setBoundText("3");
    const QString chosen = religion->Text();
    ASSERT_NE(before, chosen);
    for (const QString& expected : {before, chosen}) {
        trigger("mnuEditUndo");
        EXPECT_EQ(religion->Text(), expected);
    }
    card.dbcFld_Undo(0);
    EXPECT_TRUE(card.dbcFld[0]->Text().isEmpty());

    for (QLineEdit* text : {card.txtFld[0], religion->lineEdit()}) {
        text->setFocus();
        text->deselect();
        EditSelAll();
    }
    EXPECT_FALSE(card.txtFld[0]->hasSelectedText());
    EXPECT_EQ(religion->lineEdit()->selectedText(), chosen);
    trigger("mnuEditCopy");
    EXPECT_EQ(clipboard(), chosen);
}

TEST_F(EditCommands, PopUpAddPutsTheNewEntryInTheCombo)
{
    frmAddress& card = openCard({"Ada"});
    nLookUpIdx = 0;
    m_prompts.handleModal([](QDialog& edit) {
        edit.findChild<QLineEdit*>("txtFld_0")->setText("Sir");
        edit.findChild<QPushButton*>("cmdOk")->click();
    });
    m_prompts.handleModal([](QDialog& list) { list.findChild<QPushButton*>("cmdOk")->click(); });
    trigger("mnuEditAdd");
    card.dbcFld[0]->setText("Sir");
    EXPECT_FALSE(card.dbcFld[0]->BoundText().isEmpty()); // listed at once
    EXPECT_EQ(sql("SELECT COUNT(*) FROM Salutation WHERE Salutation = 'Sir'"), QStringList{"1"});

    // A double click on the religion combo opens its list for browsing.
    QString browsed;
    m_prompts.handleModal([&browsed](QDialog& list) {
        browsed = list.findChild<QLabel*>("lblLookUps")->text();
        list.findChild<QPushButton*>("cmdCancel")->click();
    });
    QTest::mouseDClick(card.dbcFld[1]->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(browsed, "LookUp for Religion");
    EXPECT_EQ(nLookUpIdx, 1);
}

// The toolbar's timer offers Cut and Copy for a selection and Paste for
// text on the clipboard; a combo or a button leaves Cut and Copy as they
// were, and with no card open nothing is offered.
TEST_F(EditCommands, TheTimerFollowsTheClipboardAndTheSelection)
{
    const QString all =
        "Cut Copy Paste mnuCut mnuCopy mnuEditCut mnuEditCopy mnuPaste mnuEditPaste";
    frmAddress& card = openCard({"Ada Lovelace"});
    QLineEdit* name = card.txtFld[0];
    name->setFocus();
    const std::tuple<const char*, int, QString> steps[] = {
        // on the clipboard, characters selected, enabled afterwards
        {"to paste", 3, all},
        {"", 0, "Paste mnuPaste mnuEditPaste"}, // an open card never loses Paste to the timer
    };
    for (const auto& [text, selected, enabled] : steps) {
        *text ? setClipboard(text) : QApplication::clipboard()->clear();
        name->setSelection(0, selected);
        m_main->tmrTbr_Timer();
        EXPECT_EQ(enabledOf(all), enabled) << text;
    }
    name->setSelection(0, 2);
    m_main->tmrTbr_Timer();
    name->deselect();
    for (QWidget* other : std::initializer_list<QWidget*>{card.dbcFld[1], card.cmdDt[0]}) {
        other->setFocus();
        m_main->tmrTbr_Timer();
        EXPECT_EQ(enabledOf("Cut Copy"), "Cut Copy") << other->metaObject()->className();
    }
    closeBox();
    EXPECT_TRUE(m_main->mdiArea()->subWindowList().isEmpty());
    m_main->tmrTbr_Timer();
    EXPECT_EQ(enabledOf(all), "");
}

} // namespace
