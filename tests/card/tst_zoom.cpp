// The zoom editor on the real card: the focused field in a larger box, its
// limit kept, OK writing back as typing does, Cancel and an empty text
// leaving the field alone.

#include "card_fixture.h"

#include "card/frmzoom.h"

#include <QPushButton>
#include <QTextEdit>

namespace {

using platform::Answer;

class Zoom : public CardTest {
protected:
    // Zooms the focused field; `edit` works the dialog, shown as it shows.
    void zoom(const std::function<void(frmZoom&)>& edit)
    {
        m_prompts.handleModal([edit](QDialog& dialog) {
            auto& zoom = static_cast<frmZoom&>(dialog);
            zoom.show();
            edit(zoom);
        });
        trigger("mnuZoom");
    }
};

TEST_F(Zoom, EditsTheFocusedFieldWithinItsLimitAndMarksTheRecord)
{
    frmAddress& card = openCard({"Ada"});
    QLineEdit* address1 = card.txtFld[2];
    address1->setText("12 Long Road");
    address1->setFocus();
    QString title, selected;
    zoom([&](frmZoom& dialog) {
        title = dialog.windowTitle();
        selected = dialog.rtxZoom->textCursor().selectedText();
        // Typed at the start past the field's 35 characters: what was typed
        // is cut, what was there stays.
        QTextCursor start = dialog.rtxZoom->textCursor();
        start.setPosition(0);
        start.insertText(QString(40, 'x'));
        dialog.cmdOk->click();
    });
    EXPECT_EQ(title, "Zooming Address1");
    EXPECT_EQ(selected, "12 Long Road");
    EXPECT_EQ(address1->text(), QString(23, 'x') + "12 Long Road");
    EXPECT_EQ(shown(), "Ada 1 / 1 changed");
    EXPECT_EQ(enabledOf("Save Cancel mnuSave"), "Save Cancel mnuSave");
    trigger("mnuSave");
    EXPECT_EQ(sql("SELECT Address1 FROM Address"), QStringList{address1->text()});
}

TEST_F(Zoom, CancelAnEmptyTextOrNoFieldLeaveTheCardAlone)
{
    frmAddress& card = openCard({"Ada"});
    QLineEdit* name = card.txtFld[0];
    name->setFocus();
    zoom([](frmZoom& dialog) {
        dialog.rtxZoom->setPlainText("Bo");
        dialog.cmdCancel->click();
    });
    zoom([](frmZoom& dialog) {
        dialog.rtxZoom->clear();
        dialog.cmdOk->click();
    });
    EXPECT_EQ(shown(), "Ada 1 / 1");

    // A combo's shown text has no limit, and lines become one.
    card.dbcFld[0]->setFocus();
    zoom([](frmZoom& dialog) {
        dialog.rtxZoom->setPlainText(QString(40, 'M') + "\nr.");
        dialog.cmdOk->click();
    });
    EXPECT_EQ(card.dbcFld[0]->Text(), QString(40, 'M') + " r.");

    card.cmdDt[0]->setFocus();
    trigger("mnuZoom", {Answer::OK});
    EXPECT_EQ(lastMessage(), "Put the cursor in the field to zoom, then zoom again.");
}

} // namespace
