// The Edit menu, the clipboard buttons and the combos' pop-up menu on the
// real card and the real clipboard.

#include "card_fixture.h"

#include "card/edit_commands.h"
#include "records/frmlookup.h"

#include <QClipboard>
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
    QLineEdit* name = card.txtFld[0];
    name->setFocus();
    name->deselect();
    Cut(); // nothing selected: nothing happens, also to the clipboard
    EXPECT_EQ(clipboard(), "from the clipboard");
    name->setSelection(0, 3);
    Copy();
    EXPECT_EQ(clipboard(), "Ada");
    trigger("mnuNext"); // a copy is no change: no question
    card.cmdDt[0]->setFocus();
    Paste(); // a button takes no paste
    EXPECT_TRUE(m_prompts.recorded().empty());
    EXPECT_EQ(shown(), "Ada Lovelace 1 / 1");

    name->setFocus();
    name->setSelection(4, 8);
    Cut();
    EXPECT_EQ(clipboard(), "Lovelace");
    EXPECT_EQ(shown(), "Ada  1 / 1 changed");
    name->setCursorPosition(0);
    Paste();
    EXPECT_EQ(name->text(), "LovelaceAda ");
    name->setSelection(0, 8);
    EditDel();
    EXPECT_EQ(name->text(), "Ada ");

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

// The card's fields hold one line of at most so many whole characters:
// characters beyond the basic plane count as one and are never cut in
// half; what goes beyond is cut from what was just put in, or set. Emoji
// pasted at a field's limit are stored, read back and can be deleted.
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
    pin->setText(QString());

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
    frmAddress* again = frmAddress::open();
    QApplication::processEvents();
    EXPECT_EQ(again->txtFld[4]->text(), smile.repeated(35));
    trigger("mnuDel", {Answer::Yes});
    EXPECT_EQ(counter(), "No Records");
    EXPECT_TRUE(stored().isEmpty());
}

// Undo takes back the last change of the focused text field or combo, and
// again brings it back; a combo never focused goes back to empty. Select
// All selects a combo's text only, and Copy takes it.
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

} // namespace
