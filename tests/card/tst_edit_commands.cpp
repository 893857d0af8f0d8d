// The Edit menu, the clipboard buttons and the combos' pop-up menu on the
// real card and the real clipboard.

#include "card_fixture.h"

#include "records/frmlookup.h"
#include "card/edit_commands.h"

#include <QClipboard>
#include <QDialog>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

namespace {

using namespace modGenProcedures;
using platform::Answer;

class EditCommands : public CardTest {
protected:
    void SetUp() override
    {
        QApplication::clipboard()->setText(QStringLiteral("from the clipboard"));
    }
    QString clipboard() const { return QApplication::clipboard()->text(); }
};

TEST_F(EditCommands, CutCopyPasteAndDeleteOnATextField)
{
    frmAddress& card = openCard({"Ada Lovelace"});
    QLineEdit* name = card.txtFld[0];
    name->setFocus();
    name->deselect();
    Cut(); // nothing selected: nothing happens, also to the clipboard
    EXPECT_EQ(clipboard(), QStringLiteral("from the clipboard"));
    EXPECT_FALSE(card.bEdit());

    name->setSelection(0, 3);
    Copy();
    EXPECT_EQ(clipboard(), QStringLiteral("Ada"));
    EXPECT_FALSE(card.bEdit());
    trigger("mnuNext"); // a copy is no change: no question
    EXPECT_TRUE(m_prompts.recorded().empty());

    name->setSelection(4, 8);
    Cut();
    EXPECT_EQ(clipboard(), QStringLiteral("Lovelace"));
    EXPECT_EQ(name->text(), QStringLiteral("Ada "));
    EXPECT_TRUE(card.bEdit());

    name->setCursorPosition(0);
    Paste();
    EXPECT_EQ(name->text(), QStringLiteral("LovelaceAda "));
    name->setSelection(0, 8);
    EditDel();
    EXPECT_EQ(name->text(), QStringLiteral("Ada "));

    // A long text with line breaks becomes one line within the field's limit.
    QApplication::clipboard()->setText(QStringLiteral("first line\r\nsecond line\n")
                                       + QString(60, QLatin1Char('z')));
    name->selectAll();
    m_prompts.answerMessage(Answer::OK);
    Paste();
    EXPECT_EQ(m_prompts.messages().back().title, QStringLiteral("Paste"));
    EXPECT_TRUE(m_prompts.messages().back().text.contains(QStringLiteral("40 characters")));
    EXPECT_EQ(clipboard().size(), 84); // nothing lost
    EXPECT_EQ(name->text().size(), 40);
    EXPECT_TRUE(name->text().startsWith(QStringLiteral("first line second line z")));
}

// Characters beyond the basic plane count as one and are never cut in
// half: what is pasted at a field's limit is stored, read back after a
// restart, and can be deleted.
TEST_F(EditCommands, PastedEmojiAreCutWholeAndStayEditable)
{
    const QString smile = QStringLiteral("\U0001F600");
    frmAddress& card = openCard({"Ada"});
    QLineEdit* address3 = card.txtFld[4];
    address3->setFocus();
    QApplication::clipboard()->setText(smile.repeated(40));
    m_prompts.answerMessage(Answer::OK);
    Paste();
    EXPECT_TRUE(m_prompts.messages().back().text.contains(QStringLiteral("35 characters")));
    EXPECT_EQ(address3->text(), smile.repeated(35));
    // Typing at the limit adds nothing, not even half a character.
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, smile);
    QApplication::sendEvent(address3, &typed);
    EXPECT_EQ(address3->text(), smile.repeated(35));
    trigger("mnuSave");

    qobject_cast<QMdiSubWindow*>(card.parentWidget())->close();
    QApplication::processEvents();
    frmAddress* again = frmAddress::open();
    QApplication::processEvents();
    EXPECT_EQ(again->txtFld[4]->text(), smile.repeated(35));
    m_prompts.answerMessage(Answer::Yes);
    trigger("mnuDel");
    EXPECT_EQ(counter(), QStringLiteral("No Records"));
    EXPECT_TRUE(stored().isEmpty());
}

// The card's fields hold one line of at most so many whole characters;
// what goes beyond is cut from what was just put in.
TEST_F(EditCommands, FieldsKeepTheirLimitInWholeCharacters)
{
    const QString smile = QStringLiteral("\U0001F600");
    frmAddress& card = openCard({"Ada"});
    QLineEdit* pin = card.txtFld[6]; // seven characters
    struct Row {
        QString before;
        int cursor;
        QString inserted;
        QString after;
    };
    const Row rows[] = {
        {QString(), 0, smile.repeated(9), smile.repeated(7)},
        {QStringLiteral("12345"), 2, smile.repeated(3),
         QStringLiteral("12") + smile.repeated(2) + QStringLiteral("345")},
        {QStringLiteral("123456"), 6, QStringLiteral("ab"), QStringLiteral("123456a")},
        {QStringLiteral("1"), 1, QStringLiteral("2\r\n3\t4") + QChar(0xD83D),
         QStringLiteral("12 3 4")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.after.toStdString());
        pin->setText(row.before);
        pin->setCursorPosition(row.cursor);
        pin->insert(row.inserted);
        EXPECT_EQ(pin->text(), row.after);
    }
}

TEST_F(EditCommands, UndoIsTheFieldsOwnAndToggles)
{
    frmAddress& card = openCard({"Ada"});
    QLineEdit* city = card.txtFld[5];
    city->setFocus();
    city->end(false);
    QTest::keyClicks(city, QStringLiteral("x"));
    EXPECT_EQ(city->text(), QStringLiteral("Punex"));
    trigger("mnuUndo");
    EXPECT_EQ(city->text(), QStringLiteral("Pune"));
    trigger("mnuUndo"); // again: the change comes back
    EXPECT_EQ(city->text(), QStringLiteral("Punex"));
    EXPECT_TRUE(card.bEdit()); // Undo itself changes nothing about bEdit
}

TEST_F(EditCommands, SelectAllAndUndoOnACombo)
{
    frmAddress& card = openCard({"Ada"});
    card.txtFld[0]->setFocus();
    card.txtFld[0]->deselect();
    EditSelAll(); // only a combo's text is selected by it
    EXPECT_FALSE(card.txtFld[0]->hasSelectedText());

    card.dbcFld[1]->setFocus();
    card.dbcFld[1]->lineEdit()->deselect();
    EditSelAll();
    EXPECT_EQ(card.dbcFld[1]->lineEdit()->selectedText(), card.dbcFld[1]->Text());
    const QString before = card.dbcFld[1]->Text();
    card.dbcFld[1]->setBoundText(QStringLiteral("4"));
    trigger("mnuEditUndo");
    EXPECT_EQ(card.dbcFld[1]->Text(), before);

    // Copy from a combo puts its selected text on the clipboard.
    card.dbcFld[1]->lineEdit()->selectAll();
    trigger("mnuEditCopy");
    EXPECT_EQ(clipboard(), before);
}

TEST_F(EditCommands, PasteIntoAnEmptyBookDoesNothing)
{
    frmAddress& empty = openCard();
    empty.txtFld[0]->setFocus();
    Paste();
    EXPECT_TRUE(empty.txtFld[0]->text().isEmpty());
    EXPECT_FALSE(empty.bEdit());
}

TEST_F(EditCommands, PasteNeedsATextControl)
{
    frmAddress& card = openCard({"Ada"});
    card.cmdDt[0]->setFocus();
    Paste();
    EXPECT_FALSE(card.bEdit());
    card.txtDt[0]->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("2024-02-29"));
    Paste();
    EXPECT_EQ(card.txtDt[0]->text(), QStringLiteral("2024-02-29"));
    EXPECT_TRUE(card.bEdit());
}

TEST_F(EditCommands, PopUpAddPutsTheNewEntryInTheCombo)
{
    frmAddress& card = openCard({"Ada"});
    nLookUpIdx = 0;
    m_prompts.handleModal([](QDialog& edit) {
        edit.findChild<QLineEdit*>(QStringLiteral("txtFld_0"))->setText(QStringLiteral("Sir"));
        edit.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    });
    m_prompts.handleModal(
        [](QDialog& list) { list.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click(); });
    trigger("mnuEditAdd");
    card.dbcFld[0]->setText(QStringLiteral("Sir"));
    EXPECT_FALSE(card.dbcFld[0]->BoundText().isEmpty()); // listed at once
    auto db =
        data::Connection::open(QStringLiteral("Data Source=") + home(QStringLiteral("TND.dbx")));
    QSqlQuery query(db->database());
    ASSERT_TRUE(
        query.exec(QStringLiteral("SELECT COUNT(*) FROM Salutation WHERE Salutation = 'Sir'")));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 1);

    // A double click on the religion combo opens its list for browsing.
    bool browsed = false;
    m_prompts.handleModal([&browsed](QDialog& list) {
        browsed = list.findChild<QLabel*>(QStringLiteral("lblLookUps"))->text()
                  == QLatin1String("LookUp for Religion");
        list.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    });
    QTest::mouseDClick(card.dbcFld[1]->lineEdit(), Qt::LeftButton);
    EXPECT_TRUE(browsed);
    EXPECT_EQ(nLookUpIdx, 1);
}

} // namespace
